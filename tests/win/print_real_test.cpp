// The printouts on a real printer: each test prints and announces the text
// its PDF must hold; scripts/print-check.sh checks the PDFs after the run.
#include <gtest/gtest.h>

#include <string>

#include "notes/notebook_window_win.h"
#include "notes/text_print_win.h"
#include "tests/win/print_check_win.h"
#include "tests/win/test_env_win.h"
#include "tests/win/text_host_win.h"

namespace pendra::test {
namespace {

class RealPrint : public ::testing::Test {
 protected:
  void SetUp() override { TestEnv().Reset(); }
};

// Selected again on every page, the printout's font is deselected before it
// is deleted; otherwise each print leaves a font handle behind.
TEST(PrinterFontTest, LeavesTheContextBeforeItIsDeleted) {
  HDC dc = CreateCompatibleDC(nullptr);
  const HGDIOBJ before = GetCurrentObject(dc, OBJ_FONT);
  HFONT handle = nullptr;
  {
    PrinterFont font(dc, FontSpec{"Arial", 10, 0, {}});
    handle = font.Handle();
    font.Select(dc);
    font.Select(dc);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), handle);
  }
  EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), before);
  EXPECT_EQ(GetObjectType(handle), 0u);
  DeleteDC(dc);
}

TEST_F(RealPrint, TheFormattedPrintoutHoldsTheWholeTextOverSeveralPages) {
  RealPrinting printing;
  if (IsSkipped()) return;
  TextHost host;
  std::string text = "Formatted printout " + printing.Token() + "\r\nsee http://example.com/a\r\n";
  for (int i = 1; i <= 150; ++i) text += "line " + std::to_string(i) + " of the page\r\n";
  host.rich.SetText(text);
  ASSERT_TRUE(host.richText.Run(TextCommand::Print));
  printing.Expect("formatted", text);
}

TEST_F(RealPrint, PrintSelectedTextHoldsTheSelectionInBothControls) {
  RealPrinting printing;
  if (IsSkipped()) return;
  TextHost host;
  const std::string token = printing.Token();
  host.rich.SetText("left out\r\nSelected " + token + " in\tthe notes\r\nnext page\fstarts here\r\nleft out");
  const int end = host.rich.CharCount();
  const int from = host.rich.FindText("Selected", 0, end);
  const int to = host.rich.FindText("here", from, end - from) + 4;
  host.rich.Select(from, to - from);
  const std::string selected = host.rich.SelText();
  ASSERT_EQ(selected.rfind("Selected", 0), 0u);
  ASSERT_TRUE(host.richText.Run(TextCommand::PrintSelectedText));
  printing.Expect("selected-notes", selected);

  host.plain.SetText("Editor " + token + " selection\r\nsecond line");
  host.plain.Select(0, -1);
  host.plain.PrintSelectedText();
  printing.Expect("selected-editor", "Editor " + token + " selection\r\nsecond line");
}

TEST_F(RealPrint, QuickNotesPrintHoldsEveryDisplayLine) {
  RealPrinting printing;
  if (IsSkipped()) return;
  TextHost host;
  std::string text = "Quick " + printing.Token();
  for (int i = 0; i < 30; ++i) text += " word" + std::to_string(i);  // wraps in the control
  text += "\r\nlast line";
  host.rich.SetText(text);
  ASSERT_GT(host.rich.DisplayLines().size(), 2u);
  ASSERT_TRUE(host.richText.Run(TextCommand::PrintLines));
  printing.Expect("lines", text);
}

TEST_F(RealPrint, TheNotebookPrintsItsPageAndItsSelection) {
  RealPrinting printing;
  if (IsSkipped()) return;
  std::string text = "Notebook " + printing.Token() + "\r\n";
  for (int i = 1; i <= 80; ++i) text += "page line " + std::to_string(i) + "\r\n";
  WriteFileBytes(TestEnv().folder + "ABC.pnd", text);
  TfrmPendra notebook;
  notebook.Show();
  PumpMessages();
  SendMessageA(notebook.Handle(), WM_COMMAND, TfrmPendra::btnPrint, reinterpret_cast<LPARAM>(notebook.tlbPendra()));
  printing.Expect("notebook-formatted", text);

  TRxRichEdit& page = notebook.redtPendra();
  const int end = page.FindText("page line 2", 0, page.CharCount()) + 11;
  page.Select(0, end);  // the token's line and two more
  MenuCommand(notebook.Handle(), TfrmPendra::PrintSelectedText2);
  printing.Expect("notebook-selected", "Notebook " + printing.Token() + "\r\npage line 1\r\npage line 2");
  EXPECT_TRUE(TestEnv().dialogs.Errors().empty());
}

}  // namespace
}  // namespace pendra::test
