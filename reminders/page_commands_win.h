#pragma once
// The list commands of the four reminder pages: Remove, Remove All, the four
// moves, Edit, the alarm-sound slot, the button panels, page switching and
// Close, and the enable states they set.
#include "platform/services.h"
#include "reminders/reminder_page_win.h"

namespace pendra {

class ReminderPageCommands {
 public:
  explicit ReminderPageCommands(IReminderHost& host) : host_(host) {}
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

  // The slot sound for an announcement: the path when the switch is on and the
  // path is not empty, else empty.
  std::string SlotSound(Kind kind);

 private:
  int SelectedRow(Kind kind);
  int RequireSelectedRow(Kind kind);  // the list-index error when none
  void EnableEntryControls(Kind kind, bool enabled);
  bool SwitchOn(Kind kind);
  void LoadSwitchPicture(Kind kind, bool on);
  void ShowPanel(Kind kind, bool shown);
  void SetPanelItems(Kind kind, bool shown);

  IReminderHost& host_;
  // opdReminder: one open dialog for the four slots, so it opens on the file
  // last chosen on any page.
  FileDialogRequest opdReminder_;
  std::array<HBITMAP, 4> glyphs_{};
};

}  // namespace pendra
