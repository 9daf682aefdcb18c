#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "settings/errors.h"
#include "settings/registry_win.h"
#include "tests/common/reg_ini_suite.h"

namespace pendra::test {
namespace {

constexpr const char* kScratchKey = "Software\\Tavrin Software\\PendraTest";

struct WinRegistryFactory {
  static std::unique_ptr<IRegistry> Make() { return std::make_unique<WinRegistry>(); }
  static std::string Root() { return kScratchKey; }
  static void WriteNonText(IRegistry&, const std::string& keyPath, const std::string& name) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, keyPath.c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                              nullptr, &key, nullptr),
              ERROR_SUCCESS);
    DWORD value = 1;
    RegSetValueExA(key, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                   sizeof value);
    RegCloseKey(key);
  }
};

// Values put there by other programs or by hand, in forms the program never writes.
class WinRegistryValues : public testing::Test {
 protected:
  void SetUp() override { registry_.DeleteTree(kScratchKey); }
  void TearDown() override { registry_.DeleteTree(kScratchKey); }
  void Raw(const char* name, DWORD type, const void* data, DWORD size) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kScratchKey, 0, nullptr, 0, KEY_SET_VALUE,
                              nullptr, &key, nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size),
              ERROR_SUCCESS);
    RegCloseKey(key);
  }
  WinRegistry registry_;
};

TEST_F(WinRegistryValues, TextInOtherFormsReadsAsText) {
  Raw("Expand", REG_EXPAND_SZ, "%TEMP%\\a.wav", 13);
  Raw("NoZero", REG_SZ, "abc", 3);  // stored without its terminating zero
  const std::string big(5000, 'x');
  Raw("Big", REG_SZ, big.c_str(), static_cast<DWORD>(big.size() + 1));
  Raw("Binary", REG_BINARY, "abc", 3);

  TRegIniFile ini(registry_, "Software\\Tavrin Software");
  EXPECT_EQ(ini.ReadString("PendraTest", "Expand", ""), "%TEMP%\\a.wav");
  EXPECT_EQ(ini.ReadString("PendraTest", "NoZero", ""), "abc");
  EXPECT_EQ(ini.ReadString("PendraTest", "Big", ""), big);
  EXPECT_THROW(ini.ReadString("PendraTest", "Binary", ""), Error);
}

TEST_F(WinRegistryValues, AWriteThatCannotBeMadeFails) {
  // A key name longer than the registry allows cannot be created.
  const std::string tooLong = std::string(kScratchKey) + "\\" + std::string(300, 'k');
  try {
    registry_.WriteText(tooLong, "Top", "1");
    ADD_FAILURE() << "write did not fail";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "Failed to set data for 'Top'");
  }
}

}  // namespace

INSTANTIATE_TYPED_TEST_SUITE_P(Win, RegIniSuite, testing::Types<WinRegistryFactory>);

}  // namespace pendra::test
