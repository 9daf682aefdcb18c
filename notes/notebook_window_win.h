#pragma once
// The notebook window: a tab control with one tab per line of Tabs.lst and,
// under the tabs, one page of plain text, stored in a file named after the
// active tab. A toolbar with a clock and today's date, a main menu and the
// page's context menu carry the shared text commands and open the other tools.
//
// The window is created hidden at start. Creating it reads Tabs.lst (writing
// the nine designed tabs when it is missing); the window itself, its controls
// and the rich edit library wait for the first show.
//
// Tabs.lst and the pages may be written by other programs too (a sync tool,
// another editor): a show takes the tabs again and an activation the page
// again when another program changed them and Pendra did not.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "notes/rich_text_win.h"
#include "notes/text_behaviours_win.h"
#include "notes/text_document_win.h"
#include "platform/colors_win.h"
#include "platform/window_win.h"
#include "settings/data_folder.h"
#include "settings/list_file.h"

namespace pendra {

class TfrmPendra : public Form {
 public:
  // Command ids of the toolbar buttons and menu items, named after them.
  enum Id : int {
    // tlbPendra
    btnCut = 401, btnCopy, btnPaste, btnPrint, btnPrintSelText, btnFonts, btnFind, btnEditTabs,
    btnEditor, btnQuick, btnRemind, btnToDo, btnHelp, btnExit,
    // MainMenu1
    Print1 = 431, PrintSelectedText2, SaveasTextFile1, Exit1, Cut1, Copy1, Paste1, ClearAll1,
    SelectAll1, DeleteSelectedText1, Reminder1, QuickNotes2, Editor1, ToDo1, Fonts1, EditTabs1,
    Contents1, About1,
    // PopupMenuNotes
    MenuItemcut = 461, MenuItemCopy, MenuItemPaste, Clear, SelectAll2, DeleteSelText,
    SaveAsTextFile2, MenuItem5, MenuItemPrint, PrintSelectedText1, MenuItemExit,
    // PopupMenuHelp
    Contents2 = 481, About2,
  };
  // Child control ids.
  enum Control : int { tlbPendraId = 10, tbcPendraId, redtPendraId, StaticText1Id, DateTimePicker1Id };
  static constexpr UINT_PTR Timer1 = 1;

  // The creation steps: reads Tabs.lst, or writes the designed tabs to it
  // when it is missing. An error is shown and the program goes on.
  TfrmPendra();
  ~TfrmPendra() override;

  // The tab list dialog has closed: the page typed since Edit Tabs is saved
  // to the file it was loaded from (an error ends the close there), the tabs
  // come again from Tabs.lst with the first one active, its page is loaded,
  // and the window is shown.
  void TabListDialogClosed();

  // How a menu pops up at a screen point; its choice arrives as WM_COMMAND.
  // Tests replace it.
  std::function<void(HMENU menu, POINT at)> popupMenu;

  // Views for tests. The controls exist from the first show on.
  HWND tlbPendra() const { return tlbPendra_; }
  HWND tbcPendra() const { return tbcPendra_; }
  HWND StaticText1() const { return StaticText1_; }
  HWND DateTimePicker1() const { return DateTimePicker1_; }
  TRxRichEdit& redtPendra() { return redtPendra_; }
  HMENU MainMenu1() const { return MainMenu1_; }
  HMENU PopupMenuNotes() const { return PopupMenuNotes_; }
  HMENU PopupMenuHelp() const { return PopupMenuHelp_; }
  const Lines& Tabs() const { return tabs_; }
  int ActiveTab() const { return activeTab_; }  // -1: no tabs
  // The file the page was loaded from and is saved to; nullopt while the
  // page has none (not loaded yet, unreadable, a caption that cannot name a
  // file, or a new page whose file cannot be made), and then the page is
  // never saved.
  std::optional<std::string> PageFile() const;
  bool CommandEnabled(int id) const;  // in the toolbar or a menu

  // Handlers, named after their components.
  bool tbcPendraChanging();  // false: the switch is refused
  void tbcPendraChange();
  void btnEditTabsClick();
  void Contents1Click();
  void Timer1Timer();
  void redtPendraMouseDown(MouseButton button, int x, int y);

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void BeforeShow() override { EnsureControls(); }
  void FormShow() override;
  void FormClose() override;
  void DpiChanged(UINT oldDpi) override;

 private:
  void FormCreate();
  void EnsureControls();
  void CreateFonts();
  void CreateMenus();
  void CreateToolbar();
  void Layout();
  // The date picker shows the long date where it fits, else the short one.
  void FitDateFormat();
  void SetTabCaptions();
  // Tabs.lst as another program left it, when it changed since it was read
  // here; a file that cannot be read now leaves the tabs as they are.
  void RefreshTabs();
  void SelectTab(int index);

  void PageLoad();
  void PageSave();
  // Shows the page without a file to save to, read-only: empty, or the
  // text of `readFrom` where that file can be read (then true).
  bool ShowPageWithoutFile(const std::string& readFrom = {});
  void FocusPage();

  void OnCommand(int id);
  LRESULT OnNotify(const NMHDR& hdr);
  void PopUp(HMENU menu, POINT at);
  void ShowHelpMenu();
  bool ShortcutKey(WPARAM key);  // true when it ran a command

  TRxRichEdit redtPendra_;
  TextBehaviours text_;

  DataFile& tabList_;
  Lines tabs_;
  int activeTab_ = 0;
  // Tabs.lst was there but could not be read: the tabs shown are not the
  // user's, so they are never written over it.
  bool tabListUnread_ = false;
  DataDocument page_{redtPendra_};

  HWND tlbPendra_ = nullptr;
  HWND tbcPendra_ = nullptr;
  HWND StaticText1_ = nullptr;
  HWND DateTimePicker1_ = nullptr;
  HMENU MainMenu1_ = nullptr;
  HMENU PopupMenuNotes_ = nullptr;
  HMENU PopupMenuHelp_ = nullptr;
  HFONT clockFont_ = nullptr;
  // The clock's colours as shown now: the design's, or the system's under
  // high contrast.
  ColorPair clockColors_;
  ColorBrush clockBrush_;
  HFONT uiFont_ = nullptr;
  HBITMAP toolPictures_ = nullptr;  // the toolbar's, at the window's DPI
  bool longDateShown_ = true;
};

}  // namespace pendra
