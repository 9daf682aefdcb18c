#pragma once
// A test that starts from a reset environment with no program windows known,
// and gives the windows of the running test program back afterwards.
#include <gtest/gtest.h>

#include "platform/application_win.h"
#include "tests/win/test_env_win.h"

namespace pendra::test {

class FreshFormsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TestEnv().Reset();
    saved_ = Forms();
    Forms() = AppForms{};
  }
  void TearDown() override { Forms() = saved_; }

 private:
  AppForms saved_;
};

}  // namespace pendra::test
