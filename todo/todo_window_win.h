#pragma once
// The to-do list window and its add-item dialog. The list and the command
// states live in ToDoList; the window mirrors them. ToDo.lst is read when the
// window is created, and again when it is shown or activated after another
// program changed it; the window and its controls are made when it is first
// shown.
#include <windows.h>

#include <memory>
#include <string>

#include "platform/hints_win.h"
#include "platform/window_win.h"
#include "settings/datetime.h"
#include "todo/todo_list.h"

namespace pendra {

inline constexpr const char* kToDoKey = "Software\\Tavrin Software\\Pendra\\ToDo";

class ToDoPanel;

class TfrmToDo : public Form {
 public:
  // A button and its menu twin share one command id, so one handler runs
  // for both.
  enum Id : int {
    kBtnAdd = 301,
    kBtnRemove,
    kBtnUp,
    kBtnDown,
    kBtnMoveTop,
    kBtnMoveBottom,
    kBtnSave,
    kBtnCancel,
    kBtnHideButtons,
    kBtnClose,
    kShowButtons1,
    kListBox1,
    kHeaderControl1,
    kPnlButton,
  };
  // Where the window sits until the user moves it, and its size limits, at
  // 96 DPI; the window scales them to its DPI.
  static constexpr RECT kDesignBounds{275, 207, 275 + 431, 207 + 287};
  static constexpr int kMinWidth = 430, kMaxWidth = 860, kMinHeight = 287, kMaxHeight = 580;
  // A ToDo.lst another program is still writing is looked at again after this.
  static constexpr UINT_PTR kLookTimer = 1;
  static constexpr UINT kLookAgainMs = 500;

  // Runs the creation steps: the button panel's stored visibility and
  // ToDo.lst. An error is shown and ends them; the program goes on.
  TfrmToDo();
  ~TfrmToDo() override;

  const ToDoList& List() const { return list_; }
  bool ControlsBuilt() const { return Handle() != nullptr; }
  // The program folder changed: a shown list shows ToDo.lst afresh when
  // another program changed it; a hidden one looks at its next show.
  void ProgramFolderChanged() {
    if (Visible()) RefreshList();
  }

  // The controls, once built.
  HWND HeaderControl1() const { return HeaderControl1_; }
  HWND ListBox1() const { return ListBox1_; }
  HWND pnlButton() const { return pnlButton_; }
  HWND Button(Id id) const;
  HMENU pmnuToDo() const { return pmnuToDo_; }
  std::string HintOf(HWND control) const;

  // The add dialog's OK: the item made of the date (as the locale writes it
  // now) and the text, in UTF-8; an empty text adds nothing. The change commands go on.
  // True when an item was added.
  bool AddItem(const Date& date, const std::string& text);

  // Handlers, named after their components; each menu twin runs the same.
  void btnAddClick();
  void btnRemoveClick();
  void btnUpClick() { MoveClick(ToDoMove::Up); }
  void btnDownClick() { MoveClick(ToDoMove::Down); }
  void btnMoveTopClick() { MoveClick(ToDoMove::ToTop); }
  void btnMoveBottomClick() { MoveClick(ToDoMove::ToBottom); }
  void btnSaveClick();
  void btnCancelClick();
  void btnHideButtonsClick();
  void ShowButtons1Click();
  void btnCloseClick() { Close(); }
  void ListBox1Click();

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void BeforeShow() override;
  void FormShow() override;
  void FormClose() override;
  void DpiChanged(UINT oldDpi) override;

 private:
  void FormCreate();
  void CreateControls();
  void CreatePopupMenu();
  // Places and sizes are design values, scaled to the window's DPI.
  HWND AddControl(HWND parent, const char* cls, const char* text, DWORD style, int x, int y,
                  int w, int h, int id, DWORD exStyle = 0);
  void AddHint(HWND control, const char* text);
  void FillList();
  // Shows ToDo.lst afresh when another program changed it (shown, activated).
  void RefreshList();
  void ApplyCommands();
  // Sizes the button panel to its captions at the window's DPI.
  void SizeButtons();
  void Relayout();
  void MoveClick(ToDoMove move);
  ListFocus Focus() const;
  void OnCommand(int id, int code);
  void ContextMenu(int x, int y);

  ToDoList list_;
  std::unique_ptr<ToDoPanel> panel_;
  HFONT font_ = nullptr;
  HMENU pmnuToDo_ = nullptr;
  Hints hints_;
  HWND HeaderControl1_ = nullptr, ListBox1_ = nullptr, pnlButton_ = nullptr;
  HWND buttons_[10] = {};
  int panelWidth_ = 0;  // pixels
  bool scalingColumns_ = false;  // the columns' widths follow a DPI change
  // Shown at some time in this run: only then are its bounds worth storing.
  bool shownThisRun_ = false;
};

// The small dialog in which a new item is typed and dated. It does not block
// the to-do list window.
class TfrmAddToDo : public Form {
 public:
  enum Id : int { kBtnOK = IDOK, kBtnCancel = IDCANCEL, kEdtToDo = 401, kDtpAddToDo };

  // The picker starts at today's date; it is set again after each item added,
  // not each time the dialog is shown.
  explicit TfrmAddToDo(TfrmToDo& frmToDo);
  ~TfrmAddToDo() override;

  HWND edtToDo() const { return edtToDo_; }
  HWND dtpAddToDo() const { return dtpAddToDo_; }
  HWND btnOK() const { return btnOK_; }
  HWND btnCancel() const { return btnCancel_; }
  Date PickerDate() const;

  void edtToDoChange();
  void btnOKClick();
  void btnCancelClick();

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void BeforeShow() override;
  void DpiChanged(UINT oldDpi) override;

 private:
  void SetPickerDate(const Date& date);

  TfrmToDo& frmToDo_;
  Date pickerDate_;  // the picker's date while the picker does not exist yet
  HFONT font_ = nullptr;
  HWND edtToDo_ = nullptr, dtpAddToDo_ = nullptr, btnOK_ = nullptr, btnCancel_ = nullptr;
};

}  // namespace pendra
