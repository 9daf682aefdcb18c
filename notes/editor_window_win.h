#pragma once
// The text editor: one plain-text file at a time, with New, Open, Save and
// Save As, the five most recent files in its File menu, and a question before
// unsaved changes are thrown away. It is created hidden at start and builds
// its window and controls on the first show; the text stays in the window
// between a close and the next show.
#include <windows.h>

#include <string>

#include "notes/editor_document_win.h"
#include "notes/editor_rules.h"
#include "notes/popup_menu_win.h"
#include "notes/text_behaviours_win.h"
#include "platform/application_win.h"
#include "platform/window_win.h"

namespace pendra {

class TfrmEditor : public Form, public IEditorCloseQuery {
 public:
  // Command ids. A toolbar button and a menu item of the same command have ids
  // of their own, since the command-state refresh treats them apart.
  enum Id : int {
    kRedtEditor = 100,
    kTlbPendra,
    btnNew = 1001, btnOpen, btnSave, btnCut, btnCopy, btnPaste, btnPrint, btnPrintSelText,
    btnFonts, btnFind, btnQuick, btnExit,
    New1 = 1101, Open1, Save1, SaveAs1, Print1, PrintSelectedText2, Close1, Cut1, Copy1, Paste1,
    Fonts1,
    MRU1 = 1121, MRU2, MRU3, MRU4, MRU5,
    MenuItemcut = 1201, MenuItemCopy, MenuItemPaste, Clear, SelectAll1, DeleteSelText, MenuItem5,
    QuickNotes1, MenuItemPrint, PrintSelectedText1, MenuItemExit,
  };

  TfrmEditor();
  ~TfrmEditor() override;

  // The tray's close query: asks the save-changes question while the window
  // is visible and the text modified; clears the flag when the close may go on.
  bool EditorAllowsClose() override;
  void SaveForSessionEnd() override;

  bool Modified() const { return modified_; }
  const std::string& FileName() const { return doc_.FileName(); }
  const RecentFiles& Recent() const { return recent_; }
  TTavrinREDIT& redtEditor() { return redtEditor_; }
  HWND tlbPendra() const { return tlbPendra_; }
  HMENU MainMenu1() const { return MainMenu1_; }
  HMENU mnuFile() const { return mnuFile_; }
  HMENU PopupMenuNotes() const { return PopupMenuNotes_; }

  PopupMenuFunction popupMenu = TrackPopupAt;

  // Handlers, named after their components; each runs under the general
  // error handler when it comes from a command.
  void btnNewClick();
  void btnOpenClick();
  void btnSaveClick();
  void SaveAs1Click() { SaveAs(); }
  void MRUClick(int slot);  // 0-based
  void mnuFileClick();
  void btnQuickClick();

  // True when the caller may go on: the text was saved, or the user chose not
  // to save; false when the user cancelled.
  bool AskSaveChanges();
  bool Save();
  bool SaveAs();

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void BeforeShow() override;
  void FormShow() override;
  bool FormCloseQuery() override;
  void FormClose() override;
  // Loads a file into the text (the tests stand in a load the control could
  // not keep).
  virtual TextLoad LoadText(const std::string& path);

 private:
  enum class RecentState {
    NotRead,     // between a close and the next show
    Read,        // as stored
    Unreadable,  // a stored value could not be read: the list is not written
  };

  void BuildMenus();
  void BuildToolbar();
  void Layout();
  void OnCommand(int id);
  bool Shortcut(WPARAM key);  // true when it ran a command
  void SetCaption(const std::string& caption);
  void RestoreBounds();
  void StoreBounds();
  void ReadRecentFiles();
  void WriteRecentFiles();
  // Sets the list in memory; it reaches the registry at once.
  void ChangeRecentFiles(const RecentFiles& list);
  void OpenPath(const std::string& path, const RecentFiles& recentAfter);
  // Says why a file kept as it is stored is not written over, and asks before
  // writing over one whose bytes the control changed; false when it is not.
  bool MayWrite(const std::string& path);
  bool MenuItemEnabled(int id) const;

  TTavrinREDIT redtEditor_;
  TextBehaviours text_;
  EditorDocument doc_{redtEditor_};
  HWND tlbPendra_ = nullptr;
  HMENU MainMenu1_ = nullptr;
  HMENU mnuFile_ = nullptr;
  HMENU PopupMenuNotes_ = nullptr;

  bool modified_ = false;
  RecentFiles recent_{};
  RecentState recentState_ = RecentState::NotRead;
  bool recentShown_[kRecentSlots] = {};
  bool mruSeparatorShown_ = false;
};

}  // namespace pendra
