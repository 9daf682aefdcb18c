#include "tests/win/test_env_win.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <mutex>

#include "platform/application_win.h"
#include "platform/message_loop_win.h"
#include "settings/data_folder.h"
#include "settings/reg_ini.h"
#include "settings/registry_win.h"

namespace pendra::test {

namespace {
std::mutex g_clockMutex;
}  // namespace

DateTime FakeClock::Now() {
  std::lock_guard<std::mutex> lock(g_clockMutex);
  return now_;
}

void FakeClock::Set(int y, int mo, int d, int h, int mi, int s) {
  std::lock_guard<std::mutex> lock(g_clockMutex);
  now_ = {{y, mo, d}, {h, mi, s}};
}

void FakeClock::AdvanceSeconds(int seconds) {
  std::lock_guard<std::mutex> lock(g_clockMutex);
  int total = SecondsOfDay(now_.time) + seconds;
  int days = 0;
  while (total >= 86400) { total -= 86400; ++days; }
  while (total < 0) { total += 86400; --days; }
  now_.time = TimeFromSeconds(total);
  now_.date = AddDays(now_.date, days);
}

void FakeDialogs::ShowMessage(const std::string& text, const std::string& caption, MsgIcon icon) {
  shown.push_back({text, caption, icon});
  if (duringBox) {
    auto hook = duringBox;
    hook(shown.back());
  }
}

bool FakeDialogs::Confirm(const std::string& text) {
  confirmations.push_back(text);
  if (confirmAnswers.empty()) return false;
  bool answer = confirmAnswers.front();
  confirmAnswers.pop_front();
  return answer;
}

YesNoCancel FakeDialogs::AskYesNoCancel(NativeWindow owner, const std::string& text) {
  questions.push_back(text);
  questionOwners.push_back(owner);
  if (questionAnswers.empty()) return YesNoCancel::Cancel;
  const YesNoCancel answer = questionAnswers.front();
  questionAnswers.pop_front();
  return answer;
}

bool FakeDialogs::OpenFile(const FileDialogRequest& request, std::string& chosenPath) {
  openRequests.push_back(request);
  if (openAnswers.empty()) return false;
  std::string answer = openAnswers.front();
  openAnswers.pop_front();
  if (answer.empty()) return false;
  chosenPath = answer;
  return true;
}

bool FakeDialogs::SaveFile(const FileDialogRequest& request, std::string& chosenPath) {
  saveRequests.push_back(request);
  if (saveAnswers.empty()) return false;
  std::string answer = saveAnswers.front();
  saveAnswers.pop_front();
  if (answer.empty()) return false;
  chosenPath = answer;
  return true;
}

bool FakeDialogs::PickFont(NativeWindow, FontSpec& font) {
  fontRequests.push_back(font);
  if (fontAnswers.empty()) return false;
  std::optional<FontSpec> answer = fontAnswers.front();
  fontAnswers.pop_front();
  if (!answer) return false;
  font = *answer;
  return true;
}

std::string FakeDialogs::InputBox(NativeWindow owner, const std::string& caption,
                                  const std::string& prompt, const std::string& text,
                                  int maxLength) {
  inputsAsked.push_back({owner, caption, prompt, text, maxLength});
  if (inputAnswers.empty()) return text;
  std::optional<std::string> answer = inputAnswers.front();
  inputAnswers.pop_front();
  return answer ? answer->substr(0, static_cast<std::size_t>(maxLength)) : text;
}

std::vector<ShownMessage> FakeDialogs::Errors() const {
  std::vector<ShownMessage> out;
  for (const auto& m : shown)
    if (m.icon == MsgIcon::Stop) out.push_back(m);
  return out;
}

namespace {

std::string ExeFolder() {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string s(path);
  return s.substr(0, s.find_last_of('\\') + 1);
}

void EmptyFolder(const std::string& dir) {
  WIN32_FIND_DATAA found;
  HANDLE h = FindFirstFileA((dir + "*").c_str(), &found);
  if (h == INVALID_HANDLE_VALUE) return;
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    const std::string path = dir + found.cFileName;
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(path.c_str());
  } while (FindNextFileA(h, &found));
  FindClose(h);
}

WinRegistry& Registry() {
  static WinRegistry registry;
  return registry;
}

}  // namespace

void Env::Reset() {
  clock = FakeClock{};
  locale = FakeLocale{};
  dialogs = FakeDialogs{};
  sound = FakeSound{};
  shell = FakeShell{};
  help = FakeHelp{};
  printer = FakePrinter{};
  display = FakeDisplay{};
  machine = MemoryRegistry{};

  // Wine reuses process ids, so the name also carries the start time; a folder
  // left by an earlier run is emptied all the same.
  static int counter = 0;
  static const std::string runId = std::to_string(GetCurrentProcessId()) + "-" +
                                   std::to_string(GetTickCount());
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  folder = std::string(temp) + "pendra-test-" + runId + "-" + std::to_string(++counter) + "\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  EmptyFolder(folder);
  for (const char* f : {"check.bmp", "undo.bmp"})
    CopyFileA((ExeFolder() + f).c_str(), (folder + f).c_str(), FALSE);

  Registry().DeleteTree(kPendraKey);

  Services& s = Svc();
  s.clock = &clock;
  s.locale = &locale;
  s.dialogs = &dialogs;
  s.sound = &sound;
  s.shell = &shell;
  s.help = &help;
  s.printer = &printer;
  s.display = &display;
  s.registry = &Registry();
  s.programFolderReadOnly = false;
  s.machine = &machine;
  s.programFolder = folder;
  s.exePath = folder + "Pendra.exe";
  // What the run knows of the data files starts afresh with each test.
  data = std::make_unique<DataFolder>(folder, [this] { return clock.Now(); });
  s.data = data.get();
}

Env& TestEnv() {
  static Env env;
  return env;
}

void PumpMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

void Click(HWND button) {
  SendMessageA(button, BM_CLICK, 0, 0);
  PumpMessages();
}

void MenuCommand(HWND window, int id) {
  SendMessageA(window, WM_COMMAND, MAKEWPARAM(id, 0), 0);
  PumpMessages();
}

void TypeUnicode(HWND control, wchar_t c) {
  SetForegroundWindow(GetAncestor(control, GA_ROOT));
  SetFocus(control);
  INPUT key[2] = {{INPUT_KEYBOARD}, {INPUT_KEYBOARD}};
  key[0].ki = {0, static_cast<WORD>(c), KEYEVENTF_UNICODE, 0, 0};
  key[1].ki = {0, static_cast<WORD>(c), KEYEVENTF_UNICODE | KEYEVENTF_KEYUP, 0, 0};
  SendInput(2, key, sizeof(INPUT));
  PumpMessages();
}

std::wstring Utf8ToWide(const std::string& utf8) {
  std::wstring wide(utf8.size(), L'\0');
  wide.resize(static_cast<std::size_t>(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()),
                                                           wide.data(), static_cast<int>(wide.size()))));
  return wide;
}

std::string Utf16File(const std::string& utf8, TextEncoding encoding) {
  const std::wstring wide = Utf8ToWide(utf8);
  return std::string(MarkOf(encoding)) +
         ToUtf16Bytes(std::u16string_view(reinterpret_cast<const char16_t*>(wide.data()), wide.size()), encoding);
}

void SetClipboardUnicode(const std::wstring& text) {
  if (!OpenClipboard(nullptr)) return;
  EmptyClipboard();
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
  std::memcpy(GlobalLock(memory), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
  GlobalUnlock(memory);
  SetClipboardData(CF_UNICODETEXT, memory);
  CloseClipboard();
}

void PressKey(HWND control, WPARAM vk, char ch) {
  SendMessageA(control, WM_KEYDOWN, vk, 1);
  if (ch) SendMessageA(control, WM_CHAR, static_cast<WPARAM>(static_cast<unsigned char>(ch)), 1);
  SendMessageA(control, WM_KEYUP, vk, static_cast<LPARAM>(0xC0000001u));
  PumpMessages();
}

void KeyThroughLoop(WPARAM vk, std::initializer_list<int> held, HWND to) {
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  for (int h : held) keys[h] = 0x80;
  SetKeyboardState(keys);
  if (!to) to = GetFocus();
  const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyA(static_cast<UINT>(vk), 0)) << 16;
  PostMessageA(to, WM_KEYDOWN, vk, scan | 1);
  PostMessageA(to, WM_KEYUP, vk, scan | static_cast<LPARAM>(0xC0000001u));
  for (MSG msg; PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);) DispatchProgramMessage(msg);
  for (int h : held) keys[h] = 0;
  SetKeyboardState(keys);
}

}  // namespace pendra::test
