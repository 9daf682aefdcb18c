// The to-do list and the about box of the running program, opened from the
// tray's menu.
#include <windows.h>

#include <algorithm>
#include <cstdint>

#include "app/tray_window_win.h"
#include "settings/file_versions.h"
#include "tests/e2e/e2e_harness.h"
#include "tests/e2e/list_box_text.h"

namespace pendra::e2e {
namespace {

constexpr const char* kToDoKey = "Software\\Tavrin Software\\Pendra\\ToDo";
constexpr const char* kWindowsKey = "Software\\Microsoft\\Windows\\CurrentVersion";

class ToDoAboutE2e : public PendraE2eTest {
 protected:
  HWND TrayOf(PendraProcess& p) { return WaitForWindowOf(p.Pid(), "TfrmTray", "frmTray"); }
  static bool HasStatic(HWND parent, const std::string& text) {
    return FindChild(parent, "Static", text.c_str()) != nullptr;
  }
  // Opens the about box from the tray's menu and waits for it.
  HWND ShowAbout(PendraProcess& p) {
    Post(TrayOf(p), WM_COMMAND, kAboutPendra1, 0);
    HWND about = nullptr;
    WaitUntil([&] {
      about = FindWindowOf(p.Pid(), "TAboutBox");
      return about && IsWindowVisible(about);
    }, 5000);
    return about;
  }
};

TEST_F(ToDoAboutE2e, TheAboutBoxShowsTheRecordAndOkHidesIt) {
  PendraProcess& p = StartPendra();
  HWND about = ShowAbout(p);
  ASSERT_TRUE(about);
  EXPECT_EQ(WindowText(about), "About  Pendra");
  EXPECT_TRUE(HasStatic(about, "Pendra"));
  EXPECT_TRUE(HasStatic(about, "File Version   2.0.4.6"));
  EXPECT_TRUE(HasStatic(about, "Pendra was written by Mira Tavrin of Tavrin Software"));
  EXPECT_TRUE(HasStatic(about, "This Program is Registered To:"));
  EXPECT_TRUE(FindChild(about, "Button", "Tavrin Software"));
  HWND ok = FindChild(about, "Button", "OK");
  ASSERT_TRUE(ok);
  Post(ok, BM_CLICK);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(about); }, 5000));
  EXPECT_TRUE(MessageBoxes(p.Pid()).empty());
  EXPECT_EQ(CloseTray(p), 0u);
}

// A system value of another type than text is shown empty; the program starts
// all the same.
TEST_F(ToDoAboutE2e, ASystemValueThatIsNotTextDoesNotStopTheStart) {
  const auto owner = ReadRegText(kWindowsKey, "RegisteredOwner", HKEY_LOCAL_MACHINE);
  WriteRegDword(kWindowsKey, "RegisteredOwner", 7, HKEY_LOCAL_MACHINE);
  WriteRegDword(kWindowsKey, "VersionNumber", 7, HKEY_LOCAL_MACHINE);
  PendraProcess& p = StartPendra();
  HWND about = TrayOf(p) ? ShowAbout(p) : nullptr;
  if (owner) WriteRegText(kWindowsKey, "RegisteredOwner", *owner, HKEY_LOCAL_MACHINE);
  else DeleteRegValue(kWindowsKey, "RegisteredOwner", HKEY_LOCAL_MACHINE);
  DeleteRegValue(kWindowsKey, "VersionNumber", HKEY_LOCAL_MACHINE);
  ASSERT_TRUE(about);
  EXPECT_TRUE(MessageBoxes(p.Pid()).empty());
  // The empty number sends the reader to the NT key's build number.
  const auto build = ReadRegText("Software\\Microsoft\\Windows NT\\CurrentVersion",
                                 "CurrentBuildNumber", HKEY_LOCAL_MACHINE);
  EXPECT_TRUE(HasStatic(about, "Version Number:  " + build.value_or("")));
  EXPECT_EQ(CloseTray(p), 0u);
}

TEST_F(ToDoAboutE2e, TheToDoListShowsTheFileAndItsCloseWritesIt) {
  WriteFileBytes(PathOf("ToDo.lst"), "first\nsecond");
  PendraProcess& p = StartPendra();
  HWND tray = TrayOf(p);
  ASSERT_TRUE(tray);
  EXPECT_FALSE(FindWindowOf(p.Pid(), "TfrmToDo"));  // made when first shown
  Post(tray, WM_COMMAND, kToDo, 0);
  HWND toDo = nullptr;
  ASSERT_TRUE(WaitUntil([&] {
    toDo = FindWindowOf(p.Pid(), "TfrmToDo");
    return toDo && IsWindowVisible(toDo);
  }, 5000));
  EXPECT_EQ(WindowText(toDo), "Things To Do ");
  HWND list = FindChild(toDo, "ListBox");
  ASSERT_TRUE(list);
  EXPECT_EQ(Send(list, LB_GETCOUNT), 2);

  Post(toDo, WM_CLOSE);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(toDo); }, 5000));
  EXPECT_EQ(ReadFileBytes(PathOf("ToDo.lst")), "first\r\nsecond\r\n");
  EXPECT_EQ(ReadRegText(std::string(kToDoKey) + "\\Position", "Left"), "275");
  EXPECT_EQ(ReadRegText(std::string(kToDoKey) + "\\Size", "Width"), "431");

  // The exit closes it once more: the list and the bounds of a window shown
  // in this run are written again.
  WriteRegText(std::string(kToDoKey) + "\\Position", "Left", "300");
  DeleteFileA(PathOf("ToDo.lst").c_str());
  Post(tray, WM_COMMAND, kMnuClose, 0);
  EXPECT_EQ(p.WaitExit(), 0u);
  EXPECT_EQ(ReadFileBytes(PathOf("ToDo.lst")), "first\r\nsecond\r\n");
  EXPECT_EQ(ReadRegText(std::string(kToDoKey) + "\\Position", "Left"), "275");
}

// ToDo.lst in a folder another program writes too (a sync tool, a second PC).
// The copy kept prunes Pendra's own versions by age: every copy of the last
// day, the newest of each day for a month, each file on its own. Another
// program's version, the user's files beside them and a version the user
// changed stay, whatever their age or name.
TEST_F(ToDoAboutE2e, AListChangedElsewhereIsShownAndBothVersionsSurviveAnEditOnEachSide) {
  enum Made { Pendras, Changed, Users, Theirs };
  const struct { const char* file; int days, hour; Made made; bool kept; } planted[] = {  // hour -1: 10 minutes ago
      {"ToDo.lst", 0, -1, Pendras, true}, {"ToDo.lst", 2, 12, Pendras, true}, {"ToDo.lst", 2, 8, Pendras, false},
      {"ToDo.lst", 40, 12, Pendras, false}, {"Home.pnd", 2, 8, Pendras, true}, {"ToDo.lst", 40, 7, Changed, true},
      {"ToDo.lst", 40, 9, Users, true}, {"ToDo.lst", 40, 10, Theirs, true}};
  CreateDirectoryA(PathOf("Backup").c_str(), nullptr);
  std::string record = CopyRecordHeading();
  std::vector<std::string> left{"Pendra copies.txt", "Screenshot 2026-10-01 10-00-00.png:4",
                                "ToDo 2025-03-10_12-00-00.lst:4"};
  for (const char* name : {"Screenshot 2026-10-01 10-00-00.png", "ToDo 2025-03-10_12-00-00.lst"})
    WriteFileBytes(PathOf("Backup\\") + name, "mine");
  for (const auto& c : planted) {
    SYSTEMTIME t = c.hour < 0 ? SecondsFromNow(-600) : DaysFromToday(-c.days);
    if (c.hour >= 0) t.wHour = static_cast<WORD>(c.hour), t.wMinute = t.wSecond = 0;
    const DateTime at{{t.wYear, t.wMonth, t.wDay}, {t.wHour, t.wMinute, t.wSecond}};
    const std::string name = BackupName(c.file, at, 1, c.made == Theirs ? CopyKind::Theirs : CopyKind::Version);
    WriteFileBytes(PathOf("Backup\\" + name), "old");
    WIN32_FILE_ATTRIBUTE_DATA data{};
    ASSERT_TRUE(GetFileAttributesExA(PathOf("Backup\\" + name).c_str(), GetFileExInfoStandard, &data));
    const auto ticks = static_cast<std::int64_t>(static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32 |
                                                 data.ftLastWriteTime.dwLowDateTime);
    if (c.made == Pendras || c.made == Changed) record += CopyRecordLine({name, c.file, at, {3, ticks}});
    if (c.made == Changed) WriteFileBytes(PathOf("Backup\\" + name), "edited");
    if (c.kept) left.push_back(name + (c.made == Changed ? ":6" : ":3"));
  }
  WriteFileBytes(PathOf("Backup\\Pendra copies.txt"), record);
  WriteFileBytes(PathOf("ToDo.lst"), "first\r\n");
  PendraProcess& p = StartPendra();
  HWND toDo = ShowFromTray(p, kToDo, "TfrmToDo");
  ASSERT_TRUE(toDo);
  Post(toDo, WM_CLOSE);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(toDo); }, 5000));
  WriteFileBytes(PathOf("ToDo.lst"), "other\r\n");  // the same size
  ASSERT_EQ(ShowFromTray(p, kToDo, "TfrmToDo"), toDo);
  HWND list = FindChild(toDo, "ListBox");
  EXPECT_TRUE(WaitUntil([&] { return ListBoxText(list, 0) == "other"; }, 5000));

  // An item added by the keys: Tab to Add Item, Enter, the text, Enter.
  ASSERT_TRUE(ClickInto(toDo, list));
  PressKey(VK_TAB);
  PressKey(VK_RETURN);
  ASSERT_TRUE(WaitForWindowOf(p.Pid(), "TfrmAddToDo", nullptr, 5000));
  TypeText("milk\n");
  ASSERT_TRUE(WaitUntil([&] { return Send(list, LB_GETCOUNT) == 2; }, 5000));

  // Changed elsewhere meanwhile: the close writes Pendra's list and keeps the
  // other version in Backup, and says where.
  WriteFileBytes(PathOf("ToDo.lst"), "from the phone\r\n");
  Post(toDo, WM_CLOSE);
  const auto box = WaitForMessageBox(p.Pid());
  ASSERT_TRUE(box);
  EXPECT_EQ(box->caption, "Pendra");
  std::vector<std::string> copies = FolderSnapshot(PathOf("Backup\\"));
  const auto kept = std::find_if(copies.begin(), copies.end(), [&](const std::string& name) {
    return name.rfind("Pendra copies.txt", 0) != 0 && std::find(left.begin(), left.end(), name) == left.end();
  });
  ASSERT_NE(kept, copies.end());
  const std::string copy = PathOf("Backup\\" + kept->substr(0, kept->rfind(':')));
  copies.erase(kept);
  // The record's size follows what it names.
  for (std::string& name : copies)
    if (name.rfind("Pendra copies.txt:", 0) == 0) name = "Pendra copies.txt";
  std::sort(left.begin(), left.end());
  EXPECT_EQ(copies, left);
  EXPECT_NE(box->text.find(copy), std::string::npos) << box->text;
  EXPECT_TRUE(PressButton(*box, IDOK));
  EXPECT_EQ(ReadFileBytes(copy), "from the phone\r\n");
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(toDo); }, 5000));
  EXPECT_EQ(ReadFileBytes(PathOf("ToDo.lst")),
            "other\r\n " + DateText(DaysFromToday(0)) + "         milk\r\n");
}

}  // namespace
}  // namespace pendra::e2e
