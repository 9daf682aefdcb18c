// Following a list's changes row by row must give what reading the whole list
// again gives: the book's log of changes, the scheduler's entry index, and the
// announcements made from it.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "reminders/entry_index.h"
#include "reminders/scheduler.h"

namespace pendra {
namespace {

constexpr Kind kPage = Kind::OneTime;
constexpr Date kMonday{2000, 6, 19};

// Equal rows, rows that share a time (also written in another format), a time
// that does not read, a date that does not, and a line that does not cut.
Lines StartRows() {
  return {"9:00:00 AM-6/19/2000--a", "9:00:00 AM-6/19/2000--b", "10:00:00 AM-6/19/2000--c",
          "hand-edited line",        "09:00:00-6/19/2000--d",   "later-6/19/2000--e",
          "9:00:00 AM-6/19/2000--a", "8:00:00 AM-someday--f",   "7:00:00 AM-6/19/2000--g"};
}

Lines ManyRows(const std::string& tag) {
  Lines rows;
  for (int i = 0; i < 40; ++i) rows.push_back("7:00:00 AM-6/19/2000--" + tag + std::to_string(i));
  return rows;
}

struct Step {
  const char* what;
  std::function<void(ReminderBook&)> change;
  bool followed = true;  // the change can be followed row by row
};

const std::vector<Step>& Steps() {
  static const std::vector<Step> steps = {
      {"append", [](ReminderBook& b) { b.Append(kPage, "9:00:00 AM-6/19/2000--new"); }},
      {"append a line that does not cut", [](ReminderBook& b) { b.Append(kPage, "odd"); }},
      {"remove the first", [](ReminderBook& b) { b.RemoveAt(kPage, 0); }},
      {"remove the last", [](ReminderBook& b) { b.RemoveAt(kPage, 9); }},
      {"remove in the middle", [](ReminderBook& b) { b.RemoveAt(kPage, 3); }},
      {"move up", [](ReminderBook& b) { b.Move(kPage, 4, MoveKind::Up); }},
      {"move down", [](ReminderBook& b) { b.Move(kPage, 0, MoveKind::Down); }},
      {"move to the top", [](ReminderBook& b) { b.Move(kPage, 7, MoveKind::ToTop); }},
      {"move to the bottom", [](ReminderBook& b) { b.Move(kPage, 0, MoveKind::ToBottom); }},
      {"edit", [](ReminderBook& b) { b.BeginEdit(kPage, 2); }},
      {"a second edit", [](ReminderBook& b) { b.BeginEdit(kPage, 5); }},
      {"OK with nothing typed", [](ReminderBook& b) { b.PutBackEdit(kPage); }},
      {"edit and OK",
       [](ReminderBook& b) {
         b.BeginEdit(kPage, 1);
         b.Append(kPage, "11:00:00 AM-6/19/2000--edited");
         b.EndEdit(kPage);
       }},
      {"edit and Cancel",
       [](ReminderBook& b) {
         b.BeginEdit(kPage, 6);
         b.Replace(kPage, b.LinesToSave(kPage));
       }},
      {"load with rows changed in the middle",
       [](ReminderBook& b) {
         Lines file = b.List(kPage);
         file[2] = "12:00:00 PM-6/19/2000--changed";
         file.insert(file.begin() + 4, "9:00:00 AM-6/19/2000--inserted");
         b.Replace(kPage, file);
       }},
      {"load the same rows", [](ReminderBook& b) { b.Replace(kPage, b.List(kPage)); }},
      {"load other rows", [](ReminderBook& b) { b.Replace(kPage, ManyRows("x")); }, false},
      {"load with the last row gone",
       [](ReminderBook& b) {
         Lines file = b.List(kPage);
         file.pop_back();
         b.Replace(kPage, file);
       }},
      {"load nothing", [](ReminderBook& b) { b.Replace(kPage, {}); }, false},
      {"load a few rows into the empty list",
       [](ReminderBook& b) { b.Replace(kPage, StartRows()); }},
  };
  return steps;
}

TEST(ListChanges, ReplayingTheChangesOnAnEarlierListGivesTheListNow) {
  ReminderBook book;
  book.Replace(kPage, StartRows());
  std::vector<std::pair<unsigned, Lines>> earlier{{book.Version(kPage), book.List(kPage)}};
  for (const Step& step : Steps()) {
    SCOPED_TRACE(step.what);
    const unsigned before = book.Version(kPage);
    step.change(book);
    EXPECT_EQ(book.ChangesSince(kPage, before).has_value(), step.followed);
    for (const auto& [version, lines] : earlier) {
      const auto changes = book.ChangesSince(kPage, version);
      if (!changes) continue;
      Lines replayed = lines;
      for (const auto& change : *changes) ApplyChange(replayed, change);
      EXPECT_EQ(replayed, book.List(kPage)) << "from version " << version;
    }
    earlier.emplace_back(book.Version(kPage), book.List(kPage));
  }
  EXPECT_EQ(book.ChangesSince(kPage, book.Version(kPage)), ListChanges{});
  EXPECT_FALSE(book.ChangesSince(kPage, book.Version(kPage) + 1));
  EXPECT_EQ(book.ChangesSince(Kind::Daily, 0), ListChanges{});

  // Only the recent changes are kept; for older versions the list is read whole.
  const unsigned old = book.Version(kPage);
  std::pair<unsigned, Lines> recent;
  for (int i = 0; i < 100; ++i) {
    if (i == 90) recent = {book.Version(kPage), book.List(kPage)};
    book.Move(kPage, i % 5, MoveKind::Down);
  }
  EXPECT_FALSE(book.ChangesSince(kPage, old));
  const auto changes = book.ChangesSince(kPage, recent.first);
  ASSERT_TRUE(changes);
  for (const auto& change : *changes) ApplyChange(recent.second, change);
  EXPECT_EQ(recent.second, book.List(kPage));
}

TEST(ListChanges, TheEntryIndexFollowsEveryChangeAsAFreshOneReadsTheList) {
  const LocaleFormats formats;
  for (Kind kind : {Kind::OneTime, Kind::Daily, Kind::Weekly}) {
    SCOPED_TRACE(Index(kind));
    ReminderBook book;
    // The steps work on the one-time page: give the kind's list the same rows.
    book.Replace(kPage, StartRows());
    EntryIndex followed(kind, formats, book.List(kPage));
    unsigned version = book.Version(kPage);
    for (const Step& step : Steps()) {
      SCOPED_TRACE(step.what);
      step.change(book);
      if (const auto changes = book.ChangesSince(kPage, version)) {
        for (const auto& change : *changes) followed.Apply(change);
      } else {
        followed = EntryIndex(kind, formats, book.List(kPage));
      }
      version = book.Version(kPage);
      EXPECT_TRUE(followed == EntryIndex(kind, formats, book.List(kPage)));
    }
  }
}

std::vector<std::string> Entries(const std::vector<DueReminder>& due) {
  std::vector<std::string> out;
  for (const auto& d : due) out.push_back(d.entry + " | " + d.message);
  return out;
}

TEST(ListChanges, AScheduleThatFollowsTheChangesAnnouncesAsAFreshOne) {
  const LocaleFormats formats;
  ReminderBook book;
  book.Replace(kPage, StartRows());
  ReminderScheduler following(book);
  following.CheckRepeat(DateTime{kMonday, {23, 0, 0}}, formats, 0);
  for (const Step& step : Steps()) {
    SCOPED_TRACE(step.what);
    step.change(book);
    ReminderScheduler fresh(book);
    // Every row of today that reads, in list order, with its message.
    const DateTime evening{kMonday, {23, 0, 0}};
    EXPECT_EQ(Entries(following.CheckRepeat(evening, formats, 0)),
              Entries(fresh.CheckRepeat(evening, formats, 0)));
  }
}

}  // namespace
}  // namespace pendra
