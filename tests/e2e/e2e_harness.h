#pragma once
// End-to-end harness: starts the built Pendra.exe from a fresh program folder
// with a clean registry, looks at its windows, drives it by messages, answers
// its message boxes and reads what it wrote.
//
// A test derives from PendraE2eTest (or uses TEST_F(PendraE2eTest, ...)):
//
//   TEST_F(PendraE2eTest, StartsAndCloses) {
//     PendraProcess& p = StartPendra();
//     ASSERT_TRUE(p.Running());
//     EXPECT_TRUE(FindWindowOf(p, "TfrmTray", "frmTray"));
//     EXPECT_EQ(CloseTray(p), 0u);
//   }
//
// Every wait pumps this thread's messages, so a window the test itself created
// keeps answering while Pendra talks to it.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>

#include "tests/common/file_bytes.h"
#include <vector>

namespace pendra::e2e {

// Path of the built Pendra.exe (argv[1] of the test executable); its folder
// holds check.bmp and undo.bmp as the build put them there.
const std::string& BuiltPendraExe();
void SetBuiltPendraExe(const std::string& path);

inline constexpr const char* kSettingsRoot = "Software\\Tavrin Software";
inline constexpr const char* kPendraKey = "Software\\Tavrin Software\\Pendra";
inline constexpr const char* kRunKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr DWORD kDefaultTimeoutMs = 15000;
inline constexpr DWORD kNotExited = 0xFFFFFFFFu;

struct WindowInfo {
  HWND hwnd = nullptr;
  std::string className;
  std::string title;
  bool visible = false;
  RECT rect{};
  HWND owner = nullptr;  // GetWindow(GW_OWNER)
  LONG style = 0;
  LONG exStyle = 0;
};
std::ostream& operator<<(std::ostream& os, const WindowInfo& w);

// One started Pendra process. The destructor kills it if it still runs.
class PendraProcess {
 public:
  PendraProcess() = default;
  PendraProcess(const PendraProcess&) = delete;
  PendraProcess& operator=(const PendraProcess&) = delete;
  ~PendraProcess();

  // CreateProcess on exePath with the working folder set to its folder, then
  // waits until it is idle (WaitForInputIdle) or has ended, and settles briefly.
  bool Start(const std::string& exePath, DWORD timeoutMs = kDefaultTimeoutMs);
  bool Start(const std::wstring& exePath, DWORD timeoutMs = kDefaultTimeoutMs);
  // The same from a Unix shell, with `unixEnvironment` ("TZ=...") in the
  // environment Wine reads at a process's start (the time zone), which
  // CreateProcess does not pass on; the process is found by its tray window.
  bool StartUnder(const std::string& exePath, const std::string& unixEnvironment,
                  DWORD timeoutMs = kDefaultTimeoutMs);
  bool Running() const;
  // Waits (pumping messages) for the end; returns the exit code, or kNotExited.
  DWORD WaitExit(DWORD timeoutMs = kDefaultTimeoutMs);
  void Kill();
  // Leaves the process running past this object.
  void Detach();

  DWORD Pid() const { return pid_; }
  HANDLE Handle() const { return process_; }

 private:
  HANDLE process_ = nullptr;
  DWORD pid_ = 0;
};

// Top-level windows of one process (all of them, or the visible ones).
std::vector<WindowInfo> TopLevelWindows(DWORD pid, bool visibleOnly = false);
WindowInfo DescribeWindow(HWND hwnd);
// A top-level window of that process with this class and title (nullptr: any
// title); nullptr when none.
HWND FindWindowOf(DWORD pid, const std::string& className, const char* title = nullptr);
// The same, waiting up to timeoutMs for it to appear.
HWND WaitForWindowOf(DWORD pid, const std::string& className, const char* title = nullptr,
                     DWORD timeoutMs = kDefaultTimeoutMs);
// Posts a command of the tray's menu and waits for the window of that class
// to show; nullptr when it does not.
HWND ShowFromTray(PendraProcess& p, int command, const char* windowClass);
// Child windows of a window (all descendants), in z-order.
std::vector<WindowInfo> ChildWindows(HWND parent);
// A descendant control by class and text (nullptr: any text).
HWND FindChild(HWND parent, const std::string& className, const char* text = nullptr);
// A descendant control by its id.
HWND ChildWithId(HWND parent, int id);

// Message boxes ("#32770" windows) of a process.
struct MessageBoxInfo {
  HWND hwnd = nullptr;
  std::string caption;
  std::string text;                  // the box's message text
  std::vector<std::string> buttons;  // button captions, e.g. "OK", "&Yes"
};
std::vector<MessageBoxInfo> MessageBoxes(DWORD pid);
// Waits for a message box of that process; nullopt on time-out.
std::optional<MessageBoxInfo> WaitForMessageBox(DWORD pid, DWORD timeoutMs = kDefaultTimeoutMs);
// Presses a button of a box by its control id (IDOK, IDYES, IDNO, IDCANCEL)
// and waits for the box to go away. False when it did not.
bool PressButton(const MessageBoxInfo& box, int id, DWORD timeoutMs = kDefaultTimeoutMs);

// Messages to another process's windows. Send waits for the answer (with a
// time-out so a hung target cannot stall the run).
LRESULT Send(HWND hwnd, UINT msg, WPARAM wp = 0, LPARAM lp = 0, DWORD timeoutMs = 5000);
void Post(HWND hwnd, UINT msg, WPARAM wp = 0, LPARAM lp = 0);
std::string WindowText(HWND hwnd);
// The text asked in UTF-16 and given in UTF-8: every character, in any code page.
std::string WindowTextUtf8(HWND hwnd);

// A text control's text read with a buffer of this side's own (RICHED32's
// control answers WM_GETTEXTLENGTH from another process with 0).
std::string ControlText(HWND control, std::size_t maxChars = 65536);

// Real input, through the system's input queue, as a user's keys and clicks
// arrive: they go to the foreground window's focus.
// Brings `top` to the foreground and clicks inside `control` (near its top
// left corner), so it has the keyboard focus; false when it did not get it.
bool ClickInto(HWND top, HWND control);
// Types the characters by their keys (Shift as the layout needs it); '\t' is
// the Tab key and '\n' the Enter key.
void TypeText(const std::string& text);
// Presses one key while the given keys (VK_CONTROL, VK_SHIFT...) are held.
void PressKey(WORD vk, std::initializer_list<WORD> held = {});
// Types one character as a keyboard of any language sends it (Unicode
// input), while the given keys are held: with Ctrl and Alt, as AltGr types.
void TypeCharacter(wchar_t c, std::initializer_list<WORD> held = {});
// Each unit of the text so (a character beyond the Basic Multilingual Plane
// as its two halves, as a keyboard sends it).
void TypeCharacters(const std::wstring& text);
// The window with the keyboard focus in the thread that owns `window`.
HWND FocusOf(HWND window);
// Puts plain text on the clipboard; false when it could not.
bool SetClipboardText(const std::string& text);

// Pumps this thread's messages for the given time.
void PumpFor(DWORD ms);
// Polls cond (pumping messages) until it holds or the time is up.
bool WaitUntil(const std::function<bool()>& cond, DWORD timeoutMs = kDefaultTimeoutMs);

// Registry under HKEY_CURRENT_USER unless said otherwise. Values are read as
// text (REG_SZ); nullopt when the key or the value is missing or not text.
std::optional<std::string> ReadRegText(const std::string& keyPath, const std::string& name,
                                       HKEY root = HKEY_CURRENT_USER);
bool RegKeyExists(const std::string& keyPath, HKEY root = HKEY_CURRENT_USER);
void WriteRegText(const std::string& keyPath, const std::string& name, const std::string& value,
                  HKEY root = HKEY_CURRENT_USER);
void WriteRegDword(const std::string& keyPath, const std::string& name, DWORD value,
                   HKEY root = HKEY_CURRENT_USER);
void DeleteRegValue(const std::string& keyPath, const std::string& name,
                    HKEY root = HKEY_CURRENT_USER);
void DeleteRegTree(const std::string& keyPath, HKEY root = HKEY_CURRENT_USER);
// Every value under a key and its subkeys, as "sub\key|name=value" lines
// (sorted), so a test can tell that nothing was written.
std::vector<std::string> RegSnapshot(const std::string& keyPath, HKEY root = HKEY_CURRENT_USER);

// Date and time text in the user's locale formats, as the program writes them.
std::string DateText(const SYSTEMTIME& st);
std::string TimeText(const SYSTEMTIME& st);
// The local time that many days or seconds from now.
SYSTEMTIME DaysFromToday(int days);
SYSTEMTIME SecondsFromNow(int seconds);

// Files.
using testing_files::ReadFileBytes;
using testing_files::WriteFileBytes;
bool FileExists(const std::string& path);
// Names of the files in a folder (sorted), with their sizes: "name:size".
std::vector<std::string> FolderSnapshot(const std::string& folder);

// Fixture: a fresh program folder (Pendra.exe, check.bmp, undo.bmp copied into
// a new temporary folder) and a clean registry (HKCU\Software\Tavrin Software
// and the Run value "Pendra" deleted) before each test; every Pendra process
// the test started is killed and the folder removed afterwards.
class PendraE2eTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Starts Pendra.exe from the test's program folder and waits until it is
  // idle. The process object lives until the end of the test.
  PendraProcess& StartPendra(DWORD timeoutMs = kDefaultTimeoutMs);
  // The same with a Unix environment of its own (PendraProcess::StartUnder).
  PendraProcess& StartPendraUnder(const std::string& unixEnvironment);
  // Posts WM_CLOSE to the process's TfrmTray window and waits for the exit.
  // Returns the exit code, or kNotExited.
  DWORD CloseTray(PendraProcess& p, DWORD timeoutMs = kDefaultTimeoutMs);

  // Moves the program folder's files into `folders` (wide, "a\\b") below
  // it, made here. Pendra then starts by that long path; the test reaches
  // the folder by its short path, which the code page holds.
  void MoveProgramFolderInto(const std::wstring& folders);

  // The program folder, with its trailing backslash, and a path in it.
  const std::string& Folder() const { return folder_; }
  std::string PathOf(const std::string& name) const { return folder_ + name; }
  std::string ExePath() const { return folder_ + "Pendra.exe"; }

 private:
  std::string folder_, root_;  // root_: the folder made for the test
  std::wstring wideExe_;       // where Pendra starts from, when moved
  std::vector<std::unique_ptr<PendraProcess>> started_;
};

}  // namespace pendra::e2e
