#include "platform/help.h"

#include "settings/code_page.h"
#include "settings/list_file.h"

namespace pendra {

void ShowHelp(NativeWindow owner, HelpTopic topic) {
  const std::string& folder = Svc().programFolder;
  const std::string helpFile = folder + kHelpFileName;
  if (FileExists(Utf8FromCodePage(helpFile))) {
    if (Svc().help) Svc().help->ShowContents(helpFile);
    return;
  }
  std::string target = folder + kGuideFileName;
  if (!FileExists(Utf8FromCodePage(target))) return;
  if (topic == HelpTopic::Notebook) {
    const std::string section = folder + kGuideFolderName + "\\notebook.html";
    if (FileExists(Utf8FromCodePage(section))) target = section;
  }
  if (Svc().shell) Svc().shell->Open(owner, target);
}

}  // namespace pendra
