#include "app/program_folder_win.h"

#include <windows.h>

#include "platform/services.h"
#include "settings/code_page.h"
#include "settings/list_file.h"
#include "settings/wide_text_win.h"

namespace pendra {

bool CanWriteIn(const std::string& folder) {
  const std::string probe = folder + "~Pendra" + std::to_string(GetCurrentProcessId()) + ".tmp";
  const HANDLE file = CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

void CheckProgramFolder() { Svc().programFolderReadOnly = !CanWriteIn(Svc().programFolder); }

void TellReadOnlyProgramFolder() {
  if (!Svc().programFolderReadOnly) return;
  // In the code page: the boxes take UTF-8.
  std::string folder = Utf8FromCodePage(Svc().programFolder);
  if (folder.size() > 3 && folder.back() == '\\') folder.pop_back();
  // The path holds "?" for what the code page lost: no file is there.
  if (!FileExists(Utf8FromCodePage(Svc().exePath))) {
    Svc().dialogs->ShowMessage(
        NotInCodePage("Pendra's folder, " + folder + ",") +
            " Pendra keeps your notes, reminders and lists beside the program, so nothing you change "
            "can be saved. Move the Pendra folder to a folder whose name has only letters of the "
            "system's language, for example C:\\Pendra, and start Pendra from there.",
        kAppTitle, MsgIcon::Warning);
    return;
  }
  Svc().dialogs->ShowMessage(
      "Pendra cannot write to its folder, " + folder +
          ". Pendra keeps your notes, reminders and lists beside the program, so nothing you "
          "change can be saved. Move the Pendra folder to a folder of your own, for example in "
          "your Documents, and start Pendra from there.",
      kAppTitle, MsgIcon::Warning);
}

}  // namespace pendra
