#pragma once
// The list commands of the four reminder pages: Remove, Remove All, the four
// moves, Edit, the alarm-sound slot, the button panels, page switching and
// Close, and the enable states they set.
#include <windows.h>

#include <array>
#include <string>

#include "platform/services.h"
#include "reminders/reminder_book.h"
#include "reminders/reminder_page_win.h"

namespace pendra {

class ReminderLists;
class ReminderPages;

// What the page commands need of the reminder window.
class PageCommandsHost {
 public:
  // The Close command: hides the reminder window.
  virtual void HideWindow() = 0;

 protected:
  ~PageCommandsHost() = default;
};

class ReminderPageCommands {
 public:
  ReminderPageCommands(PageCommandsHost& host, ReminderPages& pages, ReminderLists& lists)
      : host_(host), pages_(pages), lists_(lists) {}
  ~ReminderPageCommands();  // frees the Play Sound pictures it loaded
  ReminderPageCommands(const ReminderPageCommands&) = delete;
  ReminderPageCommands& operator=(const ReminderPageCommands&) = delete;

  // Routes a WM_COMMAND of a page control or popup menu item that belongs to
  // these commands; false when the id is not one of them.
  bool OnCommand(int id);

  void SelectionChanged(Kind kind);          // Md4TabbedList1Click ...
  void ListKeyDown(Kind kind, WPARAM key);   // Md4TabbedList1KeyDown ...: Delete runs Remove silently
  void Remove(Kind kind);                    // btnRemoveClick ...
  void RemoveAll(Kind kind);                 // btnClearAllClick ...
  void MoveRow(Kind kind, MoveKind move);    // btnUpClick, btnDownClick, btnMoveTopClick, btnMoveBottomClick ...
  void Edit(Kind kind);                      // btnEditClick ...
  void ChooseSound(Kind kind);               // btnSoundClick, btnSound2Click, ...
  void TogglePlay(Kind kind);                // btnPlayClick, btnPlay2Click, ...
  void SoundPathChanged(Kind kind);          // edtReminderSoundChange ...
  void ShowSwitch(Kind kind);                // picture of btnPlay from the switch (window show)
  void HideButtons(Kind kind);               // btnHideButtonsClick ...
  void ShowButtons(Kind kind);               // ShowButtons1Click ...
  void RestorePanels();                      // window show

 private:
  int SelectedRow(Kind kind);
  int RequireSelectedRow(Kind kind);  // the list-index error when none
  void EnableEntryControls(Kind kind, bool enabled);
  void LoadSwitchPicture(Kind kind, bool on);
  void ShowPanel(Kind kind, bool shown);
  void SetPanelItems(Kind kind, bool shown);

  PageCommandsHost& host_;
  ReminderPages& pages_;
  ReminderLists& lists_;
  // opdReminder: one open dialog for the four slots, so it opens on the file
  // last chosen on any page.
  FileDialogRequest opdReminder_;
  std::array<HBITMAP, 4> glyphs_{};
};

}  // namespace pendra
