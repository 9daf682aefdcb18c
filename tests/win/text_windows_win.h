#pragma once
// The three windows with a text control (the notebook, the editor and quick
// notes), for the tests that treat them alike.
#include <memory>

#include "notes/editor_window_win.h"
#include "notes/notebook_window_win.h"
#include "notes/quick_notes_win.h"
#include "settings/reg_ini.h"

namespace pendra::test {

struct TextWindow {
  const char* name;
  const char* key;  // its settings
  std::unique_ptr<Form> (*make)();
  RichTextControl& (*text)(Form&);
};

inline const TextWindow kTextWindows[] = {
    {"notebook", kNotebookKey, [] { return std::unique_ptr<Form>(new TfrmPendra); },
     [](Form& f) -> RichTextControl& { return static_cast<TfrmPendra&>(f).redtPendra(); }},
    {"editor", kEditorKey, [] { return std::unique_ptr<Form>(new TfrmEditor); },
     [](Form& f) -> RichTextControl& { return static_cast<TfrmEditor&>(f).redtEditor(); }},
    {"quick notes", kQuicknotesKey, [] { return std::unique_ptr<Form>(new TfrmQuickie); },
     [](Form& f) -> RichTextControl& { return static_cast<TfrmQuickie&>(f).RichEditQuick(); }},
};

}  // namespace pendra::test
