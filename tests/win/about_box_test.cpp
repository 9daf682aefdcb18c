// The about box on a real version record (this test program carries the
// program's resources), on none, and on a foreign one; the system values
// from a stand-in HKEY_LOCAL_MACHINE.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "about/about_box_win.h"
#include "settings/errors.h"
#include "settings/registry_win.h"
#include "tests/common/version_block.h"
#include "tests/win/test_env_win.h"

namespace pendra::test {
namespace {

namespace tv = testing_version;

std::string ThisExecutable() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  return path;
}

class AboutBoxTest : public testing::Test {
 protected:
  void SetUp() override { TestEnv().Reset(); }
  void TearDown() override { box_.reset(); }
  TAboutBox& CreateShown() {
    box_ = std::make_unique<TAboutBox>();
    EXPECT_FALSE(box_->ControlsBuilt());
    box_->Show();
    PumpMessages();
    return *box_;
  }
  std::unique_ptr<TAboutBox> box_;
};

TEST_F(AboutBoxTest, TheProgramsRecordAndTheSystemValuesFillTheBox) {
  Svc().exePath = ThisExecutable();
  MemoryRegistry& machine = TestEnv().machine;
  machine.WriteText(kWindowsKey, "RegisteredOwner", "Ann Example");
  machine.WriteText(kWindowsNtKey, "RegisteredOwner", "not consulted");
  machine.WriteText(kWindowsNtKey, "RegisteredOrganization", "Example Ltd");
  machine.WriteText(kWindowsNtKey, "ProductName", "Microsoft Windows XP");
  machine.WriteText(kWindowsNtKey, "CurrentBuildNumber", "2600");
  TAboutBox& box = CreateShown();

  const TVersionInfo& info = box.VersionInfo1();
  EXPECT_EQ(info.ExecutableFileName(), ThisExecutable());
  EXPECT_EQ(info.FileVersionHigh(), 131072);
  EXPECT_EQ(info.FileVersionLow(), 262150);
  EXPECT_EQ(info.ProductVersionHigh(), 131072);
  EXPECT_EQ(info.ProductVersionLow(), 262150);
  EXPECT_EQ(info.OriginalFilename(), "Pendra.exe");
  EXPECT_EQ(info.LegalCopyright(), "");
  // The record the resource compiler made holds what the test helper lays out.
  VersionRecord expected;
  const tv::Bytes bytes = tv::PendraRecord();
  expected.Load(bytes.data(), bytes.size());
  EXPECT_EQ(info.Keys(), expected.Keys());

  EXPECT_EQ(GetText(box.Handle()), "About  Pendra");
  EXPECT_TRUE(GetWindowLongA(box.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_EQ(GetText(box.ProductName()), "Pendra");
  EXPECT_EQ(GetText(box.Version()), "File Version   2.0.4.6");
  EXPECT_EQ(GetText(box.Comments()), "Pendra was written by Mira Tavrin of Tavrin Software");
  EXPECT_EQ(GetText(box.lblRegistered()), "This Program is Registered To:");
  EXPECT_EQ(GetText(box.lblUser()), "Ann Example");
  EXPECT_EQ(GetText(box.lblCompany()), "Example Ltd");
  EXPECT_EQ(GetText(box.lblWinVersion()), "Windows Version:  Microsoft Windows XP");
  EXPECT_EQ(GetText(box.lblVerNumber()), "Version Number:  2600");
  EXPECT_EQ(GetText(box.CompanyName()), "Tavrin Software");
  EXPECT_EQ(box.HintOf(box.CompanyName()), "Tavrin Software Web Page");
  EXPECT_EQ(GetText(box.SendMail()), "Send Mail");
  EXPECT_EQ(GetText(box.btnSysInfo()), "System Information");

  // The credit panel: 5 pixels right of the surrounding panel, as wide as the
  // client area less 20.
  RECT client{}, credit = WindowRectOf(box.Comments());
  GetClientRect(box.Handle(), &client);
  MapWindowPoints(nullptr, box.Handle(), reinterpret_cast<POINT*>(&credit), 2);
  EXPECT_EQ(credit.left, 13);
  EXPECT_EQ(credit.right - credit.left, client.right - 20);
  const RECT icon = WindowRectOf(box.ProgramIcon());
  EXPECT_EQ(icon.right - icon.left, 40);

  Click(box.CompanyName());
  Click(box.SendMail());
  Click(box.btnSysInfo());
  EXPECT_EQ(TestEnv().shell.opened, (std::vector<std::string>{"http://www.example.com/pendra",
                                                               "mailto:author@example.com",
                                                               "MSINFO32.EXE"}));
  EXPECT_EQ(TestEnv().shell.owners, std::vector<NativeWindow>(3, box.Handle()));
  Click(box.OKButton());
  EXPECT_FALSE(box.Visible());
  box.Show();
  SendMessageA(box.Handle(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);  // Escape
  EXPECT_FALSE(box.Visible());
}

TEST_F(AboutBoxTest, WithoutARecordOrTextValuesTheBoxStillComesUp) {
  Svc().exePath = TestEnv().folder + "Pendra.exe";  // not there: no record
  MemoryRegistry& machine = TestEnv().machine;
  machine.WriteBinary(kWindowsKey, "RegisteredOwner");
  machine.WriteBinary(kWindowsNtKey, "RegisteredOwner");
  machine.WriteBinary(kWindowsNtKey, "ProductName");
  TAboutBox& box = CreateShown();
  EXPECT_EQ(box.VersionInfo1().CompanyName(), "--not available--");
  EXPECT_EQ(box.VersionInfo1().ProductVersionLow(), -1);
  EXPECT_EQ(GetText(box.Handle()), "About  --not available--");
  EXPECT_EQ(GetText(box.Version()), "File Version   --not available--");
  EXPECT_EQ(GetText(box.Comments()), "--not available-- was --not available--");
  EXPECT_EQ(GetText(box.lblUser()), "");
  EXPECT_EQ(GetText(box.lblWinVersion()), "Windows Version:  ");
  EXPECT_TRUE(TestEnv().dialogs.shown.empty());
}

TEST_F(AboutBoxTest, AForeignRecordFailsTheCreation) {
  const std::string copy = TestEnv().folder + "Foreign.exe";
  ASSERT_TRUE(CopyFileA(ThisExecutable().c_str(), copy.c_str(), FALSE));
  const tv::Bytes foreign = tv::Record({tv::VarFileInfo(), tv::StringFileInfo(tv::PendraStrings())});
  HANDLE update = BeginUpdateResourceA(copy.c_str(), FALSE);
  ASSERT_TRUE(update);
  ASSERT_TRUE(UpdateResourceA(update, MAKEINTRESOURCEA(16), MAKEINTRESOURCEA(1),
                              MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL),
                              const_cast<std::uint8_t*>(foreign.data()),
                              static_cast<DWORD>(foreign.size())));
  ASSERT_TRUE(EndUpdateResourceA(update, FALSE));

  Svc().exePath = copy;
  try {
    TAboutBox box;
    ADD_FAILURE() << "created";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "Unrecognised version block");
  }
  DeleteFileA(copy.c_str());
}

TEST(MachineRegistry, ReadsHkeyLocalMachine) {
  constexpr const char* kScratch = "Software\\PendraTest";
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kScratch, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                            &key, nullptr),
            ERROR_SUCCESS);
  const DWORD one = 1;
  RegSetValueExA(key, "Owner", 0, REG_SZ, reinterpret_cast<const BYTE*>("Ann"), 4);
  RegSetValueExA(key, "Build", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), sizeof one);
  RegCloseKey(key);

  WinRegistry machine(RegistryRoot::LocalMachine);
  std::string text;
  EXPECT_TRUE(machine.KeyExists(kScratch));
  EXPECT_EQ(machine.Read(kScratch, "Owner", text), ValueKind::Text);
  EXPECT_EQ(text, "Ann");
  EXPECT_EQ(machine.Read(kScratch, "Build", text), ValueKind::Other);
  EXPECT_FALSE(WinRegistry().KeyExists(kScratch));  // not under HKEY_CURRENT_USER
  machine.DeleteTree(kScratch);
  EXPECT_FALSE(machine.KeyExists(kScratch));
}

}  // namespace
}  // namespace pendra::test
