#pragma once
// The to-do list and the states of its commands, apart from the window: the
// item line, the commands on the focused item, and saving and reloading
// ToDo.lst. The window mirrors what this holds.
#include <optional>
#include <string>
#include <string_view>

#include "settings/data_folder.h"
#include "settings/list_file.h"

namespace pendra {

inline constexpr const char* kToDoFileName = "ToDo.lst";

// One blank, the date text, nine blanks, then the text as typed.
std::string ToDoItemLine(std::string_view dateText, std::string_view text);

enum class ToDoMove { Up, Down, ToTop, ToBottom };

// The list box's focused item and whether it is selected.
struct ListFocus {
  int index = -1;
  bool selected = false;
};

// The three command groups. The item commands are the five buttons Remove,
// Move Up, Move Down, Move To Top, Move To Bottom and their menu twins; the
// change commands are Save changes and Cancel, of which Cancel can be off
// while Save is on.
struct ToDoCommands {
  bool items = false;
  bool save = false;
  bool cancel = false;
  bool buttonsShown = true;  // the panel; Show Buttons is enabled exactly when it is hidden
  bool operator==(const ToDoCommands&) const = default;
};

class ToDoList {
 public:
  explicit ToDoList(DataFile& file) : file_(file) {}

  const std::string& Path() const { return file_.Path(); }
  const Lines& Items() const { return items_; }
  const ToDoCommands& Commands() const { return commands_; }
  // The list holds what ToDo.lst held (a missing file counts as read). Until
  // then the file is never replaced: it holds data the program has not seen.
  bool Read() const { return read_; }

  // Reads ToDo.lst whole; a missing file gives an empty list. A file that
  // cannot be read fails with "Cannot open file <path>" and changes nothing.
  void Load();
  // Cancel: the list as ToDo.lst holds it; Cancel goes off, the rest stays.
  void Reload();
  // Save changes: writes the list whole, then both change commands go off.
  // A failed write leaves them on. ToDo.lst changed by another program while
  // the list holds no edit of its own is read instead (ChangedElsewhere
  // then), and one changed on both sides is written, the other version kept
  // as a copy.
  DataOutcome Save();
  // The close: writes the list whatever the commands say, as Save does but
  // for a list with no edit of its own, which the next show reads again. A
  // list that was never read is not written; none then.
  std::optional<DataOutcome> SaveForClose();
  // The show, an activation, a change of the folder: reads ToDo.lst again
  // when another program changed it and the list holds no edit of its own,
  // once the file has come to rest (DataFile::AtRest; NotYet asks for another
  // look a moment later). A file that cannot be read then leaves the list as
  // it is.
  enum class Refreshed { Nothing, Read, NotYet };
  Refreshed Refresh();

  // The text of the error raised when an unread list is to be saved.
  std::string NotReadMessage() const;

  void Select() { commands_.items = true; }
  // The dialog's OK: an empty text adds nothing, but the change commands go
  // on all the same. Returns the new item's index, if one was added.
  std::optional<int> Add(std::string_view dateText, std::string_view text);
  // Act on the focused item only when it is selected; then the item commands
  // go off and the change commands on. Remove returns the removed index,
  // Move the new place.
  std::optional<int> Remove(ListFocus focus);
  std::optional<int> Move(ToDoMove move, ListFocus focus);
  void SetButtonsShown(bool shown) { commands_.buttonsShown = shown; }

 private:
  bool Acts(ListFocus focus) const;
  void Changed();

  DataFile& file_;
  Lines items_;
  ToDoCommands commands_;
  bool read_ = false;
};

}  // namespace pendra
