#pragma once
// The tab list dialog: a working copy of Tabs.lst in a list box, where tabs
// are added, removed and moved. OK writes it to Tabs.lst, Cancel throws it
// away; every way of closing makes the notebook load its tabs and its page
// again and shows it. The dialog never deletes or renames a page file. OK
// writes nothing over a Tabs.lst that another program changed while the
// working copy holds no change of its own.
#include <windows.h>

#include "platform/window_win.h"
#include "settings/data_folder.h"
#include "settings/list_file.h"

namespace pendra {

class TfrmPendra;

class TfrmAddTabs : public Form {
 public:
  // Control ids; OK and Cancel answer Enter and Esc.
  enum Id : int {
    ListBox1 = 501,
    btnAdd,
    btnRemove,
    btnUp,
    btnDown,
    btnCancel = IDCANCEL,
    btnOK = IDOK,
  };

  // Created hidden at start; its window waits for the first show.
  explicit TfrmAddTabs(TfrmPendra& notebook);
  ~TfrmAddTabs() override;

  HWND Item(Id id) const { return GetDlgItem(Handle(), id); }
  Lines WorkingList() const;

  // Handlers, named after their components.
  void ListBox1Click();
  void btnAddClick();
  void btnRemoveClick();
  void btnUpClick();
  void btnDownClick();
  void btnOKClick();
  void btnCancelClick() { Close(); }

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void BeforeShow() override;
  void FormShow() override;
  void FormClose() override;
  void DpiChanged(UINT oldDpi) override;

 private:
  int Selected() const;
  void EnableEntryButtons(bool enabled);
  void MoveSelected(int by);

  TfrmPendra& notebook_;
  DataFile& tabList_;
  HFONT font_ = nullptr;
};

}  // namespace pendra
