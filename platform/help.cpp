#include "platform/help.h"

#include "settings/list_file.h"

namespace pendra {

void ShowHelp(NativeWindow owner, HelpTopic topic) {
  const std::string& folder = Svc().programFolder;
  const std::string helpFile = folder + kHelpFileName;
  if (FileExists(helpFile)) {
    if (Svc().help) Svc().help->ShowContents(helpFile);
    return;
  }
  std::string target = folder + kGuideFileName;
  if (!FileExists(target)) return;
  if (topic == HelpTopic::Notebook) {
    const std::string section = folder + kGuideFolderName + "\\notebook.html";
    if (FileExists(section)) target = section;
  }
  if (Svc().shell) Svc().shell->Open(owner, target);
}

}  // namespace pendra
