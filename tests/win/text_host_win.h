#pragma once
// A small window holding both text controls with their shared behaviours, a
// toolbar and a menu, for the tests of the text behaviours and of printing.
#include <windows.h>
#include <commctrl.h>

#include <memory>

#include "notes/text_behaviours_win.h"
#include "platform/application_win.h"
#include "platform/window_win.h"
#include "settings/reg_ini.h"

namespace pendra::test {

class TextHost : public Window {
 public:
  enum Id { kRich = 100, kPlain, btnCut = 200, btnPaste, btnPrint, Cut1 = 300, Paste1, Clear };
  static inline const FontSpec kDesigned{"MS Sans Serif", 10, 0x0000FF, {}};

  explicit TextHost(FontCancel cancel = FontCancel::StoreCurrentFont, bool build = true)
      : richText(rich, {kNotebookKey, cancel, Table()}), plainText(plain, {kEditorKey, cancel, Table()}) {
    CreateWnd("PendraTextHost", "Text host", WS_OVERLAPPEDWINDOW, 0, 0, 0, 640, 480,
              ApplicationWindow());
    toolbar = CreateWindowExA(0, TOOLBARCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT, 0, 0,
                              0, 0, Handle(), nullptr, GetModuleHandleA(nullptr), nullptr);
    SendMessageA(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    TBBUTTON buttons[] = {{I_IMAGENONE, btnCut, 0, BTNS_BUTTON, {}, 0, 0},
                          {I_IMAGENONE, btnPaste, 0, BTNS_BUTTON, {}, 0, 0},
                          {I_IMAGENONE, btnPrint, 0, BTNS_BUTTON, {}, 0, 0}};
    SendMessageA(toolbar, TB_ADDBUTTONSA, 3, reinterpret_cast<LPARAM>(buttons));
    menu = CreatePopupMenu();
    for (int id : {Cut1, Paste1, Clear}) AppendMenuA(menu, MF_STRING | MF_GRAYED, id, "item");
    for (TextBehaviours* t : {&richText, &plainText}) {
      t->Commands().AddToolbar(toolbar);
      t->Commands().AddMenu(menu);
    }
    if (build) Build();
  }
  ~TextHost() override { DestroyMenu(menu); }

  void Build() {
    rich.Create(Handle(), kRich, {0, 40, 300, 400}, kDesigned);
    plain.Create(Handle(), kPlain, {310, 40, 620, 400}, kDesigned);
  }

  // The refresh table of these tests: each rule once on both events, once on
  // one event only.
  static std::vector<CommandStateRow> Table() {
    return {{btnCut, CommandRule::Selection, true, true}, {Cut1, CommandRule::Selection, false, true},
            {btnPaste, CommandRule::Clipboard, true, true}, {Paste1, CommandRule::Clipboard, false, true},
            {btnPrint, CommandRule::Text, true, false},     {Clear, CommandRule::Text, false, true}};
  }

  bool ButtonEnabled(int id) const {
    return SendMessageA(toolbar, TB_ISBUTTONENABLED, static_cast<WPARAM>(id), 0) != 0;
  }
  bool ItemEnabled(int id) const {
    return (GetMenuState(menu, static_cast<UINT>(id), MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED)) == 0;
  }

  TRxRichEdit rich;
  TTavrinREDIT plain;
  TextBehaviours richText;
  TextBehaviours plainText;
  TextBehaviours* findTarget = &richText;  // the one the find dialog belongs to
  HWND toolbar = nullptr;
  HMENU menu = nullptr;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    LRESULT result = 0;
    TextBehaviours* other = findTarget == &richText ? &plainText : &richText;
    if (findTarget->HandleMessage(msg, wp, lp, result)) return result;
    if (other->HandleMessage(msg, wp, lp, result)) return result;
    return Window::HandleMessage(msg, wp, lp);
  }
};

}  // namespace pendra::test
