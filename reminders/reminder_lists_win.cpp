#include "reminders/reminder_lists_win.h"

#include <exception>

#include "platform/services.h"
#include "reminders/reminder_pages_win.h"
#include "settings/code_page.h"
#include "settings/errors.h"
#include "settings/list_file.h"
#include "settings/reg_ini.h"

namespace pendra {

namespace {

DataFile* ListFile(Kind kind) { return &Svc().data->File(Info(kind).fileName); }

}  // namespace

ReminderLists::ReminderLists(ReminderPages& pages)
    : pages_(pages),
      files_{ListFile(Kind::OneTime), ListFile(Kind::Weekly), ListFile(Kind::Daily), ListFile(Kind::Monthly)} {}

void ReminderLists::LoadAtCreation(const DateTime& now) {
  // A list that cannot be read stays empty and is never written; the user is
  // told once here, and the file is tried again later. Each list is read on
  // its own, so one never keeps the others from being read.
  retryDate_ = now.date;
  retryMinute_ = now.time.hour * 60 + now.time.minute;
  for (Kind k : kAllKinds) {
    Guarded([&] {
      if (!TryLoadList(k)) throw Error(UnreadListMessage(ListFilePath(k)));
    });
  }
}

void ReminderLists::RefreshList(Kind kind) {
  // A list not built yet is filled from the book when it is.
  TMd4TabbedList* list = pages_.Page(kind).list;
  if (!list) return;
  // The list control follows the book's changes row by row; a list loaded
  // anew, or one the control does not hold as the book had it, is filled whole.
  std::optional<unsigned>& shown = shownVersions_[static_cast<size_t>(Index(kind))];
  const std::optional<ListChanges> changes =
      shown ? book_.ChangesSince(kind, *shown) : std::nullopt;
  if (changes) {
    for (const ListChange& change : *changes) {
      switch (change.op) {
        case ListChange::Op::Insert: list->InsertItem(change.at, change.text); break;
        case ListChange::Op::Erase: list->DeleteItem(change.at); break;
        case ListChange::Op::Move: list->MoveItem(change.at, change.to); break;
      }
    }
    list->SetItemIndex(-1);
  }
  if (!changes || static_cast<size_t>(list->Count()) != book_.List(kind).size())
    list->SetItems(book_.List(kind));
  shown = book_.Version(kind);
}

void ReminderLists::SaveList(Kind kind) {
  // Whatever asks: a list not read would overwrite reminders nobody has seen.
  if (!book_.Loaded(kind)) throw Error(UnreadListMessage(ListFilePath(kind)));
  const DataOutcome saved = book_.EditInProgress(kind)
                               ? File(kind).WriteLines(book_.LinesToSave(kind))
                               : File(kind).WriteLines(book_.List(kind));  // no copy of a long list
  Say(saved);
  if (saved.result == SaveResult::ChangedElsewhere) {
    // Nothing of Pendra's own to write: what the other program wrote is
    // shown, once it is whole.
    LookAtChangedLists();
    return;
  }
  Looked(kind, Svc().clock->Now());
  book_.MarkSaved(kind);
  RememberFormats(static_cast<size_t>(Index(kind)));
}

void ReminderLists::PrepareChange(Kind kind) {
  const size_t slot = static_cast<size_t>(Index(kind));
  FollowFormats();
  const LocaleFormats& current = Svc().locale->Formats();
  const std::optional<WrittenFormats>& written = stored_.WrittenWith(slot);
  if (!book_.Loaded(kind) || !written || *written == WrittenFormats::Of(current)) return;
  const TextReader reader = stored_.Reader(slot, current);
  auto anew = [&](const std::string& entry) { return EntryInFormats(kind, entry, reader); };
  // Written first: a file that cannot be written leaves the list as it was.
  Lines lines = book_.LinesToSave(kind);
  for (std::string& line : lines) line = anew(line);
  // A file another program changed, where the rewrite changes nothing, is
  // not written: it is not Pendra's, and its formats stay unknown. The
  // command goes on, and its save keeps the other version beside Pendra's.
  const DataOutcome saved = File(kind).WriteLines(lines);
  Say(saved);
  if (saved.result == SaveResult::ChangedElsewhere) return;
  Looked(kind, Svc().clock->Now());
  if (book_.Rewrite(kind, anew)) RefreshList(kind);
  book_.MarkSaved(kind);
  RememberFormats(slot);
}

bool ReminderLists::RemoveListFile(Kind kind) {
  // A file that cannot be kept or deleted is loaded back unchanged; the
  // reminders it held stay in a copy whatever the time.
  const DataOutcome removed = File(kind).Remove();
  Say(removed);
  LoadList(kind);
  return removed.result != SaveResult::NotRemoved;
}

void ReminderLists::LoadList(Kind kind) {
  const bool theirs = File(kind).ChangedOnDisk();
  const std::optional<DateTime> since = LastChecked(kind);
  Lines lines = ReadFile(kind);
  if (theirs) {
    TakeTheirs(kind, std::move(lines), since);
    return;
  }
  book_.Replace(kind, std::move(lines));
  RefreshList(kind);
}

Lines ReminderLists::ReadFile(Kind kind) {
  Lines lines = File(kind).ReadLines();
  Looked(kind, Svc().clock->Now());
  const StoredFormats before = stored_;
  stored_.Held(static_cast<size_t>(Index(kind)), File(kind).ContentHash());
  if (!stored_.ReadsAlike(before) && onFormatsStored) onFormatsStored(stored_);
  return lines;
}

std::optional<Lines> ReminderLists::ReadIfReadable(Kind kind) {
  try {
    return ReadFile(kind);
  } catch (const Error&) {
    return std::nullopt;
  }
}

bool ReminderLists::TryLoadList(Kind kind) {
  std::optional<Lines> lines = ReadIfReadable(kind);
  if (!lines) return false;
  book_.Replace(kind, std::move(*lines));
  RefreshList(kind);
  if (onLateRead) onLateRead(kind);
  return true;
}

void ReminderLists::RequireLoaded(Kind kind) {
  if (book_.Loaded(kind)) return;
  if (!TryLoadList(kind)) throw Error(UnreadListMessage(ListFilePath(kind)));
  EnableRemoveAll(kind);
}

void ReminderLists::RetryUnreadLists() {
  if (book_.AllLoaded()) return;
  for (Kind k : kAllKinds) {
    // A list read late gets the Remove All state its creation would have given it.
    if (!book_.Loaded(k) && TryLoadList(k)) EnableRemoveAll(k);
  }
}

void ReminderLists::RetryUnreadListsEachMinute(const DateTime& now) {
  // Costs nothing while every list is read: no file is touched.
  if (book_.AllLoaded()) return;
  const int minute = now.time.hour * 60 + now.time.minute;
  if (retryDate_ == now.date && retryMinute_ == minute) return;
  retryDate_ = now.date;
  retryMinute_ = minute;
  RetryUnreadLists();
}

void ReminderLists::FolderChanged(const DateTime& since) {
  for (Kind k : kAllKinds) {
    std::optional<DateTime>& noticed = noticedAt_[static_cast<size_t>(Index(k))];
    if (!noticed) noticed = since;
  }
  looksWaiting_ = 0;
  if (onLookLater) onLookLater(kLookAgainMs);
}

void ReminderLists::LookAtChangedLists() {
  const DateTime now = Svc().clock->Now();
  bool again = false;
  for (Kind k : kAllKinds) {
    // Unread lists are left to the retries. A list holding a change of its
    // own keeps it; its save keeps the other version beside it.
    if (!book_.Loaded(k) || book_.EditInProgress(k)) {
      File(k).ForgetLooks();
      continue;
    }
    if (!File(k).ChangedOnDisk()) {
      Looked(k, now);
      continue;
    }
    if (File(k).EditedLines(book_.List(k))) {
      File(k).ForgetLooks();
      continue;
    }
    if (!File(k).AtRest(!book_.List(k).empty()) || !Reread(k)) again = true;
  }
  looksWaiting_ = again ? looksWaiting_ + 1 : 0;
  if (again && onLookLater) onLookLater(looksWaiting_ < kQuickLooks ? kLookAgainMs : kLookSlowlyMs);
}

void ReminderLists::Looked(Kind kind, const DateTime& now) {
  const size_t i = static_cast<size_t>(Index(kind));
  checkedAt_[i] = now;
  noticedAt_[i].reset();
  File(kind).ForgetLooks();
}

std::optional<DateTime> ReminderLists::LastChecked(Kind kind) const {
  const size_t i = static_cast<size_t>(Index(kind));
  // While the folder is watched, a file is known unchanged until the first
  // change of the folder noticed after the last look.
  if (noticedAt_[i] && (!checkedAt_[i] || *checkedAt_[i] < *noticedAt_[i])) return noticedAt_[i];
  return checkedAt_[i];
}

bool ReminderLists::Reread(Kind kind) {
  const std::optional<DateTime> since = LastChecked(kind);
  std::optional<Lines> lines = ReadIfReadable(kind);
  if (!lines) return false;
  TakeTheirs(kind, std::move(*lines), since);
  return true;
}

void ReminderLists::TakeTheirs(Kind kind, Lines lines, const std::optional<DateTime>& since) {
  Lines before = book_.LinesToSave(kind);
  // What is now known of the file (its content; formats not known when it is
  // not what Pendra wrote) is stored at once.
  StoreFormats();
  book_.Replace(kind, std::move(lines));
  RefreshList(kind);
  EnableRemoveAll(kind);
  if (onReread) onReread(kind, before, since);
}

TextReader ReminderLists::Reader(Kind kind) {
  FollowFormats();
  return stored_.Reader(static_cast<size_t>(Index(kind)), Svc().locale->Formats());
}

StoredReaders ReminderLists::Readers() {
  FollowFormats();
  return StoredReaders(stored_, Svc().locale->Formats());
}

void ReminderLists::FollowFormats() {
  ILocale& locale = *Svc().locale;
  if (locale.Generation() == formatsGeneration_) return;
  formatsGeneration_ = locale.Generation();
  stored_.Follow(WrittenFormats::Of(locale.Formats()));
  if (onFormatsStored) onFormatsStored(stored_);
}

void ReminderLists::ReadStoredFormats() {
  // A value of the wrong type, or one that cannot be read, is as none: it must
  // never keep the reminders from running.
  std::string value;
  try {
    if (Svc().registry->Read(std::string(kReminderEventsKey) + "\\" + kFormatsSection, kFormatsIdent,
                             value) != ValueKind::Text)
      return;
  } catch (const std::exception&) {
    return;
  }
  // Stored in the code page, as the registry holds text.
  stored_.Load(Utf8FromCodePage(value));
  storedValue_ = value;
  if (onFormatsStored) onFormatsStored(stored_);
}

void ReminderLists::RememberFormats(size_t slot) {
  FollowFormats();
  std::optional<std::uint64_t> content;
  if (slot < kAllKinds.size()) content = File(kAllKinds[slot]).ContentHash();
  stored_.Wrote(slot, WrittenFormats::Of(Svc().locale->Formats()), content);
  if (onFormatsStored) onFormatsStored(stored_);
  StoreFormats();
}

void ReminderLists::StoreFormats() {
  CodePageText value = CodePageFromUtf8(stored_.Value());
  if (value.bytes == storedValue_) return;
  // What was written is saved already; a value that cannot be stored only
  // means it is tried again at the next write. Formats the code page cannot
  // hold are not stored at all, so none stale are read by at the next start.
  const std::string key = std::string(kReminderEventsKey) + "\\" + kFormatsSection;
  try {
    if (!value.whole) {
      Svc().registry->DeleteValue(key, kFormatsIdent);
      storedValue_.clear();
      return;
    }
    Svc().registry->WriteText(key, kFormatsIdent, value.bytes);
    storedValue_ = std::move(value.bytes);
  } catch (const std::exception&) {
  }
}

void ReminderLists::EnableRemoveAll(Kind kind) {
  const bool rows = !book_.List(kind).empty();
  clearAllEnabled_[static_cast<size_t>(Index(kind))] = rows;
  EnableWindow(pages_.Page(kind).btnClearAll, rows);
  EnableMenuItemById(pages_.Page(kind).popup, MenuId(kind, Mnu::RemoveAll), rows);
}

}  // namespace pendra
