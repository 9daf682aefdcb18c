#pragma once
// Printing on the default printer (the printer seam), with no printer dialog.
// Both fail with an error when there is no default printer or the job cannot
// be started; a job that fails midway is aborted.
#include <windows.h>

#include <string>

#include "platform/services.h"

namespace pendra {

class RichTextControl;

// The font of a printout in the printer's units. Selected again on every page,
// since a new page may reset the device context; it leaves the context before
// it is deleted.
class PrinterFont {
 public:
  PrinterFont(HDC dc, const FontSpec& font);
  PrinterFont(const PrinterFont&) = delete;
  PrinterFont& operator=(const PrinterFont&) = delete;
  ~PrinterFont();

  void Select(HDC dc);
  HFONT Handle() const { return handle_; }

 private:
  HFONT handle_ = nullptr;
  COLORREF color_ = 0;
  HDC dc_ = nullptr;  // the context it went into first, and what it replaced there
  HGDIOBJ previous_ = nullptr;
};

// The printer text device: `text` from the top left corner of the printable
// area in `font`, broken into lines and pages as the printer layout says.
void PrintPlainText(const std::string& text, const FontSpec& font);

// The control's whole text, page after page over the whole printable area,
// with the document title `title`. The control lays out the pages itself
// (EM_FORMATRANGE); where it cannot (Wine's rich edit controls have no
// printer layout), the text is laid out here as the control wraps it, in the
// control's font and colour.
void PrintFormatted(const RichTextControl& control, const std::string& title);

}  // namespace pendra
