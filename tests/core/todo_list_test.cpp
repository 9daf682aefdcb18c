#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "settings/errors.h"
#include "tests/common/file_bytes.h"
#include "todo/todo_list.h"

namespace pendra {
namespace {

using testing_files::ReadFileBytes;
using testing_files::WriteFileBytes;

TEST(ToDoItemLine, BlankDateNineBlanksText) {
  EXPECT_EQ(ToDoItemLine("05/03/2001", "call the bank"), " 05/03/2001         call the bank");
}

class ToDoListFile : public testing::Test {
 protected:
  void SetUp() override {
    char templ[] = "/tmp/pendra-todo-XXXXXX";
    ASSERT_NE(mkdtemp(templ), nullptr);
    dir_ = templ;
    path_ = dir_ + "/ToDo.lst";
    folder_ = std::make_unique<DataFolder>(dir_ + "/", [] { return DateTime{{2025, 3, 1}, {9, 0, 0}}; });
  }
  void TearDown() override {
    ASSERT_EQ(std::system(("rm -rf '" + dir_ + "'").c_str()), 0);
  }
  DataFile& File() { return folder_->File("ToDo.lst"); }
  std::string dir_, path_;
  std::unique_ptr<DataFolder> folder_;
};

// A list of four with two identical lines, every command acting on one focus.
struct FocusCase {
  const char* name;
  std::optional<ToDoMove> move;  // nullopt: Remove
  ListFocus focus;
  Lines after;        // empty: unchanged
  bool itemsAfter;    // the item commands afterwards
};

TEST_F(ToDoListFile, CommandsActOnlyOnTheFocusedSelectedItemByItsPlace) {
  const Lines start{"a", "twin", "twin", "z"};
  WriteFileBytes(path_, JoinLines(start));
  const FocusCase cases[] = {
      {"remove second twin", std::nullopt, {2, true}, {"a", "twin", "z"}, false},
      {"remove unselected", std::nullopt, {2, false}, {}, true},
      {"remove past the end", std::nullopt, {4, true}, {}, true},
      {"up second twin", ToDoMove::Up, {2, true}, {"a", "twin", "twin", "z"}, false},
      {"up first twin", ToDoMove::Up, {1, true}, {"twin", "a", "twin", "z"}, false},
      {"up first item", ToDoMove::Up, {0, true}, {}, true},
      {"down last item", ToDoMove::Down, {3, true}, {}, true},
      {"down unselected", ToDoMove::Down, {0, false}, {}, true},
      {"down first", ToDoMove::Down, {0, true}, {"twin", "a", "twin", "z"}, false},
      {"to top last", ToDoMove::ToTop, {3, true}, {"z", "a", "twin", "twin"}, false},
      {"to top first", ToDoMove::ToTop, {0, true}, {}, true},
      {"to bottom first", ToDoMove::ToBottom, {0, true}, {"twin", "twin", "z", "a"}, false},
      {"to bottom last", ToDoMove::ToBottom, {3, true}, {}, true},
      {"no focus", ToDoMove::ToBottom, {-1, true}, {}, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ToDoList list(File());
    list.Load();
    list.Select();
    ToDoCommands before = list.Commands();
    const auto acted = c.move ? list.Move(*c.move, c.focus) : list.Remove(c.focus);
    EXPECT_EQ(acted.has_value(), !c.after.empty());
    EXPECT_EQ(list.Items(), c.after.empty() ? start : c.after);
    EXPECT_EQ(list.Commands().items, c.itemsAfter);
    if (c.after.empty()) EXPECT_EQ(list.Commands(), before);
    else EXPECT_TRUE(list.Commands().save && list.Commands().cancel);
  }
}

TEST(ToDoListCommands, AnEmptyListIgnoresItemCommandsAndAnEmptyTextAddsNothing) {
  DataFolder nowhere("/nonexistent/", [] { return DateTime{}; });
  ToDoList list(nowhere.File("ToDo.lst"));
  list.Select();
  EXPECT_FALSE(list.Remove({0, true}));
  for (ToDoMove m : {ToDoMove::Up, ToDoMove::Down, ToDoMove::ToTop, ToDoMove::ToBottom})
    EXPECT_FALSE(list.Move(m, {0, true}));
  // OK with an empty text adds nothing but turns the change commands on.
  EXPECT_FALSE(list.Add("6/19/2000", ""));
  EXPECT_TRUE(list.Items().empty());
  EXPECT_EQ(list.Commands(), (ToDoCommands{true, true, true, true}));
}

TEST_F(ToDoListFile, SaveCancelAndCloseRoundTrip) {
  WriteFileBytes(path_, "one\nlast without end");
  ToDoList list(File());
  list.Load();
  EXPECT_EQ(list.Items(), (Lines{"one", "last without end"}));
  list.Add("d", "new");
  (void)list.Save();
  EXPECT_EQ(ReadFileBytes(path_), "one\r\nlast without end\r\n d         new\r\n");
  EXPECT_EQ(list.Commands(), (ToDoCommands{false, false, false, true}));

  // Cancel drops the edits and turns Cancel off; Save stays on.
  list.Add("d", "dropped");
  list.Reload();
  EXPECT_EQ(list.Items().size(), 3u);
  EXPECT_EQ(list.Commands(), (ToDoCommands{false, true, false, true}));

  // Cancel with no file on disk empties the list; the close writes it.
  std::remove(path_.c_str());
  list.Reload();
  EXPECT_TRUE(list.Items().empty());
  EXPECT_TRUE(list.SaveForClose());
  EXPECT_EQ(ReadFileBytes(path_), "");
}

TEST_F(ToDoListFile, AFailedWriteOrReadChangesNothing) {
  ToDoList list(File());
  list.Load();
  list.Add("d", "kept");
  mkdir(path_.c_str(), 0755);  // in the way of both the read and the write
  EXPECT_THROW((void)list.Save(), Error);
  EXPECT_TRUE(list.Commands().save);
  EXPECT_THROW(list.Reload(), Error);
  EXPECT_EQ(list.Items(), Lines{" d         kept"});
  EXPECT_TRUE(list.Commands().cancel);
}

TEST_F(ToDoListFile, AListNeverReadNeverReplacesTheFile) {
  WriteFileBytes(path_, "the user's items\r\n");
  ToDoList list(File());  // the creation steps ended before the load
  list.Add("d", "typed later");
  EXPECT_FALSE(list.SaveForClose());
  try {
    (void)list.Save();
    ADD_FAILURE() << "saved";
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()), list.NotReadMessage());
  }
  EXPECT_EQ(ReadFileBytes(path_), "the user's items\r\n");
  // A Cancel that reads the file ends the guard.
  list.Reload();
  EXPECT_TRUE(list.SaveForClose());
}

}  // namespace
}  // namespace pendra
