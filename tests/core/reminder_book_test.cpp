#include <gtest/gtest.h>

#include <functional>

#include "reminders/reminder_book.h"
#include "settings/errors.h"

namespace pendra {
namespace {

constexpr Kind kPage = Kind::Weekly;

ReminderBook BookWith(Lines lines) {
  ReminderBook book;
  book.Replace(kPage, std::move(lines));
  return book;
}

TEST(ReminderMoves, RowsKeepTheirOrderAroundTheMovedOne) {
  auto book = BookWith({"a", "b", "c", "d", "e"});
  const unsigned version = book.Version(kPage);
  EXPECT_TRUE(book.Move(kPage, 2, MoveKind::Up));
  EXPECT_NE(book.Version(kPage), version);  // the scheduler's cache must see it
  EXPECT_EQ(book.List(kPage), (Lines{"a", "c", "b", "d", "e"}));
  EXPECT_TRUE(book.Move(kPage, 1, MoveKind::ToBottom));
  EXPECT_EQ(book.List(kPage), (Lines{"a", "b", "d", "e", "c"}));
  EXPECT_TRUE(book.Move(kPage, 3, MoveKind::ToTop));
  EXPECT_EQ(book.List(kPage), (Lines{"e", "a", "b", "d", "c"}));

  auto three = BookWith({"1", "2", "3"});
  EXPECT_TRUE(three.Move(kPage, 1, MoveKind::ToBottom));
  EXPECT_EQ(three.List(kPage), (Lines{"1", "3", "2"}));
}

TEST(ReminderMoves, AMoveThatDoesNotActChangesNothing) {
  auto book = BookWith({"a", "b"});
  const unsigned version = book.Version(kPage);
  EXPECT_FALSE(book.Move(kPage, 0, MoveKind::Up));
  EXPECT_FALSE(book.Move(kPage, 1, MoveKind::ToBottom));
  EXPECT_EQ(book.Version(kPage), version);
  EXPECT_EQ(book.List(kPage), (Lines{"a", "b"}));
}

TEST(ReminderBookRows, WithoutASelectionTheListIndexErrorLeavesTheListAlone) {
  auto book = BookWith({"a", "b"});
  const unsigned version = book.Version(kPage);
  for (int index : {-1, 2}) {
    EXPECT_THROW(book.Move(kPage, index, MoveKind::Up), Error);
    EXPECT_THROW(book.RemoveAt(kPage, index), Error);
    EXPECT_THROW(book.BeginEdit(kPage, index), Error);
  }
  try {
    book.RemoveAt(kPage, -1);
    ADD_FAILURE() << "no error";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "List index out of bounds (-1)");
  }
  EXPECT_EQ(book.Version(kPage), version);
  EXPECT_EQ(book.List(kPage), (Lines{"a", "b"}));
  EXPECT_FALSE(book.EditInProgress(kPage));
}

TEST(ReminderBookRows, EqualRowsAreTakenByPosition) {
  auto book = BookWith({"same", "b", "same"});
  EXPECT_EQ(book.BeginEdit(kPage, 2), "same");
  EXPECT_EQ(book.List(kPage), (Lines{"same", "b"}));
  EXPECT_EQ(book.LinesToSave(kPage), (Lines{"same", "b", "same"}));

  auto moved = BookWith({"x", "same", "y", "same"});
  EXPECT_TRUE(moved.Move(kPage, 3, MoveKind::ToTop));
  EXPECT_EQ(moved.List(kPage), (Lines{"same", "x", "same", "y"}));
}

TEST(EditKeeping, TheEntryTakenOutStaysInWhatIsSavedAtItsPlace) {
  auto book = BookWith({"a", "b", "c", "d"});
  EXPECT_EQ(book.BeginEdit(kPage, 2), "c");
  EXPECT_TRUE(book.EditInProgress(kPage));
  EXPECT_EQ(book.List(kPage), (Lines{"a", "b", "d"}));
  EXPECT_EQ(book.LinesToSave(kPage), (Lines{"a", "b", "c", "d"}));

  // Deleting an earlier row shifts the kept place; a later one does not.
  book.RemoveAt(kPage, 0);
  EXPECT_EQ(book.LinesToSave(kPage), (Lines{"b", "c", "d"}));
  book.RemoveAt(kPage, 1);
  EXPECT_EQ(book.LinesToSave(kPage), (Lines{"b", "c"}));
  book.RemoveAt(kPage, 0);
  EXPECT_EQ(book.List(kPage), Lines{});
  EXPECT_EQ(book.LinesToSave(kPage), (Lines{"c"}));

  // Other pages are not affected.
  EXPECT_FALSE(book.EditInProgress(Kind::Daily));
}

TEST(EditKeeping, HowAnEditEnds) {
  auto cancelled = BookWith({"a", "b", "c"});
  cancelled.BeginEdit(kPage, 1);
  cancelled.EndEdit(kPage);
  EXPECT_FALSE(cancelled.EditInProgress(kPage));
  EXPECT_EQ(cancelled.LinesToSave(kPage), (Lines{"a", "c"}));

  // A load replaces the list and with it the edit.
  auto reloaded = BookWith({"a", "b", "c"});
  reloaded.BeginEdit(kPage, 1);
  reloaded.Replace(kPage, {"a", "b", "c"});
  EXPECT_FALSE(reloaded.EditInProgress(kPage));
  EXPECT_EQ(reloaded.LinesToSave(kPage), (Lines{"a", "b", "c"}));

  // OK appends the edited entry, which replaces the old one: no duplicate.
  auto ok = BookWith({"a", "b", "c"});
  ok.BeginEdit(kPage, 1);
  ok.Append(kPage, "b2");
  EXPECT_FALSE(ok.EditInProgress(kPage));
  EXPECT_EQ(ok.LinesToSave(kPage), (Lines{"a", "c", "b2"}));
}

TEST(EditKeeping, ASecondEditPutsTheFirstEntryBack) {
  auto book = BookWith({"a", "b", "c", "d"});
  book.BeginEdit(kPage, 1);                    // b; shown a c d
  EXPECT_EQ(book.BeginEdit(kPage, 2), "d");    // shown index 2 is d
  EXPECT_EQ(book.List(kPage), (Lines{"a", "b", "c"}));
  EXPECT_EQ(book.LinesToSave(kPage), (Lines{"a", "b", "c", "d"}));
  book.BeginEdit(kPage, 0);                    // a; d goes back
  EXPECT_EQ(book.List(kPage), (Lines{"b", "c", "d"}));
  EXPECT_EQ(book.LinesToSave(kPage), (Lines{"a", "b", "c", "d"}));
}

// Whether a list may be written, and whether it needs to be.
TEST(ListState, ReadAndChangedFollowWhatASaveWouldWrite) {
  ReminderBook book;
  EXPECT_FALSE(book.Loaded(kPage));  // never read: never to be written
  EXPECT_FALSE(book.AllLoaded());
  for (Kind k : kAllKinds) book.Replace(k, {});
  EXPECT_TRUE(book.AllLoaded());

  book.Replace(kPage, {"a", "b", "c"});
  EXPECT_TRUE(book.Loaded(kPage));
  EXPECT_FALSE(book.Changed(kPage));
  // Taking an entry out, or putting it back, leaves what is saved alone.
  book.BeginEdit(kPage, 1);
  book.PutBackEdit(kPage);
  EXPECT_FALSE(book.Changed(kPage));
  EXPECT_EQ(book.List(kPage), (Lines{"a", "b", "c"}));
  EXPECT_FALSE(book.Move(kPage, 0, MoveKind::Up));
  EXPECT_FALSE(book.Changed(kPage));

  const std::function<void(ReminderBook&)> changes[] = {
      [](ReminderBook& b) { b.Append(kPage, "d"); },
      [](ReminderBook& b) { b.RemoveAt(kPage, 0); },
      [](ReminderBook& b) { b.Move(kPage, 0, MoveKind::Down); },
      [](ReminderBook& b) {
        b.BeginEdit(kPage, 0);
        b.EndEdit(kPage);
      },
  };
  for (const auto& change : changes) {
    change(book);
    EXPECT_TRUE(book.Changed(kPage));
    EXPECT_FALSE(book.Changed(Kind::Daily));
    book.MarkSaved(kPage);
    EXPECT_FALSE(book.Changed(kPage));
  }
  book.Append(kPage, "e");
  book.Replace(kPage, {"x"});  // loaded again: in step with the file
  EXPECT_FALSE(book.Changed(kPage));
}

}  // namespace
}  // namespace pendra
