#pragma once
// Printing on the real default printer, checked after the run: the test
// script (scripts/print-check.sh) sets up a PDF printer, runs the tests, then
// reads the text of every PDF the printer made and matches it with the
// printouts the tests announced here.
//
//   TEST(RealPrint, SomePrintout) {
//     RealPrinting printing;  // skips the test when the run has no printer
//     if (IsSkipped()) return;
//     const std::string text = "Page " + printing.Token() + "\r\n";
//     ... print `text` ...
//     printing.Expect("some-printout", text);
//   }
//
// The check compares the texts with every run of blanks, line ends and page
// breaks taken as one blank, so put a word break where a line may wrap.
#include <string>

#include "platform/services.h"
#include "platform/real_services_win.h"

namespace pendra::test {

class RealPrinting {
 public:
  // Skips the current test (GTEST_SKIP) unless the run set up a printer
  // (PENDRA_PRINT_CHECK), and fails it unless that printer is the default.
  // Installs the real printer seam until destroyed.
  RealPrinting();
  ~RealPrinting();
  RealPrinting(const RealPrinting&) = delete;
  RealPrinting& operator=(const RealPrinting&) = delete;

  // A text unique to this run, to put into every printout so that the check
  // finds this run's PDFs among others.
  std::string Token() const;
  // One printout whose text must be `text`, reported by the check under
  // `name` (unique in the run).
  void Expect(const std::string& name, const std::string& text) const;

 private:
  IPrinter* saved_ = nullptr;
  RealPrinter printer_;
  std::string folder_;  // where the announcements go, in Windows form
};

}  // namespace pendra::test
