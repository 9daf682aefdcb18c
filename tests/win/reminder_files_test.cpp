// List files that cannot be read or written: the reminder window never writes
// a list it could not read, never rewrites one that did not change, and one
// failing file keeps neither the others nor the user from going on.
#include <map>

#include "tests/win/reminder_window_fixture.h"

namespace pendra::test {
namespace {

// A file held open without sharing, as a backup or sync tool holds it.
class HeldFile {
 public:
  explicit HeldFile(const std::string& path)
      : handle_(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr)) {}
  ~HeldFile() { Release(); }
  bool Held() const { return handle_ != INVALID_HANDLE_VALUE; }
  void Release() {
    if (Held()) CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
  }

 private:
  HANDLE handle_;
};

void SetReadOnly(const std::string& path, bool on) {
  SetFileAttributesA(path.c_str(), on ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL);
}

class ListFilesTest : public ReminderWindowTest {
 protected:
  // Every list file as bytes. LF line ends, so that any rewrite shows.
  void WriteAll(const std::map<Kind, std::string>& lines) {
    for (const auto& [kind, line] : lines) WriteFileBytes(PathOf(kind), line + "\n");
  }
  std::map<Kind, std::string> Bytes() {
    std::map<Kind, std::string> out;
    for (Kind k : kAllKinds) out[k] = ReadFileBytes(PathOf(k));
    return out;
  }
  static std::string Unread(Kind kind) { return UnreadListMessage(PathOf(kind)) + "."; }
  static std::string CannotCreate(Kind kind) { return "Cannot create file " + PathOf(kind) + "."; }
};

TEST_F(ListFilesTest, AListThatCannotBeReadIsNeverWrittenAndIsReadOnceItCan) {
  WriteAll({{Kind::OneTime, "1:07:00 PM-6/19/2000--held"},
            {Kind::Weekly, "9:00:00 AM-Monday--w"},
            {Kind::Daily, "9:00:00 AM-6/1/2000--held too"},
            {Kind::Monthly, "9:00:00 AM-1--m"}});
  const auto before = Bytes();
  HeldFile oneTime(PathOf(Kind::OneTime));
  HeldFile daily(PathOf(Kind::Daily));
  ASSERT_TRUE(oneTime.Held() && daily.Held());

  Create();
  // Told once per file; the lists after a failing one are read all the same.
  ASSERT_EQ(ErrorTexts(), (std::vector<std::string>{Unread(Kind::OneTime), Unread(Kind::Daily)}));
  EXPECT_EQ(Rows(Kind::Weekly), Lines{"9:00:00 AM-Monday--w"});
  EXPECT_EQ(Rows(Kind::Monthly), Lines{"9:00:00 AM-1--m"});
  EXPECT_TRUE(Rows(Kind::OneTime).empty());

  // No path writes them: OK keeps its entry in the panel, the close box and
  // the exit's Cancels pass them by, and the retries stay quiet.
  const ReminderPage& p = P(Kind::OneTime);
  Type(p.editMessage, "typed while held");
  Click(p.btnOK);
  EXPECT_EQ(ErrorTexts().back(), Unread(Kind::OneTime));
  EXPECT_EQ(GetText(p.editMessage), "typed while held");
  E().dialogs.confirmAnswers = {true};
  MenuCommand(Wnd(), MenuId(Kind::OneTime, Mnu::RemoveAll));
  EXPECT_TRUE(E().dialogs.confirmations.empty());
  EXPECT_EQ(ErrorTexts().back(), Unread(Kind::OneTime));
  Frm().Show();
  SendMessageA(Wnd(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(Frm().Visible());
  Frm().CancelPanelsForExit();
  EXPECT_TRUE(Frm().Close());
  RunSeconds(60);
  // A write to a held file would fail with a box of its own.
  EXPECT_EQ(ErrorTexts().size(), 4u);

  // Released: read at the next minute, and announced from then on.
  oneTime.Release();
  RunSeconds(60);
  EXPECT_EQ(Rows(Kind::OneTime), Lines{"1:07:00 PM-6/19/2000--held"});
  EXPECT_TRUE(Enabled(p.btnClearAll));
  ASSERT_EQ(Announcements().size(), 1u);
  EXPECT_NE(Announcements()[0].find("held"), std::string::npos);
  // Released: read when the window is shown.
  daily.Release();
  Frm().Show();
  EXPECT_EQ(Rows(Kind::Daily), Lines{"9:00:00 AM-6/1/2000--held too"});
  SendMessageA(Wnd(), WM_CLOSE, 0, 0);
  EXPECT_EQ(Bytes(), before);
  EXPECT_EQ(ErrorTexts().size(), 4u);
}

// Lists held at start: one read later that day gets the catch-up it missed,
// once, with what fell due while it was held; one read on a later day does not.
TEST_F(ListFilesTest, AListReadLateThatDayIsCaughtUpOnce) {
  Clock().Set(2000, 6, 19, 8, 0, 0);
  Events().WriteString("Last Boot", " Date", "6/18/2000");
  WriteList(Kind::Weekly, {"7:00:00 AM-Monday--weekly"});
  WriteList(Kind::Daily, {"7:00:00 AM-6/1/2000--before the start", "8:30:00 AM-6/1/2000--while held",
                          "9:00:00 AM-6/1/2000--after the read"});
  WriteList(Kind::Monthly, {"12:00:00 AM-20--the next day"});
  HeldFile daily(PathOf(Kind::Daily));
  HeldFile monthly(PathOf(Kind::Monthly));
  Create();
  { TBootCode boot(Frm()); }
  ASSERT_EQ(Announcements().size(), 1u);

  RunSeconds(40 * 60 + 30);  // 8:40:30
  daily.Release();
  RunSeconds(20 * 60);  // read at 8:41, and on time at 9:00; nothing twice
  const auto shown = Announcements();
  ASSERT_EQ(shown.size(), 4u);
  EXPECT_NE(shown[1].find("before the start"), std::string::npos);
  EXPECT_NE(shown[2].find("while held"), std::string::npos);
  EXPECT_NE(shown[3].find("after the read"), std::string::npos);

  Clock().Set(2000, 6, 19, 23, 59, 59);
  RunSeconds(5 * 60);
  monthly.Release();
  RunSeconds(60);
  EXPECT_EQ(Rows(Kind::Monthly), Lines{"12:00:00 AM-20--the next day"});
  EXPECT_EQ(Announcements().size(), 4u);
}

TEST_F(ListFilesTest, TheCloseSavesOnlyChangedListsAndOneFailureStopsNoOther) {
  WriteAll({{Kind::OneTime, "9:00:00 AM-6/19/2000--a"},
            {Kind::Weekly, "9:00:00 AM-Monday--protected"}});
  WriteList(Kind::Daily, {"9:00:00 AM-6/1/2000--d1", "9:00:00 AM-6/1/2000--d2"});
  SetReadOnly(PathOf(Kind::Weekly), true);  // unchanged: never in the way
  Create();
  Frm().Show();

  // Two changes whose saves fail; the one-time file stays read-only.
  SetReadOnly(PathOf(Kind::OneTime), true);
  Type(P(Kind::OneTime).editMessage, "b");
  Click(P(Kind::OneTime).btnOK);
  SetReadOnly(PathOf(Kind::Daily), true);
  P(Kind::Daily).list->SetItemIndex(0);
  MenuCommand(Wnd(), ControlId(Kind::Daily, Ctl::btnRemove));
  SetReadOnly(PathOf(Kind::Daily), false);
  ASSERT_EQ(ErrorTexts(),
            (std::vector<std::string>{CannotCreate(Kind::OneTime), CannotCreate(Kind::Daily)}));

  SendMessageA(Wnd(), WM_CLOSE, 0, 0);
  EXPECT_EQ(ErrorTexts().back(), CannotCreate(Kind::OneTime));
  EXPECT_TRUE(Frm().Visible());
  EXPECT_EQ(FileLines(Kind::Daily), Lines{"9:00:00 AM-6/1/2000--d2"});
  EXPECT_EQ(EventsValue("Last Boot", " Date"), "6/19/2000");
  EXPECT_EQ(ReadFileBytes(PathOf(Kind::OneTime)), "9:00:00 AM-6/19/2000--a\n");
  // The exit's Cancel does not throw away what could not be saved, and a file
  // it cannot read back is shown without stopping the exit.
  {
    HeldFile weekly(PathOf(Kind::Weekly));
    Type(P(Kind::Monthly).editMessage, "x");
    Frm().CancelPanelsForExit();
  }
  EXPECT_EQ(Rows(Kind::OneTime).size(), 2u);
  EXPECT_EQ(ErrorTexts().back(), "Cannot open file " + PathOf(Kind::Weekly) + ".");
  EXPECT_EQ(GetText(P(Kind::Monthly).editMessage), "");

  SetReadOnly(PathOf(Kind::OneTime), false);
  SendMessageA(Wnd(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(Frm().Visible());
  EXPECT_EQ(FileLines(Kind::OneTime),
            (Lines{"9:00:00 AM-6/19/2000--a", "1:05:00 PM-6/19/2000--b"}));
  EXPECT_EQ(ReadFileBytes(PathOf(Kind::Weekly)), "9:00:00 AM-Monday--protected\n");
  EXPECT_EQ(ErrorTexts().size(), 4u);
  SetReadOnly(PathOf(Kind::Weekly), false);
}

// Lists another program writes too, the window hidden: one with no change of
// its own is read again once whole, a moment after the folder changed, and
// caught up from then; one changed on both sides is written at the session's
// query, the other kept, with no box.
TEST_F(ListFilesTest, AListChangedElsewhereIsReadAgainOrKeptBesidePendrasOwn) {
  Clock().Set(2000, 6, 19, 9, 0, 0);
  Events().WriteString("Last Boot", "Formats", "M/d/yyyy|h:mm:ss tt|AM|PM;written=0,0,0,0,0");
  WriteList(Kind::Daily, {"8:00:00 AM-6/1/2000--seen"});
  WriteList(Kind::Weekly, {"7:00:00 AM-Monday--w"});
  WriteList(Kind::Monthly, {"7:00:00 AM-19--held"});
  HeldFile monthly(PathOf(Kind::Monthly));
  Create();
  RunSeconds(1);
  WriteList(Kind::Daily, {"8:00:00 AM-6/1/2000--seen", "8:30:00 AM-6/1/2000--passed before the change",
                          "9:00:02 AM-6/1/2000--due while it settles", "9:00:30 AM-6/1/2000--on time"});
  monthly.Release();  // not read at start: left to the retries, never written
  WriteList(Kind::Monthly, {"theirs"});
  Frm().ProgramFolderChanged();
  RunSeconds(2);
  Tick(TfrmMain::tmrLook);  // found changed
  EXPECT_EQ(Rows(Kind::Daily).size(), 1u);
  Tick(TfrmMain::tmrLook);  // the same a moment later: whole
  EXPECT_EQ(Rows(Kind::Daily), FileLines(Kind::Daily));
  EXPECT_TRUE(Rows(Kind::Monthly).empty());
  // Written by another program: its formats are no longer known.
  EXPECT_EQ(FormatsRecord(), "M/d/yyyy|h:mm:ss tt|AM|PM;written=0,0,,0,0");
  RunSeconds(30);
  ASSERT_EQ(Announcements().size(), 2u);
  EXPECT_NE(Announcements()[0].find("due while it settles"), std::string::npos);
  EXPECT_NE(Announcements()[1].find("on time"), std::string::npos);

  SetReadOnly(PathOf(Kind::Weekly), true);
  Type(P(Kind::Weekly).editMessage, "mine");
  Click(P(Kind::Weekly).btnOK);  // the save fails: the change waits
  SetReadOnly(PathOf(Kind::Weekly), false);
  WriteList(Kind::Weekly, {"theirs"});
  const std::size_t boxes = Dialogs().shown.size();
  {
    QuietErrors quiet;
    static_cast<Form&>(Frm()).SaveForSessionEnd();
    EXPECT_TRUE(quiet.Texts().empty());
  }
  EXPECT_EQ(Dialogs().shown.size(), boxes);
  EXPECT_EQ(Rows(Kind::Weekly).size(), 2u);
  EXPECT_EQ(FileLines(Kind::Weekly), Rows(Kind::Weekly));
  const std::string copy = E().folder + "Backup\\DayMessage 2000-06-19 09-00-33 from another program.lst";
  EXPECT_EQ(ReadFileBytes(copy), "theirs\r\n");
  // Nobody is there to answer a box at the session's end: the next start says it.
  SayUntoldNotices();
  ASSERT_EQ(Dialogs().shown.size(), boxes + 1);
  EXPECT_NE(Dialogs().shown.back().text.find(" is kept as " + copy + "."), std::string::npos);
  EXPECT_EQ(ReadFileBytes(PathOf(Kind::Monthly)), "theirs\r\n");

  // Looked at when the window is shown as well.
  WriteList(Kind::Weekly, {"7:00:00 AM-Monday--shown"});
  Frm().Show();
  Tick(TfrmMain::tmrLook);
  EXPECT_EQ(Rows(Kind::Weekly), Lines{"7:00:00 AM-Monday--shown"});
}

// Another program rewrites a list in place: it empties the file, holds it
// open while it writes, and writes it again. The window keeps its rows until
// the file is whole, and the reminder it announced is not announced again. A
// file that stays empty is taken at last.
TEST_F(ListFilesTest, AListRewrittenInPlaceIsReadOnceWholeAndAnnouncesNothingTwice) {
  Clock().Set(2000, 6, 19, 13, 0, 0);
  const Lines lunch{"1:00:05 PM-Monday--lunch"};
  WriteList(Kind::Weekly, lunch);
  Create();
  RunSeconds(10);
  auto looks = [&](int count) {
    Frm().ProgramFolderChanged();
    for (int look = 0; look < count; ++look) Tick(TfrmMain::tmrLook);
  };
  WriteFileBytes(PathOf(Kind::Weekly), "");
  looks(DataFile::kEmptyLooks);
  EXPECT_EQ(Rows(Kind::Weekly), lunch);
  const HANDLE writer = CreateFileA(PathOf(Kind::Weekly).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  WriteFile(writer, "1:00:05 PM-Monday--lunch\r\nx\r\n", 29, &written, nullptr);
  looks(3);
  EXPECT_EQ(Rows(Kind::Weekly), lunch);  // still being written
  CloseHandle(writer);
  Tick(TfrmMain::tmrLook);
  EXPECT_EQ(Rows(Kind::Weekly), (Lines{lunch[0], "x"}));
  RunSeconds(60);
  EXPECT_EQ(Announcements().size(), 1u);

  WriteFileBytes(PathOf(Kind::Weekly), "");
  looks(DataFile::kEmptyLooks + 1);
  EXPECT_TRUE(Rows(Kind::Weekly).empty());
}

}  // namespace
}  // namespace pendra::test
