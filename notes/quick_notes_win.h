#pragma once
// Quick notes: one plain-text note in an always-on-top tool window, kept in
// Quick.qnf beside the program, read once at start and written at a close
// after the user changed it; read again when the window is activated after
// another program changed the file and the user did not change the note.
// All its commands are in a context menu.
//
// At creation the note is read into memory (or the empty file created when
// there is none); the window and its rich edit control wait for the first
// show, so the start loads no rich edit library.
#include <windows.h>

#include <string>

#include "notes/popup_menu_win.h"
#include "notes/text_behaviours_win.h"
#include "notes/text_document_win.h"
#include "platform/window_win.h"
#include "settings/data_folder.h"

namespace pendra {

inline constexpr const char* kQuickNoteFile = "Quick.qnf";

class TfrmQuickie : public Form {
 public:
  enum Id : int {
    kRichEditQuick = 100,
    Cut1 = 1001, Copy1, Paste1, SelectAll1, Clear, Delete1, Fonts1, SaveAsTextFile1, Print1,
    PrintSelectedText1, Exit1,
  };
  // The screen point where F10 opens the menu, wherever the window is.
  static constexpr POINT kF10MenuAt{125, 50};

  TfrmQuickie();
  ~TfrmQuickie() override;

  TRxRichEdit& RichEditQuick() { return RichEditQuick_; }
  HMENU PopupMenu1() const { return PopupMenu1_; }
  std::string NotePath() const;
  // False while Quick.qnf exists but could not be read: the note is then not
  // written over it.
  bool NoteRead() const { return noteRead_; }

  PopupMenuFunction popupMenu = TrackPopupAt;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void BeforeShow() override;
  void FormShow() override;
  void FormClose() override;

 private:
  void FormCreate();
  // Reads Quick.qnf into the note; fails with "Cannot open file" and leaves
  // the note unread when the file cannot be read.
  void ReadNote();
  void Layout();
  void OnCommand(int id);
  void RichEditQuickKeyDown(WPARAM key);
  void RichEditQuickMouseDown(MouseButton button, int x, int y);

  TRxRichEdit RichEditQuick_;
  TextBehaviours text_;
  DataFile& noteFile_;
  DataDocument note_{RichEditQuick_};
  HMENU PopupMenu1_ = nullptr;
  bool noteRead_ = false;
  // Why the note read is shown read-only, until the user is told.
  std::string_view readOnlyBecause_;
};

}  // namespace pendra
