#pragma once
// The text commands the notebook, the editor and quick notes share, bound to
// one window's text control: the stored font and the font choice, Find and
// Find Next, the two printouts, the text-file export, link opening, the edit
// commands and the command-state refresh.
//
// A window wires them up in four steps:
//
//   // 1. Its table: which of its commands each event refreshes, by rule.
//   const CommandStateRow kRefresh[] = {
//       {ID_BTN_PASTE, CommandRule::Clipboard, true, true},
//       {ID_CUT1, CommandRule::Selection, false, true}, ...};
//   // 2. Members: the control, then the behaviours with the window's
//   //    settings key and what a cancelled font dialog does.
//   TRxRichEdit redtPendra_;
//   TextBehaviours text_{redtPendra_, {kNotebookKey, FontCancel::StoreCurrentFont,
//                                      {std::begin(kRefresh), std::end(kRefresh)}}};
//   // 3. When building the controls (the designed font; size in points):
//   redtPendra_.Create(Handle(), ID_REDT, bounds, {"MS Sans Serif", 10, 0, {}});
//   text_.Commands().AddToolbar(tlbPendra_);
//   text_.Commands().AddMenu(MainMenu1_);
//   text_.Commands().AddMenu(PopupMenuNotes_);
//   // 4. In HandleMessage, before anything else, and in the command handler:
//   LRESULT result;
//   if (text_.HandleMessage(msg, wp, lp, result)) return result;
//   ...
//   case ID_CUT1: text_.Run(TextCommand::Cut); break;
//
// The behaviours take the control's change, mouse-move and link events;
// `afterChange` runs after the refresh of every change (the editor's modified
// flag). The window keeps onMouseDown and onKeyDown of the control for its
// context menu. The window loads and saves its own files through a document
// (text_document_win.h) and calls FontRestore when it needs to (at every
// show, or once at creation).
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "notes/rich_text_win.h"
#include "notes/stored_font.h"
#include "notes/text_rules.h"

namespace pendra {

// Enables a window's commands by id in its toolbars and menus: whichever of
// them holds the id.
class CommandEnabler {
 public:
  void AddToolbar(HWND toolbar) { toolbars_.push_back(toolbar); }
  void AddMenu(HMENU menu) { menus_.push_back(menu); }
  void Enable(int command, bool enabled) const;

 private:
  std::vector<HWND> toolbars_;
  std::vector<HMENU> menus_;
};

struct TextWindowSettings {
  std::string settingsKey;  // the window's key under HKEY_CURRENT_USER
  FontCancel fontCancel = FontCancel::StoreCurrentFont;
  std::vector<CommandStateRow> refresh;
  // A background of the control's own; nullopt: the system's window colour.
  std::optional<int> background;
};

enum class TextCommand {
  Cut,
  Copy,
  Paste,
  ClearAll,
  SelectAll,
  DeleteSelectedText,
  Fonts,              // the font choice
  Find,               // the find command
  Print,              // the formatted printout
  PrintSelectedText,  // the plain-text printout of the selection
  PrintLines,         // quick notes' Print: every display line
  SaveAsTextFile,     // the text-file export
};

class TextBehaviours {
 public:
  TextBehaviours(RichTextControl& control, TextWindowSettings settings);
  TextBehaviours(const TextBehaviours&) = delete;
  TextBehaviours& operator=(const TextBehaviours&) = delete;

  CommandEnabler& Commands() { return commands_; }
  RichTextControl& Control() { return control_; }
  const InRunFont& InRun() const { return inRun_; }

  // Runs a command under the general error handler; false when it failed.
  bool Run(TextCommand command);

  // Applies the stored font to the control, and the colours to show with it.
  void FontRestore();
  // Gives the control the colours to show now: the system's under high
  // contrast or while no colour is stored, else the stored one.
  void ApplyColors();
  void FontChoice();
  // Shows the find dialog with the selected text.
  void FindCommand();
  // Searches from the end of the selection (or the start) and selects the
  // match, or says "Text not found".
  void FindNext(const std::string& text);
  void FormattedPrintout();
  void PrintSelectedText();
  void PrintLines();
  void ExportTextFile();
  // Opens a web or mail link through the shell; any other link is left
  // alone, and the first of them in this window's run tells the user why.
  void OpenLink(const std::string& url);
  void ClearAll();
  void SelectAll();
  void DeleteSelectedText();

  void Refresh(TextEvent event);
  std::function<void()> afterChange;

  // The control's notifications, the find dialog's Find Next and the
  // system's colour changes, from the messages of the window that holds the
  // control.
  bool HandleMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

 private:
  HWND Owner() const;  // the top-level window of the control

  RichTextControl& control_;
  TextWindowSettings settings_;
  CommandEnabler commands_;
  InRunFont inRun_;
  bool refusedLinkTold_ = false;
};

}  // namespace pendra
