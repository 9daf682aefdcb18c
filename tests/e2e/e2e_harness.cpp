#include "tests/e2e/e2e_harness.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <ostream>

namespace pendra::e2e {
namespace {

std::string& ExePathStore() {
  static std::string path;
  return path;
}

std::wstring Wide(const std::string& text) {
  std::wstring wide(text.size(), L'\0');
  wide.resize(static_cast<std::size_t>(MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                                           wide.data(), static_cast<int>(wide.size()))));
  return wide;
}

std::string FolderOf(const std::string& path) {
  auto pos = path.find_last_of("\\/");
  return pos == std::string::npos ? std::string() : path.substr(0, pos + 1);
}

std::string ClassNameOf(HWND hwnd) {
  char buf[256] = {};
  int n = GetClassNameA(hwnd, buf, sizeof buf);
  return n > 0 ? std::string(buf, static_cast<size_t>(n)) : std::string();
}

struct EnumState {
  DWORD pid;
  bool visibleOnly;
  std::vector<WindowInfo>* out;
};

BOOL CALLBACK CollectTopLevel(HWND hwnd, LPARAM lp) {
  auto* st = reinterpret_cast<EnumState*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid != st->pid) return TRUE;
  if (st->visibleOnly && !IsWindowVisible(hwnd)) return TRUE;
  st->out->push_back(DescribeWindow(hwnd));
  return TRUE;
}

BOOL CALLBACK CollectChild(HWND hwnd, LPARAM lp) {
  reinterpret_cast<std::vector<WindowInfo>*>(lp)->push_back(DescribeWindow(hwnd));
  return TRUE;
}

void RemoveFolder(const std::string& folder) {
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((folder + "*").c_str(), &fd);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      // A name the code page cannot hold is reached by its short name.
      std::string name = std::strchr(fd.cFileName, '?') && fd.cAlternateFileName[0] ? fd.cAlternateFileName : fd.cFileName;
      if (name == "." || name == "..") continue;
      std::string path = folder + name;
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveFolder(path + "\\");
      } else {
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(path.c_str());
      }
    } while (FindNextFileA(h, &fd));
    FindClose(h);
  }
  RemoveDirectoryA(folder.c_str());
}

void Snapshot(HKEY key, const std::string& prefix, std::vector<std::string>& out) {
  for (DWORD i = 0;; ++i) {
    char name[16384];
    DWORD nameLen = sizeof name;
    DWORD type = 0;
    BYTE data[4096];
    DWORD dataLen = sizeof data;
    LONG rc = RegEnumValueA(key, i, name, &nameLen, nullptr, &type, data, &dataLen);
    if (rc == ERROR_NO_MORE_ITEMS) break;
    if (rc != ERROR_SUCCESS && rc != ERROR_MORE_DATA) break;
    std::string value;
    if (rc == ERROR_SUCCESS && (type == REG_SZ || type == REG_EXPAND_SZ))
      value.assign(reinterpret_cast<char*>(data), strnlen(reinterpret_cast<char*>(data), dataLen));
    else
      value = "<type " + std::to_string(type) + ", " + std::to_string(dataLen) + " bytes>";
    out.push_back(prefix + "|" + std::string(name, nameLen) + "=" + value);
  }
  for (DWORD i = 0;; ++i) {
    char name[256];
    DWORD nameLen = sizeof name;
    if (RegEnumKeyExA(key, i, name, &nameLen, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
      break;
    std::string sub(name, nameLen);
    out.push_back(prefix + "\\" + sub + "\\");
    HKEY child;
    if (RegOpenKeyExA(key, sub.c_str(), 0, KEY_READ, &child) == ERROR_SUCCESS) {
      Snapshot(child, prefix + "\\" + sub, out);
      RegCloseKey(child);
    }
  }
}

void DeleteTreeUnder(HKEY parent, const std::string& sub) {
  HKEY key;
  if (RegOpenKeyExA(parent, sub.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
  for (;;) {
    char name[256];
    DWORD nameLen = sizeof name;
    if (RegEnumKeyExA(key, 0, name, &nameLen, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
      break;
    std::string child(name, nameLen);
    DeleteTreeUnder(key, child);
    // A key that cannot be removed would loop forever; stop instead.
    HKEY still;
    if (RegOpenKeyExA(key, child.c_str(), 0, KEY_READ, &still) == ERROR_SUCCESS) {
      RegCloseKey(still);
      break;
    }
  }
  RegCloseKey(key);
  RegDeleteKeyA(parent, sub.c_str());
}

}  // namespace

const std::string& BuiltPendraExe() { return ExePathStore(); }
void SetBuiltPendraExe(const std::string& path) { ExePathStore() = path; }

std::ostream& operator<<(std::ostream& os, const WindowInfo& w) {
  return os << "[" << w.className << " \"" << w.title << "\" " << (w.visible ? "visible" : "hidden")
            << " " << w.rect.left << "," << w.rect.top << " " << (w.rect.right - w.rect.left)
            << "x" << (w.rect.bottom - w.rect.top) << " owner=" << w.owner << std::hex
            << " style=0x" << w.style << " ex=0x" << w.exStyle << std::dec << "]";
}

PendraProcess::~PendraProcess() {
  Kill();
  if (process_) CloseHandle(process_);
}

bool PendraProcess::Start(const std::string& exePath, DWORD timeoutMs) { return Start(Wide(exePath), timeoutMs); }

bool PendraProcess::Start(const std::wstring& exePath, DWORD timeoutMs) {
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  std::wstring cmd = L"\"" + exePath + L"\"";
  const std::wstring dir = exePath.substr(0, exePath.find_last_of(L"\\/") + 1);
  if (!CreateProcessW(exePath.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      dir.empty() ? nullptr : dir.c_str(), &si, &pi))
    return false;
  CloseHandle(pi.hThread);
  process_ = pi.hProcess;
  pid_ = pi.dwProcessId;
  // WaitForInputIdle answers as soon as the program waits in a message loop
  // (its own, or a message box's) or has ended.
  DWORD start = GetTickCount();
  while (GetTickCount() - start < timeoutMs) {
    DWORD r = WaitForInputIdle(process_, 100);
    if (r == 0 || !Running()) break;
    PumpFor(0);
  }
  PumpFor(150);
  return true;
}

bool PendraProcess::StartUnder(const std::string& exePath, const std::string& unixEnvironment,
                               DWORD timeoutMs) {
  std::string command = "/bin/sh -c \"exec env " + unixEnvironment + " \\\"${WINELOADER:-wine}\\\" '" +
                        exePath + "'\"";
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessA("Z:\\bin\\sh", command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
    return false;
  // Wine hands back no handle worth keeping for a Unix program.
  if (pi.hThread) CloseHandle(pi.hThread);
  if (pi.hProcess) CloseHandle(pi.hProcess);
  HWND tray = nullptr;
  if (!WaitUntil([&] { return (tray = FindWindowA("TfrmTray", "frmTray")) != nullptr; }, timeoutMs)) return false;
  GetWindowThreadProcessId(tray, &pid_);
  process_ = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_TERMINATE, FALSE, pid_);
  return process_ != nullptr;
}

bool PendraProcess::Running() const {
  return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

DWORD PendraProcess::WaitExit(DWORD timeoutMs) {
  if (!process_) return kNotExited;
  DWORD start = GetTickCount();
  for (;;) {
    DWORD elapsed = GetTickCount() - start;
    if (elapsed >= timeoutMs) break;
    DWORD r = MsgWaitForMultipleObjects(1, &process_, FALSE, timeoutMs - elapsed, QS_ALLINPUT);
    if (r == WAIT_OBJECT_0) break;
    PumpFor(0);
  }
  if (Running()) return kNotExited;
  DWORD code = kNotExited;
  GetExitCodeProcess(process_, &code);
  return code;
}

void PendraProcess::Kill() {
  if (Running()) {
    TerminateProcess(process_, 255);
    WaitForSingleObject(process_, 5000);
  }
}

void PendraProcess::Detach() {
  if (process_) CloseHandle(process_);
  process_ = nullptr;
}

WindowInfo DescribeWindow(HWND hwnd) {
  WindowInfo w;
  w.hwnd = hwnd;
  w.className = ClassNameOf(hwnd);
  w.title = WindowText(hwnd);
  w.visible = IsWindowVisible(hwnd) != FALSE;
  GetWindowRect(hwnd, &w.rect);
  w.owner = GetWindow(hwnd, GW_OWNER);
  w.style = GetWindowLongA(hwnd, GWL_STYLE);
  w.exStyle = GetWindowLongA(hwnd, GWL_EXSTYLE);
  return w;
}

std::vector<WindowInfo> TopLevelWindows(DWORD pid, bool visibleOnly) {
  std::vector<WindowInfo> out;
  EnumState st{pid, visibleOnly, &out};
  EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&st));
  return out;
}

HWND FindWindowOf(DWORD pid, const std::string& className, const char* title) {
  for (const auto& w : TopLevelWindows(pid))
    if (w.className == className && (!title || w.title == title)) return w.hwnd;
  return nullptr;
}

HWND WaitForWindowOf(DWORD pid, const std::string& className, const char* title,
                     DWORD timeoutMs) {
  HWND found = nullptr;
  WaitUntil([&] { return (found = FindWindowOf(pid, className, title)) != nullptr; }, timeoutMs);
  return found;
}

HWND ShowFromTray(PendraProcess& p, int command, const char* windowClass) {
  Post(WaitForWindowOf(p.Pid(), "TfrmTray", "frmTray"), WM_COMMAND, static_cast<WPARAM>(command));
  HWND window = nullptr;
  WaitUntil([&] { return (window = FindWindowOf(p.Pid(), windowClass)) && IsWindowVisible(window); });
  return window;
}

std::vector<WindowInfo> ChildWindows(HWND parent) {
  std::vector<WindowInfo> out;
  EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&out));
  return out;
}

HWND ChildWithId(HWND parent, int id) {
  for (const auto& w : ChildWindows(parent))
    if (GetDlgCtrlID(w.hwnd) == id) return w.hwnd;
  return nullptr;
}

HWND FindChild(HWND parent, const std::string& className, const char* text) {
  for (const auto& w : ChildWindows(parent))
    if (w.className == className && (!text || w.title == text)) return w.hwnd;
  return nullptr;
}

std::vector<MessageBoxInfo> MessageBoxes(DWORD pid) {
  std::vector<MessageBoxInfo> out;
  for (const auto& w : TopLevelWindows(pid, true)) {
    if (w.className != "#32770") continue;
    MessageBoxInfo box;
    box.hwnd = w.hwnd;
    box.caption = w.title;
    std::string longestStatic;
    for (const auto& c : ChildWindows(w.hwnd)) {
      int id = GetDlgCtrlID(c.hwnd);
      if (c.className == "Button") {
        box.buttons.push_back(c.title);
      } else if (c.className == "Static" || c.className == "Edit") {
        // A long announcement scrolls in an edit of the same id.
        if (id == 0xFFFF) box.text = c.title;
        if (c.title.size() > longestStatic.size()) longestStatic = c.title;
      }
    }
    if (box.text.empty()) box.text = longestStatic;
    out.push_back(box);
  }
  return out;
}

std::optional<MessageBoxInfo> WaitForMessageBox(DWORD pid, DWORD timeoutMs) {
  std::optional<MessageBoxInfo> found;
  WaitUntil(
      [&] {
        auto boxes = MessageBoxes(pid);
        if (boxes.empty()) return false;
        found = boxes.front();
        return true;
      },
      timeoutMs);
  return found;
}

bool PressButton(const MessageBoxInfo& box, int id, DWORD timeoutMs) {
  HWND button = GetDlgItem(box.hwnd, id);
  PostMessageA(box.hwnd, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
  return WaitUntil([&] { return !IsWindow(box.hwnd) || !IsWindowVisible(box.hwnd); }, timeoutMs);
}

LRESULT Send(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, DWORD timeoutMs) {
  DWORD_PTR result = 0;
  SendMessageTimeoutA(hwnd, msg, wp, lp, SMTO_NORMAL, timeoutMs, &result);
  return static_cast<LRESULT>(result);
}

void Post(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) { PostMessageA(hwnd, msg, wp, lp); }

std::string WindowText(HWND hwnd) {
  DWORD_PTR len = 0;
  if (!SendMessageTimeoutA(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &len)) {
    char buf[1024] = {};
    int n = GetWindowTextA(hwnd, buf, sizeof buf);
    return n > 0 ? std::string(buf, static_cast<size_t>(n)) : std::string();
  }
  std::string s(len + 1, '\0');
  DWORD_PTR got = 0;
  SendMessageTimeoutA(hwnd, WM_GETTEXT, s.size(), reinterpret_cast<LPARAM>(s.data()),
                      SMTO_ABORTIFHUNG, 2000, &got);
  s.resize(std::min<size_t>(got, len));
  return s;
}

std::string WindowTextUtf8(HWND hwnd) {
  std::wstring s(65536, L'\0');
  DWORD_PTR got = 0;
  SendMessageTimeoutW(hwnd, WM_GETTEXT, s.size(), reinterpret_cast<LPARAM>(s.data()), SMTO_ABORTIFHUNG, 2000, &got);
  s.resize(wcsnlen(s.data(), std::min<std::size_t>(got, s.size() - 1)));
  std::string text(s.size() * 4 + 1, '\0');
  text.resize(static_cast<std::size_t>(std::max(0, WideCharToMultiByte(CP_UTF8, 0, s.data(), static_cast<int>(s.size()),
                                                                       text.data(), static_cast<int>(text.size()),
                                                                       nullptr, nullptr))));
  return text;
}

std::string ControlText(HWND control, std::size_t maxChars) {
  std::string s(maxChars + 1, '\0');
  DWORD_PTR got = 0;
  SendMessageTimeoutA(control, WM_GETTEXT, s.size(), reinterpret_cast<LPARAM>(s.data()),
                      SMTO_ABORTIFHUNG, 2000, &got);
  s.resize(strnlen(s.data(), std::min<std::size_t>(got, maxChars)));
  return s;
}

namespace {

INPUT KeyInput(WORD vk, bool up) {
  INPUT in{INPUT_KEYBOARD};
  in.ki = {vk, static_cast<WORD>(MapVirtualKeyA(vk, 0)), up ? DWORD{KEYEVENTF_KEYUP} : 0, 0, 0};
  return in;
}

INPUT MouseInput(DWORD flags, int x, int y) {
  // Absolute positions run from 0 to 65535 across the primary screen.
  INPUT in{INPUT_MOUSE};
  in.mi = {MulDiv(x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1), MulDiv(y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1),
           0, flags | MOUSEEVENTF_ABSOLUTE, 0, 0};
  return in;
}

void SendInputs(std::vector<INPUT> inputs) {
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  // The other side reads its queue at its own pace.
  PumpFor(30);
}

}  // namespace

HWND FocusOf(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

bool ClickInto(HWND top, HWND control) {
  SetForegroundWindow(top);
  if (!WaitUntil([&] { return GetForegroundWindow() == top; }, 3000)) return false;
  RECT r{};
  GetWindowRect(control, &r);
  const int x = r.left + 12, y = r.top + 8;
  SendInputs({MouseInput(MOUSEEVENTF_MOVE, x, y), MouseInput(MOUSEEVENTF_LEFTDOWN, x, y),
        MouseInput(MOUSEEVENTF_LEFTUP, x, y)});
  return WaitUntil([&] { return FocusOf(top) == control; }, 3000);
}

void PressKey(WORD vk, std::initializer_list<WORD> held) {
  std::vector<INPUT> inputs;
  for (WORD h : held) inputs.push_back(KeyInput(h, false));
  inputs.push_back(KeyInput(vk, false));
  inputs.push_back(KeyInput(vk, true));
  for (auto it = std::rbegin(held); it != std::rend(held); ++it) inputs.push_back(KeyInput(*it, true));
  SendInputs(std::move(inputs));
}

void TypeCharacter(wchar_t c, std::initializer_list<WORD> held) {
  std::vector<INPUT> inputs;
  for (WORD h : held) inputs.push_back(KeyInput(h, false));
  for (DWORD up : {DWORD{0}, DWORD{KEYEVENTF_KEYUP}}) {
    INPUT in{INPUT_KEYBOARD};
    in.ki = {0, static_cast<WORD>(c), KEYEVENTF_UNICODE | up, 0, 0};
    inputs.push_back(in);
  }
  for (auto it = std::rbegin(held); it != std::rend(held); ++it) inputs.push_back(KeyInput(*it, true));
  SendInputs(std::move(inputs));
}

void TypeCharacters(const std::wstring& text) {
  for (wchar_t c : text) TypeCharacter(c);
}

void TypeText(const std::string& text) {
  for (char c : text) {
    const SHORT key = c == '\t' ? VK_TAB : c == '\n' ? VK_RETURN : VkKeyScanA(c);
    if (key == -1) continue;
    if (key & 0x100) PressKey(LOBYTE(key), {VK_SHIFT});
    else PressKey(LOBYTE(key));
  }
}

bool SetClipboardText(const std::string& text) {
  if (!OpenClipboard(nullptr)) return false;
  EmptyClipboard();
  HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  bool put = false;
  if (data) {
    std::memcpy(GlobalLock(data), text.c_str(), text.size() + 1);
    GlobalUnlock(data);
    put = SetClipboardData(CF_TEXT, data) != nullptr;
    if (!put) GlobalFree(data);
  }
  CloseClipboard();
  return put;
}

void PumpFor(DWORD ms) {
  DWORD start = GetTickCount();
  do {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    if (ms == 0) break;
    DWORD elapsed = GetTickCount() - start;
    if (elapsed >= ms) break;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, std::min<DWORD>(ms - elapsed, 20), QS_ALLINPUT);
  } while (true);
}

bool WaitUntil(const std::function<bool()>& cond, DWORD timeoutMs) {
  DWORD start = GetTickCount();
  for (;;) {
    if (cond()) return true;
    if (GetTickCount() - start >= timeoutMs) return cond();
    PumpFor(25);
  }
}

std::optional<std::string> ReadRegText(const std::string& keyPath, const std::string& name,
                                       HKEY root) {
  HKEY key;
  if (RegOpenKeyExA(root, keyPath.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return {};
  DWORD type = 0, size = 0;
  std::optional<std::string> result;
  if (RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
      (type == REG_SZ || type == REG_EXPAND_SZ)) {
    std::string data(size + 1, '\0');
    if (RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()),
                         &size) == ERROR_SUCCESS) {
      data.resize(strnlen(data.c_str(), size));
      result = data;
    }
  }
  RegCloseKey(key);
  return result;
}

bool RegKeyExists(const std::string& keyPath, HKEY root) {
  HKEY key;
  if (RegOpenKeyExA(root, keyPath.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

void WriteRegText(const std::string& keyPath, const std::string& name, const std::string& value,
                  HKEY root) {
  HKEY key;
  if (RegCreateKeyExA(root, keyPath.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
      ERROR_SUCCESS)
    return;
  RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                 static_cast<DWORD>(value.size() + 1));
  RegCloseKey(key);
}

void WriteRegDword(const std::string& keyPath, const std::string& name, DWORD value, HKEY root) {
  HKEY key;
  if (RegCreateKeyExA(root, keyPath.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
      ERROR_SUCCESS)
    return;
  RegSetValueExA(key, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                 sizeof value);
  RegCloseKey(key);
}

void DeleteRegValue(const std::string& keyPath, const std::string& name, HKEY root) {
  HKEY key;
  if (RegOpenKeyExA(root, keyPath.c_str(), 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
  RegDeleteValueA(key, name.c_str());
  RegCloseKey(key);
}

void DeleteRegTree(const std::string& keyPath, HKEY root) { DeleteTreeUnder(root, keyPath); }

std::vector<std::string> RegSnapshot(const std::string& keyPath, HKEY root) {
  std::vector<std::string> out;
  HKEY key;
  if (RegOpenKeyExA(root, keyPath.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return out;
  out.push_back(keyPath + "\\");
  Snapshot(key, keyPath, out);
  RegCloseKey(key);
  std::sort(out.begin(), out.end());
  return out;
}

std::string DateText(const SYSTEMTIME& st) {
  char buffer[64] = {};
  GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, buffer, sizeof buffer);
  return buffer;
}

std::string TimeText(const SYSTEMTIME& st) {
  char buffer[64] = {};
  GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &st, nullptr, buffer, sizeof buffer);
  return buffer;
}

SYSTEMTIME SecondsFromNow(int seconds) {
  SYSTEMTIME st{};
  GetLocalTime(&st);
  FILETIME ft{};
  SystemTimeToFileTime(&st, &ft);
  ULARGE_INTEGER u{};
  u.LowPart = ft.dwLowDateTime;
  u.HighPart = ft.dwHighDateTime;
  u.QuadPart += static_cast<ULONGLONG>(static_cast<LONGLONG>(seconds) * 10000000LL);
  ft.dwLowDateTime = u.LowPart;
  ft.dwHighDateTime = u.HighPart;
  FileTimeToSystemTime(&ft, &st);
  return st;
}

SYSTEMTIME DaysFromToday(int days) { return SecondsFromNow(days * 86400); }

bool FileExists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::string> FolderSnapshot(const std::string& folder) {
  std::vector<std::string> out;
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((folder + "*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return out;
  do {
    std::string name = fd.cFileName;
    if (name == "." || name == "..") continue;
    out.push_back(name + ":" + std::to_string(fd.nFileSizeLow));
  } while (FindNextFileA(h, &fd));
  FindClose(h);
  std::sort(out.begin(), out.end());
  return out;
}

void PendraE2eTest::SetUp() {
  ASSERT_FALSE(BuiltPendraExe().empty()) << "no Pendra.exe given";
  static int counter = 0;
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  folder_ = std::string(temp) + "pendra-e2e-" + std::to_string(GetCurrentProcessId()) + "-" +
            std::to_string(++counter) + "\\";
  root_ = folder_;
  wideExe_.clear();
  RemoveFolder(folder_);
  ASSERT_TRUE(CreateDirectoryA(folder_.c_str(), nullptr)) << folder_;
  ASSERT_TRUE(CopyFileA(BuiltPendraExe().c_str(), ExePath().c_str(), FALSE))
      << "cannot copy " << BuiltPendraExe();
  std::string builtFolder = FolderOf(BuiltPendraExe());
  for (const char* f : {"check.bmp", "undo.bmp"})
    CopyFileA((builtFolder + f).c_str(), PathOf(f).c_str(), FALSE);
  DeleteRegTree(kSettingsRoot);
  DeleteRegValue(kRunKey, "Pendra");
}

void PendraE2eTest::TearDown() {
  for (auto& p : started_) p->Kill();
  started_.clear();
  PumpFor(0);
  if (!root_.empty()) RemoveFolder(root_);
}

void PendraE2eTest::MoveProgramFolderInto(const std::wstring& folders) {
  const std::vector<std::string> files = FolderSnapshot(folder_);
  std::wstring folder = Wide(folder_);
  for (std::size_t start = 0; start < folders.size();) {
    const std::size_t end = std::min(folders.find(L'\\', start), folders.size());
    folder += folders.substr(start, end - start) + L"\\";
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    start = end + 1;
  }
  for (const std::string& entry : files) {
    const std::wstring name = Wide(entry.substr(0, entry.rfind(':')));
    ASSERT_TRUE(MoveFileW((Wide(folder_) + name).c_str(), (folder + name).c_str()));
  }
  wchar_t shortPath[MAX_PATH] = {};
  ASSERT_GT(GetShortPathNameW(folder.c_str(), shortPath, MAX_PATH), 0u);
  char ansi[MAX_PATH] = {};
  BOOL lost = FALSE;
  WideCharToMultiByte(CP_ACP, 0, shortPath, -1, ansi, MAX_PATH, nullptr, &lost);
  ASSERT_FALSE(lost) << "the short path is outside the code page too";
  folder_ = ansi;
  wideExe_ = folder + L"Pendra.exe";
}

PendraProcess& PendraE2eTest::StartPendra(DWORD timeoutMs) {
  started_.push_back(std::make_unique<PendraProcess>());
  PendraProcess& p = *started_.back();
  EXPECT_TRUE(wideExe_.empty() ? p.Start(ExePath(), timeoutMs) : p.Start(wideExe_, timeoutMs))
      << "cannot start " << ExePath();
  return p;
}

PendraProcess& PendraE2eTest::StartPendraUnder(const std::string& unixEnvironment) {
  started_.push_back(std::make_unique<PendraProcess>());
  PendraProcess& p = *started_.back();
  EXPECT_TRUE(p.StartUnder(ExePath(), unixEnvironment)) << "cannot start " << ExePath();
  return p;
}

DWORD PendraE2eTest::CloseTray(PendraProcess& p, DWORD timeoutMs) {
  HWND tray = FindWindowOf(p.Pid(), "TfrmTray", "frmTray");
  if (!tray) return p.Running() ? kNotExited : p.WaitExit(0);
  Post(tray, WM_CLOSE);
  return p.WaitExit(timeoutMs);
}

}  // namespace pendra::e2e
