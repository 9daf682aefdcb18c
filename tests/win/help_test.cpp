// The Help items of the tray menu and of the notebook: the help file with
// WinHelp where it stands beside the program, else the user's guide through
// the shell (at the notebook's section where the guide has a page for it),
// else nothing.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "app/tray_window_win.h"
#include "notes/notebook_window_win.h"
#include "platform/application_win.h"
#include "tests/win/test_env_win.h"

namespace pendra::test {
namespace {

using Log = std::vector<std::string>;

TEST(HelpTest, TheHelpFileElseTheGuideAtItsSectionElseNothing) {
  TestEnv().Reset();
  const AppForms saved = Forms();
  Forms() = AppForms{};
  TrayApi().notifyIcon = [](DWORD, NOTIFYICONDATAA*) { return TRUE; };
  TrayApi().popupMenu = [](HWND, HMENU, POINT) {};
  {
    TfrmTray tray;
    tray.WaitForIconAdd();
    TfrmPendra notebook;
    notebook.Show();
    const std::string folder = TestEnv().folder;
    const std::string hlp = folder + "Pendra.hlp", guide = folder + "Pendra Guide.html",
                      section = folder + "Pendra Guide files\\notebook.html";
    CreateDirectoryA((folder + "Pendra Guide files").c_str(), nullptr);

    struct Case {
      const char* name;
      Log files;
      bool folderForGuide;  // a folder stands where the guide would
      std::string fromTray, fromNotebook;  // what the shell opens; empty: nothing
      bool winHelp;
    };
    const Case cases[] = {
        {"nothing beside the program", {}, false, "", "", false},
        {"a section page without its guide", {section}, false, "", "", false},
        {"a folder in the guide's place", {section}, true, "", "", false},
        {"the guide alone", {guide}, false, guide, guide, false},
        {"the guide with its notebook page", {guide, section}, false, guide, section, false},
        {"the help file beside the guide", {hlp, guide, section}, false, "", "", true},
    };
    for (const Case& c : cases) {
      SCOPED_TRACE(c.name);
      if (c.folderForGuide) CreateDirectoryA(guide.c_str(), nullptr);
      for (const std::string& f : c.files) WriteFileBytes(f, "x");
      TestEnv().shell.opened.clear();
      TestEnv().shell.owners.clear();
      TestEnv().help.shown.clear();

      MenuCommand(tray.Handle(), kHelp1);
      MenuCommand(notebook.Handle(), TfrmPendra::Contents1);
      MenuCommand(notebook.Handle(), TfrmPendra::Contents2);

      Log opened;
      std::vector<NativeWindow> owners;
      if (!c.fromTray.empty()) {
        opened = {c.fromTray, c.fromNotebook, c.fromNotebook};
        owners = {nullptr, notebook.Handle(), notebook.Handle()};
      }
      EXPECT_EQ(TestEnv().shell.opened, opened);
      EXPECT_EQ(TestEnv().shell.owners, owners);
      EXPECT_EQ(TestEnv().help.shown, c.winHelp ? Log(3, hlp) : Log());
      EXPECT_TRUE(TestEnv().dialogs.shown.empty());
      for (const std::string& f : c.files) DeleteFileA(f.c_str());
      if (c.folderForGuide) RemoveDirectoryA(guide.c_str());
    }
  }
  TrayApi() = TrayPlatform{};
  Forms() = saved;
}

}  // namespace
}  // namespace pendra::test
