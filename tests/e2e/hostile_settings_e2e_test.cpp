// Hostile settings and surroundings met by the running program: registry
// values of the wrong type or far too long, the button pictures gone, a
// locale changed after the entries were stored, and names that no file in
// the program folder may have.
#include <memory>
#include <optional>
#include <regex>

#include "notes/tab_captions.h"
#include "notes/tab_list_dialog_win.h"
#include "tests/e2e/hostile_walk.h"

namespace pendra::e2e {
namespace {

class HostileSettingsE2e : public HostileWalk, public testing::WithParamInterface<HostileCase> {};

TEST_P(HostileSettingsE2e, TheProgramGoesOnAndKeepsEveryFile) { Run(GetParam()); }

// ---- Registry -----------------------------------------------------------------

void WriteRegRaw(const std::string &keyPath, const std::string &name, DWORD type, const std::string &bytes) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, keyPath.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                            nullptr),
            ERROR_SUCCESS);
  RegSetValueExA(key, name.c_str(), 0, type, reinterpret_cast<const BYTE *>(bytes.data()),
                 static_cast<DWORD>(bytes.size()));
  RegCloseKey(key);
}

// The type and bytes of a value; type 0 when it is missing.
std::pair<DWORD, std::string> ReadRegRaw(const std::string &keyPath, const std::string &name) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, keyPath.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return {};
  DWORD type = 0, size = 0;
  std::string bytes;
  if (RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
    bytes.resize(size);
    RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE *>(bytes.data()), &size);
  } else {
    type = 0;
  }
  RegCloseKey(key);
  return {type, bytes};
}

struct Setting {
  std::string key;  // under the program's key, or the full path of the Run key
  std::string name;
  std::string Path() const { return key == kRunKey ? key : std::string(kPendraKey) + "\\" + key; }
};

// Every number and switch the program reads.
std::vector<Setting> NumberSettings() {
  std::vector<Setting> all{{"Tray\\TrayIcon", "NotShowOnDesktop"},
                           {"Tray\\TrayIcon", "TrayShow"},
                           {"Tray\\Start", "StartWithWindows"},
                           {"Reminder\\Events\\Time", "Interval"},
                           {"Reminder\\Events\\Time", "HourInterval"},
                           {"Reminder\\Events\\Time", "MinuteInterval"},
                           {"Reminder\\Events\\Page", "Active Page"},
                           {"ToDo\\Buttons", "Visible"},
                           {"Pendra\\Tab", "Active Tab"}};
  for (const char *window : {"Tray", "Reminder\\Events", "ToDo", "Pendra", "Editor", "Quicknotes"}) {
    all.push_back({std::string(window) + "\\Position", "Top"});
    all.push_back({std::string(window) + "\\Position", "Left"});
    if (std::string(window) == "Tray") continue;
    all.push_back({std::string(window) + "\\Size", "Width"});
    all.push_back({std::string(window) + "\\Size", "Height"});
  }
  for (const char *slot : {"1", "2", "3", "4"}) {
    all.push_back({std::string("Reminder\\Events\\Play Sound") + slot, "Play"});
    all.push_back({std::string("Reminder\\Buttons\\Button") + slot, "Visible"});
  }
  for (const char *window : {"Pendra", "Editor", "Quicknotes"})
    for (const char *name : {"Font Size", "Font Color", "Font Bold", "Font Italic", "Font BoldItalic"})
      all.push_back({std::string(window) + "\\Fonts", name});
  return all;
}

// Every text the program reads, and the Run value it must leave alone. The
// user chose each of them; none may be lost.
std::vector<Setting> TextSettings() {
  // The formats beside the date are the program's own; a spoilt value is as none, without a word.
  std::vector<Setting> all{{"Reminder\\Events\\Last Boot", " Date"},
                           {"Reminder\\Events\\Last Boot", "Formats"},
                           {kRunKey, "Pendra"}};
  for (const char *slot : {"1", "2", "3", "4"})
    all.push_back({"Reminder\\Events\\Alarm Sound", std::string("WaveFileName") + slot});
  for (const char *slot : {"1", "2", "3", "4", "5"}) all.push_back({"Editor", std::string("MRU") + slot});
  for (const char *window : {"Pendra", "Editor", "Quicknotes"})
    all.push_back({std::string(window) + "\\Fonts", "Font Name"});
  return all;
}

// Spoils every setting of the list with a value of that type and bytes.
std::function<void(HostileWalk &)> SpoilAll(std::vector<Setting> settings, DWORD type, std::string bytes) {
  return [=](HostileWalk &) {
    for (const Setting &s : settings) WriteRegRaw(s.Path(), s.name, type, bytes);
  };
}

// The values the user chose are still there, as they were.
std::function<void(HostileWalk &)> KeptAll(std::vector<Setting> settings, DWORD type, std::string bytes) {
  return [=](HostileWalk &) {
    for (const Setting &s : settings) {
      if (s.key.ends_with("Last Boot")) continue;  // rewritten at every exit
      const auto [nowType, nowBytes] = ReadRegRaw(s.Path(), s.name);
      EXPECT_TRUE(nowType == type && nowBytes == bytes) << s.key << "|" << s.name << " was overwritten";
    }
  };
}

void ForgetRun(HostileWalk &) { DeleteRegValue(kRunKey, "Pendra"); }

std::string Dword(DWORD value) { return std::string(reinterpret_cast<const char *>(&value), sizeof value); }

Expect Quiet(HostileWalk &) { return {}; }

// Boxes of the general error handler, one per text.
std::function<Expect(HostileWalk &)> Told(std::vector<std::string> texts) {
  return [=](HostileWalk &) {
    Expect e;
    for (const std::string &text : texts) e.told.push_back("Pendra: " + text);
    return e;
  };
}

std::string WrongType(const std::string &name) { return "Invalid data type for '" + name + "'"; }

// ---- Locale -------------------------------------------------------------------

constexpr const char *kInternational = "Control Panel\\International";

// The user's date and time formats for one case, and back afterwards.
struct LocaleSwap {
  std::string date, time;
  std::optional<std::string> oldDate, oldTime;
  void Set(HostileWalk &) {
    oldDate = ReadRegText(kInternational, "sShortDate");
    oldTime = ReadRegText(kInternational, "sTimeFormat");
    WriteRegText(kInternational, "sShortDate", date);
    WriteRegText(kInternational, "sTimeFormat", time);
  }
  void Back(HostileWalk &) {
    if (oldDate)
      WriteRegText(kInternational, "sShortDate", *oldDate);
    else
      DeleteRegValue(kInternational, "sShortDate");
    if (oldTime)
      WriteRegText(kInternational, "sTimeFormat", *oldTime);
    else
      DeleteRegValue(kInternational, "sTimeFormat");
  }
};

// The entries stay as they were written; the date of the last close, written
// at the exit, shows that the program ran under the new formats.
HostileCase LocaleCase(std::string id, std::string date, std::string time, std::string closeDate) {
  auto swap = std::make_shared<LocaleSwap>(LocaleSwap{date, time, {}, {}});
  return {id, [swap](HostileWalk &t) { swap->Set(t); }, Quiet,
          [closeDate](HostileWalk &) {
            const auto written = ReadRegText(std::string(kEventsKey) + "\\Last Boot", " Date");
            EXPECT_TRUE(written && std::regex_match(*written, std::regex(closeDate)))
                << written.value_or("-");
          },
          [swap](HostileWalk &t) { swap->Back(t); }};
}

// ---- Names no file may have ------------------------------------------------------

// Tab captions that would name no file, or one outside the program folder.
const std::vector<std::string> kBadCaptions{
    "a/b",   "CON",   "..",    "..\\..\\outside", "x:y",    "why?",    "star*", "\"quoted\"",
    "<less", "more>", "pipe|", "tab\there",       "bell\a", "nul.txt", "COM1",  "lpt9.doc"};
// Paths the editor and the alarm sounds have stored: devices, the folders
// above, characters no file name has.
const std::vector<std::string> kBadPaths{"..\\..\\..\\outside.txt", "CON", "C:\\a<b>|c.txt", "\\\\.\\COM1",
                                         "NUL\x01"};

const std::string kEditorKey = std::string(kPendraKey) + "\\Editor";
const std::string kSoundKey = std::string(kEventsKey) + "\\Alarm Sound";

void SpoilNames(HostileWalk &t) {
  Lines tabs = kBadCaptions;
  tabs.push_back("ABC");
  WriteFileBytes(t.PathOf("Tabs.lst"), JoinLines(tabs));
  for (std::size_t i = 0; i < 5; ++i) WriteRegText(kEditorKey, "MRU" + std::to_string(i + 1), kBadPaths[i]);
  for (std::size_t i = 0; i < 4; ++i)
    WriteRegText(kSoundKey, "WaveFileName" + std::to_string(i + 1), kBadPaths[i]);
}

void KeptNames(HostileWalk &t) {
  for (std::size_t i = 0; i < 5; ++i)
    EXPECT_EQ(ReadRegText(kEditorKey, "MRU" + std::to_string(i + 1)), kBadPaths[i]);
  for (std::size_t i = 0; i < 4; ++i)
    EXPECT_EQ(ReadRegText(kSoundKey, "WaveFileName" + std::to_string(i + 1)), kBadPaths[i]);
  // Nothing new in the program folder, nor beside it.
  std::vector<std::string> names;
  for (const std::string &entry : FolderSnapshot(t.Folder()))
    names.push_back(entry.substr(0, entry.rfind(':')));
  EXPECT_EQ(names, (std::vector<std::string>{"ABC.pnd", "DEF.pnd", "DailyMessage.lst", "DayMessage.lst",
                                             "Message.lst", "MonthMessage.lst", "Pendra.exe", "Quick.qnf",
                                             "Tabs.lst", "ToDo.lst", "check.bmp", "undo.bmp"}));
  EXPECT_FALSE(FileExists(t.Folder() + "..\\outside.pnd"));
}

// ---- Cases --------------------------------------------------------------------

std::vector<HostileCase> Cases() {
  std::vector<HostileCase> cases;
  const std::string longText(100000, 'x');
  // A wrong number ends the step that reads it, once per window that shows;
  // the fonts read as their defaults without a word.
  cases.push_back(
      {"NumbersOfTheWrongType", SpoilAll(NumberSettings(), REG_DWORD, Dword(7)),
       Told({WrongType("NotShowOnDeskTop"), WrongType("TrayShow"), WrongType("StartWithWindows"),
             WrongType("Interval"), WrongType("HourInterval"), WrongType("MinuteInterval"), WrongType("Play"),
             WrongType("Play"), WrongType("Play"), WrongType("Play"), WrongType("Visible"), WrongType("Top"),
             WrongType("Top"), WrongType("Top"), WrongType("Top")}),
       nullptr, nullptr});
  cases.push_back({"TextsOfTheWrongType", SpoilAll(TextSettings(), REG_BINARY, "\x01\x02\x03"),
                   Told({WrongType(" Date"), WrongType("MRU1"), WrongType("WaveFileName1"),
                         WrongType("WaveFileName2"), WrongType("WaveFileName3"), WrongType("WaveFileName4")}),
                   KeptAll(TextSettings(), REG_BINARY, "\x01\x02\x03"), ForgetRun});
  cases.push_back({"TextsFarTooLong",
                   [=](HostileWalk &t) {
                     SpoilAll(TextSettings(), REG_SZ, longText + '\0')(t);
                     SpoilAll(NumberSettings(), REG_SZ, std::string(5000, '9') + '\0')(t);
                   },
                   Quiet, KeptAll(TextSettings(), REG_SZ, longText + '\0'), ForgetRun});
  cases.push_back(
      {"PicturesMissing",
       [](HostileWalk &t) {
         DeleteFileA(t.PathOf("check.bmp").c_str());
         DeleteFileA(t.PathOf("undo.bmp").c_str());
       },
       [](HostileWalk &t) { return Told({"Cannot open file " + t.PathOf("check.bmp") + "."})(t); }, nullptr,
       nullptr});
  cases.push_back(LocaleCase("LocaleGerman", "dd.MM.yyyy", "HH:mm:ss", "[0-9]{2}\\.[0-9]{2}\\.[0-9]{4}"));
  cases.push_back(LocaleCase("LocaleIso", "yyyy-MM-dd", "HH:mm:ss", "[0-9]{4}-[0-9]{2}-[0-9]{2}"));
  // The first two tabs are shown; each says once why its page stays empty.
  cases.push_back({"ForbiddenNames", SpoilNames,
                   [](HostileWalk &) {
                     Expect e;
                     for (const std::string caption : {"a/b", "CON"})
                       e.told.push_back("Pendra: The page of the tab \"" + caption +
                                        "\" cannot be stored in a file, so it stays empty. " +
                                        CaptionFaultReason(CheckTabCaption("", caption, AnsiCodePage()), "", AnsiCodePage()) +
                                        " Remove the tab under Edit Tabs and add it with another name.");
                     return e;
                   },
                   KeptNames, nullptr});
  return cases;
}

INSTANTIATE_TEST_SUITE_P(Settings, HostileSettingsE2e, testing::ValuesIn(Cases()),
                         [](const testing::TestParamInfo<HostileCase> &info) { return info.param.id; });

// The tab list dialog's own input box refuses every caption that names no
// file in the program folder, with one message each, and keeps the list.
class TabNameE2e : public HostileWalk {};

TEST_F(TabNameE2e, TheTabListRefusesEveryNameNoPageFileCanHave) {
  PendraProcess &p = StartPendra();
  HWND tray = WaitForWindowOf(p.Pid(), "TfrmTray", "frmTray");
  HWND notebook = Show(p, tray, kMnuPendra, "TfrmPendra");
  ASSERT_TRUE(notebook);
  Post(notebook, WM_COMMAND, TfrmPendra::btnEditTabs);
  HWND dialog = nullptr;
  ASSERT_TRUE(WaitUntil([&] {
    dialog = FindWindowOf(p.Pid(), "TfrmAddTabs");
    return dialog && IsWindowVisible(dialog);
  }));
  HWND list = nullptr;
  for (const auto &w : ChildWindows(dialog))
    if (GetDlgCtrlID(w.hwnd) == TfrmAddTabs::ListBox1) list = w.hwnd;
  ASSERT_TRUE(list);
  for (const std::string &caption : kBadCaptions) {
    Post(dialog, WM_COMMAND, TfrmAddTabs::btnAdd);
    const auto input = WaitForMessageBox(p.Pid());
    ASSERT_TRUE(input && input->caption == "Add New Tab") << caption;
    HWND edit = FindChild(input->hwnd, "Edit");
    ASSERT_TRUE(edit);
    Send(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(caption.c_str()));
    ASSERT_TRUE(PressButton(*input, IDOK));
    const auto told = WaitForMessageBox(p.Pid());
    ASSERT_TRUE(told) << caption;
    EXPECT_EQ(told->caption, "Pendra");
    EXPECT_EQ(told->text.find("The tab \"" + caption + "\" cannot be added. A tab name may "), 0u)
        << told->text;
    PressButton(*told, IDOK);
  }
  EXPECT_EQ(Send(list, LB_GETCOUNT), 2);
  Post(dialog, WM_COMMAND, TfrmAddTabs::btnOK);
  Answer(p);
  Post(tray, WM_COMMAND, kMnuClose);
  EXPECT_EQ(p.WaitExit(), 0u);
  EXPECT_EQ(ReadFileBytes(PathOf("Tabs.lst")), "ABC\r\nDEF\r\n");
  EXPECT_TRUE(boxes_.empty());
}

}  // namespace
}  // namespace pendra::e2e
