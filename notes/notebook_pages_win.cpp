// The notebook's pages: the page of the active tab read from its file, shown
// read-only where it has none it can be saved to, and saved when the tab turns.
#include "notes/notebook_window_win.h"

#include <commctrl.h>

#include <optional>
#include <string>

#include "notes/tab_captions.h"
#include "platform/services.h"
#include "settings/code_page.h"
#include "settings/errors.h"
#include "settings/list_file.h"

namespace pendra {

void TfrmPendra::FocusPage() {
  if (IsWindowVisible(Handle())) redtPendra_.SetFocus();
}

std::optional<std::string> TfrmPendra::PageFile() const {
  if (!page_.File()) return std::nullopt;
  return page_.File()->Path();
}

bool TfrmPendra::ShowPageWithoutFile(const std::string& readFrom) {
  page_.Forget();
  bool read = false;
  if (!readFrom.empty() && PathExists(readFrom)) {
    try {
      redtPendra_.LoadText(ReadTextFile(readFrom));
      read = true;
    } catch (const Error&) {
      // Unreadable too: the page stays empty, as for any page without a file.
    }
  }
  if (!read) redtPendra_.SetText("");
  // Nothing typed here could be kept.
  redtPendra_.SetReadOnly(true);
  return read;
}

void TfrmPendra::PageLoad() {
  page_.Forget();
  if (activeTab_ < 0) {  // a tab list without tabs
    ShowPageWithoutFile();
    return;
  }
  // The caption and the folder as the data folder holds them, in UTF-8: a
  // page's file is named in any script.
  const std::string& caption = tabs_[static_cast<std::size_t>(activeTab_)];
  const std::string& folder = Svc().data->Folder();
  const CodePage& codePage = Utf8CodePage();
  const std::optional<std::string> path = PagePath(folder, caption, codePage);
  const CaptionFault fault = CheckTabCaption(folder, caption, codePage);
  if (!path && fault == CaptionFault::TooLong && ShowPageWithoutFile(PageFilePath(folder, caption))) {
    // Made under a shorter folder: its text is there, but no save of it could
    // succeed here.
    Svc().dialogs->ShowMessage(
        "The page of the tab \"" + QuotedCaption(caption, codePage) +
            "\" is shown read-only: its file name is too long to be saved again in this folder. " +
            CaptionFaultReason(fault, folder, codePage) +
            " To keep its text, copy it into another tab and remove this one under Edit Tabs, or move "
            "the Pendra folder to a folder with a shorter path.",
        kAppTitle, MsgIcon::Warning);
    return;
  }
  if (!path) {
    ShowPageWithoutFile();
    Svc().dialogs->ShowMessage(
        "The page of the tab \"" + QuotedCaption(caption, codePage) +
            "\" cannot be stored in a file, so it stays empty. " +
            CaptionFaultReason(fault, folder, codePage) +
            " Remove the tab under Edit Tabs and add it with another name.",
        kAppTitle, MsgIcon::Warning);
    return;
  }
  redtPendra_.SetReadOnly(false);
  DataFile& file = Svc().data->File(path->substr(folder.size()));
  if (!PathExists(*path)) {
    // A new page: its file is made, empty, at once, in the code page. Where
    // it cannot be made the page has no file, as for a name no file can have:
    // every later save would fail as well and hold the user on this tab.
    redtPendra_.LoadText("");
    try {
      Say(page_.Create(file));
    } catch (const Error&) {
      ShowPageWithoutFile();
      // The start said once that nothing can be saved in this folder; a box
      // for each new page would only repeat it.
      if (Svc().programFolderReadOnly) return;
      throw;
    }
    FocusPage();
    return;
  }
  // One stream into the control replaces its text; a file that cannot be
  // read leaves the page empty and without a file, so it is never written
  // over.
  TextLoad load;
  try {
    load = page_.Load(file);
  } catch (const Error&) {
    ShowPageWithoutFile();
    throw;
  }
  if (!load.readOnlyBecause.empty()) {
    // Shown as read, and without a file: its bytes stay as they are.
    page_.Forget();
    Svc().dialogs->ShowMessage("The page of the tab \"" + QuotedCaption(caption, codePage) +
                                   "\" is shown read-only: " + std::string(load.readOnlyBecause) +
                                   ". Its file is left as it is; to edit its text, copy it into another tab.",
                               kAppTitle, MsgIcon::Warning);
    return;
  }
}

void TfrmPendra::PageSave() {
  // A page the user did not change is left as its file holds it, whatever
  // the control would make of its bytes.
  if (page_.File() && redtPendra_.Modified()) Say(page_.Store());
}

bool TfrmPendra::tbcPendraChanging() {
  // A page that cannot be saved keeps its tab, so its text is not lost.
  if (!Guarded([&] { PageSave(); })) return false;
  FocusPage();
  return true;
}

void TfrmPendra::tbcPendraChange() {
  activeTab_ = static_cast<int>(SendMessageA(tbcPendra_, TCM_GETCURSEL, 0, 0));
  PageLoad();
}

}  // namespace pendra
