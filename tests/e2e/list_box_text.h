#pragma once
// A row of another process's list box. Wine hands the text of LB_GETTEXT sent
// with SendMessageA to another process back in UTF-16, over a buffer sized
// for 8-bit text; asked in UTF-16 and turned back here it comes the same on
// Windows and under Wine.
#include <windows.h>

#include <algorithm>
#include <string>

namespace pendra::e2e {

// In the code page (CP_ACP), or in UTF-8 (CP_UTF8), whole.
inline std::string ListBoxText(HWND list, int index, UINT codePage = CP_ACP) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0, SMTO_NORMAL, 30000,
                           &length) ||
      static_cast<LRESULT>(length) < 0)
    return "<no row " + std::to_string(index) + ">";
  std::wstring wide(static_cast<size_t>(length) + 1, L'\0');
  DWORD_PTR got = 0;
  SendMessageTimeoutW(list, LB_GETTEXT, static_cast<WPARAM>(index),
                      reinterpret_cast<LPARAM>(wide.data()), SMTO_NORMAL, 30000, &got);
  wide.resize(std::min<size_t>(got, length));
  std::string text(wide.size() * 4 + 1, '\0');
  const int n = WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), text.data(),
                                    static_cast<int>(text.size()), nullptr, nullptr);
  text.resize(static_cast<size_t>(n > 0 ? n : 0));
  return text;
}

}  // namespace pendra::e2e
