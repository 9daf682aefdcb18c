#include "platform/wide_controls_win.h"

#include "settings/wide_text_win.h"

namespace pendra {
namespace {

constexpr const wchar_t* kBaseProcProp = L"PendraWideEditBase";

// The characters a key made wait in the queue in Unicode, and go in whole.
// One beyond the Basic Multilingual Plane comes as two, each put in by its
// own key.
void TakeTypedCharacters(HWND edit) {
  MSG next;
  while (PeekMessageW(&next, edit, WM_CHAR, WM_CHAR, PM_NOREMOVE) && next.wParam >= 0x80) {
    PeekMessageW(&next, edit, WM_CHAR, WM_CHAR, PM_REMOVE);
    const wchar_t typed[2] = {static_cast<wchar_t>(next.wParam), L'\0'};
    // A read-only edit would take it from EM_REPLACESEL all the same.
    if (!(GetWindowLongW(edit, GWL_STYLE) & ES_READONLY))
      SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(typed));
  }
}

LRESULT CALLBACK WideEditProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  const auto base = reinterpret_cast<WNDPROC>(GetPropW(hwnd, kBaseProcProp));
  if (!base) return DefWindowProcW(hwnd, msg, wp, lp);
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(base));
    RemovePropW(hwnd, kBaseProcProp);
  }
  const LRESULT result = CallWindowProcW(base, hwnd, msg, wp, lp);
  if (msg == WM_KEYDOWN || msg == WM_KEYUP) TakeTypedCharacters(hwnd);
  return result;
}

}  // namespace

HWND CreateWideControl(const wchar_t* cls, DWORD style, DWORD exStyle, int x, int y, int w, int h,
                       HWND parent, int id, HFONT font) {
  HWND hwnd = CreateWindowExW(exStyle, cls, L"", WS_CHILD | style, x, y, w, h, parent,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
                              nullptr);
  if (hwnd && font) SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return hwnd;
}

HWND CreateWideEdit(DWORD style, DWORD exStyle, int x, int y, int w, int h, HWND parent, int id,
                    HFONT font) {
  HWND edit = CreateWideControl(L"EDIT", style, exStyle, x, y, w, h, parent, id, font);
  if (!edit) return edit;
  SetPropW(edit, kBaseProcProp,
           reinterpret_cast<HANDLE>(SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WideEditProc))));
  return edit;
}

void AddListRow(HWND list, const std::string& row) {
  SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(CP_UTF8, row).c_str()));
}

void InsertListRow(HWND list, int index, const std::string& row) {
  SendMessageW(list, LB_INSERTSTRING, static_cast<WPARAM>(index),
               reinterpret_cast<LPARAM>(Widen(CP_UTF8, row).c_str()));
}

std::string ListRow(HWND list, int index) {
  const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length < 0) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const LRESULT got =
      SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(got < 0 ? 0 : static_cast<std::size_t>(got));
  return Utf8OfWide(text);
}

}  // namespace pendra
