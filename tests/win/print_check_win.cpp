#include "tests/win/print_check_win.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>

#include "tests/common/file_bytes.h"

namespace pendra::test {
namespace {

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

// A folder of the Linux side as Wine shows it.
std::string WindowsFolder(std::string path) {
  if (!path.empty() && path[0] == '/') path = "Z:" + path;
  for (char& c : path)
    if (c == '/') c = '\\';
  if (!path.empty() && path.back() != '\\') path += '\\';
  return path;
}

void SkipWithoutPrinter() {
  GTEST_SKIP() << "no printer set up for this run (scripts/test.sh sets PENDRA_PRINT_CHECK)";
}

}  // namespace

RealPrinting::RealPrinting() {
  const std::string folder = Env("PENDRA_PRINT_CHECK");
  if (folder.empty()) {
    SkipWithoutPrinter();
    return;
  }
  folder_ = WindowsFolder(folder);
  const std::string queue = Env("PENDRA_PRINT_QUEUE");
  EXPECT_EQ(printer_.DefaultPrinter(), queue) << "the run's printer is not the default printer";
  saved_ = Svc().printer;
  Svc().printer = &printer_;
}

RealPrinting::~RealPrinting() {
  if (!folder_.empty()) Svc().printer = saved_;
}

std::string RealPrinting::Token() const { return "run" + Env("PENDRA_PRINT_TOKEN"); }

void RealPrinting::Expect(const std::string& name, const std::string& text) const {
  testing_files::WriteFileBytes(folder_ + name + ".expected", text);
}

}  // namespace pendra::test
