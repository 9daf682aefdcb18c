// Entry of the Win32 test executable: one hidden application window owns the
// windows the tests create, as in the program.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include "platform/application_win.h"
#include "platform/on_demand_win.h"
#include "tests/win/test_env_win.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  pendra::EnsureCommonControls();
  pendra::test::TestEnv().Reset();
  pendra::CreateApplicationWindow();
  return RUN_ALL_TESTS();
}
