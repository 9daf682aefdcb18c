#pragma once
// Rules of the shared text commands that need no window: which commands the
// change and mouse-move events enable, where Find Next searches, which file
// names are exported as rich text, and which links are opened.
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace pendra {

enum class CommandRule {
  Clipboard,  // the clipboard holds plain text (CF_TEXT)
  Selection,  // the selection is not empty
  Text,       // the text is not empty
};

// One row of a window's command-state table: a command (a toolbar button or
// menu item id of that window), its rule, and the events that refresh it.
struct CommandStateRow {
  int command;
  CommandRule rule;
  bool onChange;
  bool onMouseMove;
};

enum class TextEvent { Change, MouseMove };

// What the rules look at, taken when the event arrives.
struct TextFacts {
  bool clipboardHasText = false;
  int selectionLength = 0;
  int textLength = 0;
};

bool RuleHolds(CommandRule rule, const TextFacts& facts);

// The commands that `event` refreshes, in table order, each with its new
// enabled state. Commands the event does not refresh keep their state.
std::vector<std::pair<int, bool>> CommandStates(std::span<const CommandStateRow> table,
                                                TextEvent event, const TextFacts& facts);

// True when some row that `event` refreshes is under `rule` (so the window
// can skip asking the clipboard when nothing needs it).
bool EventUsesRule(std::span<const CommandStateRow> table, TextEvent event, CommandRule rule);

// Find Next searches from the end of the selection, or from the start of the
// text when nothing is selected (the caret alone does not count), to the end.
struct SearchRange {
  int start;
  int length;
};
SearchRange FindNextRange(int selectionStart, int selectionLength, int textLength);

// True when the file name's extension is "rtf" in any letter case.
bool IsRichTextFileName(std::string_view path);

// What a click on a detected link opens: the address for the shell, or
// nothing. Only web and mail links open: "http:", "https:", "ftp:" and
// "mailto:" (the scheme in any letter case), and text that starts with
// "www." (opened as "http://" and the text). A page holds text pasted from
// anywhere, and the control also marks file: links, UNC paths, telnet:,
// news: and more, which the shell would run or open as programs.
std::optional<std::string> LinkToOpen(std::string_view link);

// Bytes as a link address writes them where it may hold only plain ASCII:
// each one %XX. A character of a link that the code page cannot hold goes to
// the shell as its UTF-8 so, as a browser sends it.
std::string PercentEncoded(std::string_view bytes);
// What the user is told, once, when a link was not opened.
inline constexpr const char* kOnlyWebLinks =
    "Pendra opens only web and mail links (http, https, ftp, mailto and www. addresses). "
    "This link was not opened.";

// The text-file export's save dialog.
inline constexpr const char* kExportFilter =
    "Text(*.txt)|*.txt|Pendra Files(*.pnd)|*.pnd|All Files(*.*)|*.*";
inline constexpr const char* kExportDefaultExt = "txt";

}  // namespace pendra
