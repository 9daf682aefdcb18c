// The two kinds of text control: the notebook's and the quick note's, with
// links it detects and opens on a click, and the editor's.
#include <richedit.h>

#include <algorithm>
#include <string>
#include <string_view>

#include "notes/rich_text_win.h"
#include "notes/text_print_win.h"
#include "notes/text_rules.h"
#include "platform/on_demand_win.h"
#include "settings/wide_text_win.h"

namespace pendra {

// ---- TRxRichEdit --------------------------------------------------------------

bool TRxRichEdit::LoadLibraryOnce() const { return EnsureRichEdit20(); }

void TRxRichEdit::Configure() {
  SendMessageA(hwnd_, EM_SETTEXTMODE, TM_PLAINTEXT | TM_MULTILEVELUNDO | TM_MULTICODEPAGE, 0);
  SendMessageA(hwnd_, EM_AUTOURLDETECT, TRUE, 0);
  SendMessageA(hwnd_, EM_SETEVENTMASK, 0, ENM_CHANGE | ENM_LINK);
}

int TRxRichEdit::FindText(const std::string& text, int start, int length) const {
  if (!hwnd_) return -1;
  FINDTEXTEXA find{};
  find.chrg = {start, start + length};
  find.lpstrText = text.c_str();
  return static_cast<int>(
      SendMessageA(hwnd_, EM_FINDTEXTEX, FR_DOWN, reinterpret_cast<LPARAM>(&find)));
}

int TRxRichEdit::CharCount() const {
  if (!hwnd_) return TextLength();
  GETTEXTLENGTHEX how{GTL_NUMCHARS | GTL_PRECISE, CP_ACP};
  return static_cast<int>(
      SendMessageA(hwnd_, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&how), 0));
}

bool TRxRichEdit::HandleParentMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  if (msg != WM_NOTIFY) return RichTextControl::HandleParentMessage(msg, wp, lp, result);
  const auto* hdr = reinterpret_cast<const NMHDR*>(lp);
  if (!hwnd_ || hdr->hwndFrom != hwnd_ || hdr->code != EN_LINK) return false;
  const auto* link = reinterpret_cast<const ENLINK*>(lp);
  result = 0;  // the control goes on handling the mouse
  switch (link->msg) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
      pressedMin_ = link->chrg.cpMin;
      pressedMax_ = link->chrg.cpMax;
      pressedButton_ = link->msg;
      break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP: {
      const UINT down = link->msg == WM_LBUTTONUP ? WM_LBUTTONDOWN : WM_RBUTTONDOWN;
      const bool same = pressedMin_ == link->chrg.cpMin && pressedMax_ == link->chrg.cpMax &&
                        pressedButton_ == down;
      pressedMin_ = pressedMax_ = -1;
      pressedButton_ = 0;
      if (!same || !onUrlClick) break;
      onUrlClick(LinkAddress(link->chrg.cpMin, link->chrg.cpMax), ButtonOf(link->msg));
      break;
    }
    default: break;
  }
  return true;
}

std::string TRxRichEdit::LinkAddress(LONG start, LONG end) const {
  // Read wide, from the start of the text without its line ends made CR LF,
  // so that positions are the control's; a character the code page cannot
  // hold is sent as UTF-8, not as "?".
  const std::wstring upTo = GetWide(static_cast<std::size_t>(std::max<LONG>(end, 0)), GT_DEFAULT);
  const std::wstring_view link =
      std::wstring_view(upTo).substr(std::min(static_cast<std::size_t>(std::max<LONG>(start, 0)), upTo.size()));
  std::string url;
  for (std::size_t i = 0; i < link.size();) {
    const std::size_t size = link[i] >= 0xD800 && link[i] <= 0xDBFF && i + 1 < link.size() ? 2 : 1;
    const std::wstring_view character = link.substr(i, size);
    const std::optional<std::string> ansi = InAnsiCodePage(character);
    url += ansi ? *ansi : PercentEncoded(Narrow(CP_UTF8, character));
    i += size;
  }
  return url;
}

// ---- TTavrinREDIT -------------------------------------------------------------

bool TTavrinREDIT::LoadLibraryOnce() const { return EnsureRichEdit10(); }

void TTavrinREDIT::Configure() { SendMessageA(hwnd_, EM_SETEVENTMASK, 0, ENM_CHANGE); }

int TTavrinREDIT::FindText(const std::string& text, int start, int length) const {
  if (!hwnd_) return -1;
  FINDTEXTA find{};
  find.chrg = {start, start + length};
  find.lpstrText = text.c_str();
  return static_cast<int>(
      SendMessageA(hwnd_, EM_FINDTEXT, FR_DOWN, reinterpret_cast<LPARAM>(&find)));
}

void TTavrinREDIT::PrintSelectedText() const { PrintPlainText(SelText() + "\r\n", DisplayFont()); }

}  // namespace pendra
