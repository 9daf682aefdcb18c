// Saves that a kill cannot tear. Pendra.exe is killed at random moments while
// it saves each kind of file; afterwards the file holds its old or its new
// content whole, every other file is as it was, and the next start reads
// everything. The program folder is kept from one start to the next, so each
// start also meets whatever the kill before it left behind.
//
// PENDRA_KILLS sets the number of kills per kind (default 10) and
// PENDRA_KILL_SEED the random seed. With PENDRA_KILL_BY=unix the test does
// not kill by itself: scripts/kill-test.sh reads its requests and kills -9
// the Wine process of the Pendra.exe in the test's folder.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <string>

#include "app/tray_window_win.h"
#include "notes/notebook_window_win.h"
#include "notes/tab_list_dialog_win.h"
#include "reminders/reminder_page_win.h"
#include "settings/list_file.h"
#include "tests/e2e/e2e_harness.h"
#include "tests/e2e/list_box_text.h"
#include "todo/todo_window_win.h"

namespace pendra::e2e {
namespace {

constexpr const char* kEventsKey = "Software\\Tavrin Software\\Pendra\\Reminder\\Events";
constexpr const char* kNotebookTabKey = "Software\\Tavrin Software\\Pendra\\Pendra\\Tab";

int EnvNumber(const char* name, int def) {
  const char* value = std::getenv(name);
  return value && *value ? std::atoi(value) : def;
}
bool KilledFromUnix() {
  const char* by = std::getenv("PENDRA_KILL_BY");
  return by && std::string(by) == "unix";
}

double NowMs() {
  static const double perMs = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart) / 1000.0;
  }();
  LARGE_INTEGER c;
  QueryPerformanceCounter(&c);
  return static_cast<double>(c.QuadPart) / perMs;
}

// The rows a list control shows are the lines of its file, whole.
void ExpectListShows(HWND list, const Lines& lines) {
  ASSERT_TRUE(WaitUntil([&] { return Send(list, LB_GETCOUNT) == static_cast<LRESULT>(lines.size()); }))
      << Send(list, LB_GETCOUNT) << " rows for " << lines.size() << " lines";
  if (lines.empty()) return;
  for (size_t i : {size_t{0}, lines.size() / 2, lines.size() - 1})
    EXPECT_EQ(ListBoxText(list, static_cast<int>(i)), lines[i]) << "row " << i;
}

HWND Tray(PendraProcess& p) { return WaitForWindowOf(p.Pid(), "TfrmTray", "frmTray"); }

// A rich edit control holds a line end as CR alone.
std::string WithoutLineFeeds(std::string text) {
  std::erase(text, '\n');
  return text;
}

Lines MovedToTop(Lines lines, size_t row) {
  std::string moved = std::move(lines[row]);
  lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(row));
  lines.insert(lines.begin(), std::move(moved));
  return lines;
}

// A page of text about `bytes` long whose every line names the cycle.
std::string PageText(int cycle, size_t bytes) {
  std::string text;
  for (int line = 0; text.size() < bytes; ++line)
    text += "cycle " + std::to_string(cycle) + ", line " + std::to_string(line) +
            ": the quick brown fox jumps over the lazy dog\r\n";
  text.resize(text.size() - 2);
  return text;
}

// One kind of save: the files it starts from, what a start must show of
// them, and the command that saves.
class SaveKind {
 public:
  virtual ~SaveKind() = default;
  virtual const char* Name() const = 0;
  virtual const char* File() const = 0;
  // Writes the file the kind saves, in its first state.
  virtual std::string FirstContent() const = 0;
  // Checks that the start shows what the file holds, then readies the save;
  // returns the bytes the save writes, or nullopt when the file is too torn
  // to ready it (a failure of the test, already recorded).
  virtual std::optional<std::string> Arm(PendraProcess& p, const std::string& folder, int cycle,
                                         std::mt19937& rng) = 0;
  virtual void Fire(int cycle) = 0;

 protected:
  static size_t Pick(std::mt19937& rng, size_t from, size_t to) {
    return std::uniform_int_distribution<size_t>(from, to)(rng);
  }
  // A kill that tore the file can leave fewer lines than the move needs;
  // that is the fault the test looks for, reported, not a row past the end.
  static bool Holds(const Lines& lines, size_t least, const std::string& file) {
    if (lines.size() >= least) return true;
    ADD_FAILURE() << file << " torn: " << lines.size() << " lines, the first content had more";
    return false;
  }
  // A window not found fails the cycle here, before keys go to nothing.
  static bool Found(HWND window, const char* what) {
    if (window) return true;
    ADD_FAILURE() << what << " not found";
    return false;
  }
};

// A one-time list of several MB rewritten by Move To Top.
class ReminderMove : public SaveKind {
 public:
  const char* Name() const override { return "reminder list moved"; }
  const char* File() const override { return "Message.lst"; }
  std::string FirstContent() const override {
    const std::string at = TimeText(DaysFromToday(-1)) + "-" + DateText(DaysFromToday(-1)) + "--";
    Lines lines;
    for (int i = 0; i < 30000; ++i)
      lines.push_back(at + "reminder " + std::to_string(i) + " " + std::string(90, 'r'));
    return JoinLines(lines);
  }
  std::optional<std::string> Arm(PendraProcess& p, const std::string& folder, int,
                                 std::mt19937& rng) override {
    frm_ = ShowFromTray(p, kReminders1, "TfrmMain");
    HWND list = ChildWithId(frm_, ControlId(Kind::OneTime, Ctl::list));
    button_ = ChildWithId(frm_, ControlId(Kind::OneTime, Ctl::btnMoveTop));
    if (!Found(list, "the one-time list") || !Found(button_, "Move To Top")) return std::nullopt;
    const Lines lines = SplitLines(ReadFileBytes(folder + File()));
    ExpectListShows(list, lines);
    if (!Holds(lines, 2, File())) return std::nullopt;
    const size_t row = Pick(rng, 1, lines.size() - 1);
    Send(list, LB_SETCURSEL, row);
    return JoinLines(MovedToTop(lines, row));
  }
  void Fire(int) override {
    Post(frm_, WM_COMMAND, MAKEWPARAM(ControlId(Kind::OneTime, Ctl::btnMoveTop), BN_CLICKED),
         reinterpret_cast<LPARAM>(button_));
  }

 private:
  HWND frm_ = nullptr, button_ = nullptr;
};

// The notebook's first page, saved by a switch to the next tab or by the
// window's close, in turn.
class NotebookPage : public SaveKind {
 public:
  const char* Name() const override { return "notebook page (tab switch, close)"; }
  const char* File() const override { return "ABC.pnd"; }
  std::string FirstContent() const override { return PageText(-1, kBytes); }
  std::optional<std::string> Arm(PendraProcess& p, const std::string& folder, int cycle,
                                 std::mt19937&) override {
    notebook_ = ShowFromTray(p, kMnuPendra, "TfrmPendra");
    tabs_ = ChildWithId(notebook_, TfrmPendra::tbcPendraId);
    HWND page = FindChild(notebook_, "RichEdit20A");
    if (!Found(tabs_, "the tabs") || !Found(page, "the page")) return std::nullopt;
    const std::string stored = WithoutLineFeeds(ReadFileBytes(folder + File()));
    EXPECT_TRUE(WaitUntil([&] { return WithoutLineFeeds(WindowText(page)) == stored; }, 5000));
    const std::string text = PageText(cycle, kBytes);
    Send(page, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), 60000);
    return text;
  }
  void Fire(int cycle) override {
    if (cycle % 2) Post(notebook_, WM_CLOSE);
    else Post(tabs_, WM_KEYDOWN, VK_RIGHT);
  }

 private:
  static constexpr size_t kBytes = 40000;
  HWND notebook_ = nullptr, tabs_ = nullptr;
};

// Quick.qnf, saved by the close of its window.
class QuickNote : public SaveKind {
 public:
  const char* Name() const override { return "quick note (close)"; }
  const char* File() const override { return "Quick.qnf"; }
  std::string FirstContent() const override { return PageText(-1, kBytes); }
  std::optional<std::string> Arm(PendraProcess& p, const std::string& folder, int cycle,
                                 std::mt19937&) override {
    window_ = ShowFromTray(p, kQuickNotes1, "TfrmQuickie");
    HWND note = window_ ? FindChild(window_, "RichEdit20A") : nullptr;
    if (!Found(note, "the note")) return std::nullopt;
    const std::string stored = WithoutLineFeeds(ReadFileBytes(folder + File()));
    EXPECT_TRUE(WaitUntil([&] { return WithoutLineFeeds(WindowText(note)) == stored; }, 5000));
    const std::string text = PageText(cycle, kBytes);
    Send(note, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), 60000);
    return text;
  }
  void Fire(int) override { Post(window_, WM_CLOSE); }

 private:
  static constexpr size_t kBytes = 40000;
  HWND window_ = nullptr;
};

// ToDo.lst after an item moved to the top, saved by "Save changes" or by
// the window's close, in turn.
class ToDoSave : public SaveKind {
 public:
  const char* Name() const override { return "to-do list (Save changes, close)"; }
  const char* File() const override { return "ToDo.lst"; }
  std::string FirstContent() const override {
    Lines items;
    for (int i = 0; i < 10000; ++i)
      items.push_back(" 1/2/2001         item " + std::to_string(i) + std::string(40, 't'));
    return JoinLines(items);
  }
  std::optional<std::string> Arm(PendraProcess& p, const std::string& folder, int,
                                 std::mt19937& rng) override {
    window_ = ShowFromTray(p, kToDo, "TfrmToDo");
    HWND list = window_ ? FindChild(window_, "ListBox") : nullptr;
    if (!Found(list, "the list")) return std::nullopt;
    const Lines lines = SplitLines(ReadFileBytes(folder + File()));
    ExpectListShows(list, lines);
    if (!Holds(lines, 2, File())) return std::nullopt;
    const size_t row = Pick(rng, 1, lines.size() - 1);
    Send(list, LB_SETSEL, TRUE, static_cast<LPARAM>(row));
    Send(list, LB_SETCARETINDEX, row);
    Post(window_, WM_COMMAND, TfrmToDo::kBtnMoveTop);
    EXPECT_TRUE(WaitUntil([&] { return ListBoxText(list, 0) == lines[row]; }, 5000));
    return JoinLines(MovedToTop(lines, row));
  }
  void Fire(int cycle) override {
    if (cycle % 2) Post(window_, WM_CLOSE);
    else Post(window_, WM_COMMAND, TfrmToDo::kBtnSave);
  }

 private:
  HWND window_ = nullptr;
};

// Tabs.lst after a tab moved down in the tab list dialog, saved by its OK.
class TabListSave : public SaveKind {
 public:
  const char* Name() const override { return "tab list (Edit Tabs OK)"; }
  const char* File() const override { return "Tabs.lst"; }
  std::string FirstContent() const override {
    Lines tabs{"ABC"};  // the first tab keeps its place, and its page
    for (int i = 1; i < 300; ++i) tabs.push_back("Tab number " + std::to_string(i));
    return JoinLines(tabs);
  }
  std::optional<std::string> Arm(PendraProcess& p, const std::string& folder, int,
                                 std::mt19937& rng) override {
    HWND notebook = ShowFromTray(p, kMnuPendra, "TfrmPendra");
    Post(notebook, WM_COMMAND, TfrmPendra::btnEditTabs);
    dialog_ = nullptr;
    WaitUntil([&] {
      dialog_ = FindWindowOf(p.Pid(), "TfrmAddTabs");
      return dialog_ && IsWindowVisible(dialog_);
    });
    HWND list = dialog_ ? ChildWithId(dialog_, TfrmAddTabs::ListBox1) : nullptr;
    if (!Found(list, "the list")) return std::nullopt;
    Lines lines = SplitLines(ReadFileBytes(folder + File()));
    ExpectListShows(list, lines);
    if (!Holds(lines, 3, File())) return std::nullopt;
    const size_t row = Pick(rng, 1, lines.size() - 2);
    Send(list, LB_SETCURSEL, row);
    Post(dialog_, WM_COMMAND, TfrmAddTabs::btnDown);
    EXPECT_TRUE(WaitUntil([&] { return ListBoxText(list, static_cast<int>(row) + 1) == lines[row]; }, 5000));
    std::swap(lines[row], lines[row + 1]);
    return JoinLines(lines);
  }
  void Fire(int) override { Post(dialog_, WM_COMMAND, IDOK); }

 private:
  HWND dialog_ = nullptr;
};

struct KindCase {
  const char* id;
  std::unique_ptr<SaveKind> (*make)();
};

template <class T>
std::unique_ptr<SaveKind> Make() {
  return std::make_unique<T>();
}

const KindCase kKinds[] = {
    {"ReminderListMove", Make<ReminderMove>}, {"NotebookPage", Make<NotebookPage>},
    {"QuickNote", Make<QuickNote>},           {"ToDoList", Make<ToDoSave>},
    {"TabList", Make<TabListSave>},
};

struct Counts {
  int kills = 0, old = 0, fresh = 0, torn = 0, left = 0;
};

class KillE2e : public PendraE2eTest, public testing::WithParamInterface<KindCase> {
 protected:
  // Every file of the folder but the program's own and the earlier versions
  // kept, by name.
  std::map<std::string, std::string> DataFiles() const {
    std::map<std::string, std::string> files;
    for (const std::string& entry : FolderSnapshot(Folder())) {
      const std::string name = entry.substr(0, entry.rfind(':'));
      if (name == "Pendra.exe" || name == "check.bmp" || name == "undo.bmp" || name == "Backup") continue;
      if (name.size() > 4 && name.compare(name.size() - 4, 4, ".tmp") == 0) continue;
      files[name] = ReadFileBytes(PathOf(name));
    }
    return files;
  }
  int TemporariesOf(const std::string& name) const {
    int count = 0;
    for (const std::string& entry : FolderSnapshot(Folder()))
      if (IsTemporaryNameFor(entry.substr(0, entry.rfind(':')), name)) ++count;
    return count;
  }
  FILETIME WrittenAt(const std::string& name) const {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    GetFileAttributesExA(PathOf(name).c_str(), GetFileExInfoStandard, &data);
    return data.ftLastWriteTime;
  }
  bool AnyTemporaryOf(const std::string& name) const {
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((PathOf(name) + ".*.tmp").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return false;
    FindClose(find);
    return true;
  }

  std::string FolderName() const {
    const std::string folder = Folder().substr(0, Folder().size() - 1);
    return folder.substr(folder.rfind('\\') + 1);
  }

  PendraProcess& StartClean() {
    WriteRegText(std::string(kEventsKey) + "\\Last Boot", " Date", DateText(DaysFromToday(0)));
    WriteRegText(kNotebookTabKey, "Active Tab", "0");
    PendraProcess& p = StartPendra();
    EXPECT_TRUE(p.Running());
    EXPECT_TRUE(MessageBoxes(p.Pid()).empty());
    return p;
  }

  // How long after the command the save's temporary file appears, and when
  // the file has been replaced, in ms.
  struct Timing {
    double temporary = 0, replaced = 0;
  };
  Timing Measure(SaveKind& kind, int cycle, std::mt19937& rng) {
    PendraProcess& p = StartClean();
    if (!kind.Arm(p, Folder(), cycle, rng)) return {};
    const FILETIME before = WrittenAt(kind.File());
    Timing t;
    const double start = NowMs();
    kind.Fire(cycle);
    while (NowMs() - start < 15000) {
      if (t.temporary == 0 && AnyTemporaryOf(kind.File())) t.temporary = NowMs() - start;
      const FILETIME now = WrittenAt(kind.File());
      if (CompareFileTime(&now, &before) != 0 && !AnyTemporaryOf(kind.File())) break;
    }
    t.replaced = NowMs() - start;
    if (t.temporary == 0) t.temporary = t.replaced;
    p.Kill();
    return t;
  }

  void KillDuringSave(SaveKind& kind, int cycle, double delayMs, std::mt19937& rng, Counts& c) {
    PendraProcess& p = StartClean();
    const std::map<std::string, std::string> before = DataFiles();
    const std::optional<std::string> armed = kind.Arm(p, Folder(), cycle, rng);
    // A file the kill before tore ends the kills of this kind as a failure.
    ASSERT_TRUE(armed) << "after " << c.kills << " kills";
    const std::string& fresh = *armed;
    const auto found = before.find(kind.File());
    ASSERT_NE(found, before.end()) << kind.File();
    const std::string& old = found->second;
    ASSERT_NE(fresh, old);
    char answer[16];
    if (KilledFromUnix()) {
      // The script finds the Wine process before the command goes, so the
      // delay is not spent looking for it.
      std::printf("pendra-kill-arm %s\n", FolderName().c_str());
      std::fflush(stdout);
      ASSERT_TRUE(std::fgets(answer, sizeof answer, stdin)) << "nobody kills from Unix: run scripts/kill-test.sh";
    }
    if (KilledFromUnix()) {
      // The request takes a while to reach the script and its sleep to start;
      // a ping that goes the same way measures that, and the command goes
      // that long after the request, so the kill falls `delayMs` after it.
      const double ping = NowMs();
      std::printf("pendra-kill-ping\n");
      std::fflush(stdout);
      ASSERT_TRUE(std::fgets(answer, sizeof answer, stdin));
      const double lead = NowMs() - ping;
      std::printf("pendra-kill %d\n", static_cast<int>(delayMs));
      std::fflush(stdout);
      const double asked = NowMs();
      while (NowMs() - asked < lead) Sleep(0);
      kind.Fire(cycle);
      ASSERT_EQ(WaitForSingleObject(p.Handle(), 10000), WAIT_OBJECT_0) << "not killed from Unix";
    } else {
      const double start = NowMs();
      kind.Fire(cycle);
      while (NowMs() - start < delayMs) Sleep(0);
      TerminateProcess(p.Handle(), 9);
      WaitForSingleObject(p.Handle(), 10000);
    }
    ++c.kills;
    const std::string now = ReadFileBytes(PathOf(kind.File()));
    if (now == old) ++c.old;
    else if (now == fresh) ++c.fresh;
    else ++c.torn;
    EXPECT_TRUE(now == old || now == fresh)
        << kind.File() << " torn: " << now.size() << " bytes, old " << old.size() << ", new "
        << fresh.size() << ", killed " << delayMs << " ms after the command";
    if (TemporariesOf(kind.File()) > 0) ++c.left;
    EXPECT_LE(TemporariesOf(kind.File()), 1) << "the next save takes them away";
    for (const auto& [name, bytes] : DataFiles())
      if (name != kind.File()) {
        const auto was = before.find(name);
        EXPECT_TRUE(was != before.end() && was->second == bytes) << name << " changed";
      }
  }
};

TEST_P(KillE2e, EveryFileHoldsItsOldOrItsNewContentWhole) {
  const auto kind = GetParam().make();
  const int kills = EnvNumber("PENDRA_KILLS", 10);
  const auto seed = static_cast<unsigned>(EnvNumber("PENDRA_KILL_SEED", static_cast<int>(GetTickCount())));
  std::mt19937 rng(seed);
  // Every file a start would make is there, so the kills meet only the save.
  WriteFileBytes(PathOf("Quick.qnf"), "");
  WriteFileBytes(PathOf("Tabs.lst"), JoinLines({"ABC", "DEF", "GHI"}));
  WriteFileBytes(PathOf("ABC.pnd"), "page ABC");
  WriteFileBytes(PathOf("DEF.pnd"), "page DEF");
  WriteFileBytes(PathOf(kind->File()), kind->FirstContent());

  // The save's place in time, from one save that is let finish; the kills
  // then fall at random from a little before the temporary file appears to a
  // little after the file has been replaced.
  const Timing t = Measure(*kind, 0, rng);
  const double span = t.replaced - t.temporary;
  const double from = t.temporary / 2, to = t.replaced + span / 2 + 2;
  Counts c;
  for (int cycle = 1; cycle <= kills && !HasFatalFailure(); ++cycle) {
    const double delay = std::uniform_real_distribution<double>(from, to)(rng);
    KillDuringSave(*kind, cycle, delay, rng, c);
  }

  // A last start finds everything; its clean exit saves once more, which
  // takes away what the kills left.
  if (HasFatalFailure()) return;  // a torn file is not armed again
  PendraProcess& p = StartClean();
  ASSERT_TRUE(kind->Arm(p, Folder(), kills + 1, rng));
  Post(Tray(p), WM_COMMAND, kMnuClose);
  EXPECT_EQ(p.WaitExit(), 0u);
  EXPECT_EQ(TemporariesOf(kind->File()), 0);

  std::printf("kill counts, %s (%s, %zu bytes), %s: %d kills, old %d, new %d, torn %d; "
              "%d left a temporary file; the save ran %.0f to %.0f ms after the command, "
              "kills fell %.0f to %.0f ms after it (seed %u)\n",
              kind->Name(), kind->File(), ReadFileBytes(PathOf(kind->File())).size(),
              KilledFromUnix() ? "kill -9" : "TerminateProcess", c.kills, c.old, c.fresh, c.torn,
              c.left, t.temporary, t.replaced, from, to, seed);
  std::fflush(stdout);
  EXPECT_EQ(c.torn, 0);
  // Many kills across the save must meet both outcomes; a few may not.
  if (kills >= 40) {
    EXPECT_GT(c.old, 0);
    EXPECT_GT(c.fresh, 0);
  }
}

INSTANTIATE_TEST_SUITE_P(Saves, KillE2e, testing::ValuesIn(kKinds),
                         [](const testing::TestParamInfo<KindCase>& info) { return info.param.id; });

}  // namespace
}  // namespace pendra::e2e
