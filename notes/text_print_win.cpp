#include "notes/text_print_win.h"

#include <windows.h>
#include <richedit.h>

#include <unordered_map>

#include "notes/print_layout.h"
#include "notes/rich_text_win.h"
#include "settings/code_page.h"
#include "settings/errors.h"

namespace pendra {

PrinterFont::PrinterFont(HDC dc, const FontSpec& font) {
  handle_ = CreateFontA(-MulDiv(font.size, GetDeviceCaps(dc, LOGPIXELSY), 72), 0, 0, 0,
                        font.style.bold ? FW_BOLD : FW_NORMAL, font.style.italic,
                        font.style.underline, font.style.strikeOut, DEFAULT_CHARSET,
                        OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                        DEFAULT_PITCH | FF_DONTCARE, font.name.c_str());
  color_ = static_cast<COLORREF>(font.color) & 0xFFFFFF;
}

PrinterFont::~PrinterFont() {
  // A font still selected into a context is not deleted: it would stay
  // behind, one handle per print.
  if (dc_) SelectObject(dc_, previous_);
  DeleteObject(handle_);
}

void PrinterFont::Select(HDC dc) {
  HGDIOBJ before = SelectObject(dc, handle_);
  if (!dc_) {
    dc_ = dc;
    previous_ = before;
  }
  SetTextColor(dc, color_);
  SetBkMode(dc, TRANSPARENT);
}

namespace {

// One document on the default printer: its device context exists from the
// start, the document from Start on; it is aborted unless Finish is reached.
class PrintJob {
 public:
  PrintJob() {
    IPrinter* printer = Svc().printer;
    name_ = printer ? printer->DefaultPrinter() : std::string{};
    if (name_.empty()) throw Error("There is no default printer currently selected");
    dc_ = CreateDCA("WINSPOOL", name_.c_str(), nullptr, nullptr);
    if (!dc_) throw Error("Printer selected is not valid");
  }
  PrintJob(const PrintJob&) = delete;
  PrintJob& operator=(const PrintJob&) = delete;
  ~PrintJob() {
    if (started_ && !done_) AbortDoc(dc_);
    DeleteDC(dc_);
  }

  HDC Dc() const { return dc_; }
  void Start(const std::string& title) {
    const std::string output = Svc().printer->DocumentOutput();
    DOCINFOA info{};
    info.cbSize = sizeof info;
    info.lpszDocName = title.c_str();
    info.lpszOutput = output.empty() ? nullptr : output.c_str();
    if (StartDocA(dc_, &info) <= 0) throw Error("Printing failed on " + Utf8FromCodePage(name_));
    started_ = true;
  }
  void StartPage() { Check(::StartPage(dc_) > 0); }
  void EndPage() { Check(::EndPage(dc_) > 0); }
  void Finish() {
    Check(EndDoc(dc_) > 0);
    done_ = true;
  }

 private:
  void Check(bool ok) const {
    if (!ok) throw Error("Printing failed on " + Utf8FromCodePage(name_));
  }
  std::string name_;
  HDC dc_ = nullptr;
  bool started_ = false;
  bool done_ = false;
};

PrintMetrics MetricsOf(HDC dc) {
  PrintMetrics m;
  m.pageWidth = GetDeviceCaps(dc, HORZRES);
  m.pageHeight = GetDeviceCaps(dc, VERTRES);
  TEXTMETRICA tm{};
  GetTextMetricsA(dc, &tm);
  m.lineHeight = tm.tmHeight;
  m.averageCharWidth = tm.tmAveCharWidth;
  INT widths[256]{};
  if (GetCharWidth32A(dc, 0, 255, widths)) {
    for (std::size_t i = 0; i < 256; ++i) m.charWidths[i] = widths[i];
  } else {
    m.charWidths.fill(tm.tmAveCharWidth);
  }
  // Double-byte characters measured as the font draws them, each once.
  m.codePage = AnsiCodePage();
  m.doubleByteWidth = [dc, measured = std::unordered_map<unsigned, int>()](std::string_view c) mutable {
    const unsigned key = static_cast<unsigned char>(c[0]) << 8 | static_cast<unsigned char>(c[1]);
    auto [at, added] = measured.try_emplace(key, 0);
    SIZE size{};
    if (added && GetTextExtentPoint32A(dc, c.data(), 2, &size)) at->second = size.cx;
    return at->second;
  };
  return m;
}

void PrintLaidOut(PrintJob& job, const std::string& text, const FontSpec& font,
                  LineBreaks breaks, const std::string& title) {
  job.Start(title);
  PrinterFont printerFont(job.Dc(), font);
  printerFont.Select(job.Dc());
  const std::vector<PrintPage> pages = LayOutPages(text, MetricsOf(job.Dc()), breaks);
  for (const PrintPage& page : pages) {
    job.StartPage();
    printerFont.Select(job.Dc());
    for (const PrintRun& run : page)
      TextOutA(job.Dc(), run.x, run.y, run.text.data(), static_cast<int>(run.text.size()));
    job.EndPage();
  }
  job.Finish();
}

}  // namespace

void PrintPlainText(const std::string& text, const FontSpec& font) {
  PrintJob job;
  PrintLaidOut(job, text, font, LineBreaks::AtCharacter, "");
}

void PrintFormatted(const RichTextControl& control, const std::string& title) {
  PrintJob job;
  HWND edit = control.Handle();
  HDC dc = job.Dc();
  FORMATRANGE range{};
  range.hdc = range.hdcTarget = dc;
  range.rcPage = {0, 0, MulDiv(GetDeviceCaps(dc, HORZRES), 1440, GetDeviceCaps(dc, LOGPIXELSX)),
                  MulDiv(GetDeviceCaps(dc, VERTRES), 1440, GetDeviceCaps(dc, LOGPIXELSY))};
  range.rc = range.rcPage;
  range.chrg = {0, -1};
  const int end = control.CharCount();
  // Measured first: a control without a printer layout places nothing.
  LRESULT fits = 0;
  if (edit) {
    fits = SendMessageA(edit, EM_FORMATRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
    SendMessageA(edit, EM_FORMATRANGE, FALSE, 0);
  }
  if (!edit || (fits <= 0 && end > 0)) {
    PrintLaidOut(job, control.Text(), control.DisplayFont(), LineBreaks::AtWord, title);
    return;
  }
  job.Start(title);
  LONG first = 0;
  do {
    job.StartPage();
    range.rc = range.rcPage;
    range.chrg = {first, -1};
    const LONG next = static_cast<LONG>(
        SendMessageA(edit, EM_FORMATRANGE, TRUE, reinterpret_cast<LPARAM>(&range)));
    job.EndPage();
    if (next <= first) break;
    first = next;
  } while (first < end);
  SendMessageA(edit, EM_FORMATRANGE, FALSE, 0);
  job.Finish();
}

}  // namespace pendra
