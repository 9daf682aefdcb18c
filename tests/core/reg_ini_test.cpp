#include <memory>
#include <string>

#include "settings/reg_ini.h"
#include "tests/common/reg_ini_suite.h"

namespace pendra::test {
namespace {

struct MemoryRegistryFactory {
  static std::unique_ptr<IRegistry> Make() { return std::make_unique<MemoryRegistry>(); }
  static std::string Root() { return "Software\\Tavrin Software\\PendraTest"; }
  static void WriteNonText(IRegistry& reg, const std::string& keyPath, const std::string& name) {
    static_cast<MemoryRegistry&>(reg).WriteBinary(keyPath, name);
  }
};

}  // namespace

INSTANTIATE_TYPED_TEST_SUITE_P(Memory, RegIniSuite, testing::Types<MemoryRegistryFactory>);

}  // namespace pendra::test
