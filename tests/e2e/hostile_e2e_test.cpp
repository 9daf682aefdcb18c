// Hostile data files met by the running program: binary garbage and one
// 100 MB line in every file it reads.
#include "tests/e2e/hostile_walk.h"

namespace pendra::e2e {
namespace {

class HostileE2e : public HostileWalk, public testing::WithParamInterface<HostileCase> {};

TEST_P(HostileE2e, TheProgramGoesOnAndKeepsEveryFile) { Run(GetParam()); }

// ---- Cases ------------------------------------------------------------------

std::string Garbage() {
  std::string bytes;
  unsigned x = 12345;
  for (int i = 0; i < 4096; ++i) {
    x = x * 1103515245u + 12345u;
    bytes += static_cast<char>(x >> 24);
  }
  return bytes;
}

void Put(HostileWalk &t, const std::string &name, const std::string &bytes) {
  WriteFileBytes(t.PathOf(name), bytes);
}

std::vector<HostileCase> Cases() {
  std::vector<HostileCase> cases;
  for (const char *file : kDataFiles) {
    if (std::string(file) == "DEF.pnd") continue;
    const std::string name = file;
    std::string id = name.substr(0, name.find('.'));
    cases.push_back({"Garbage" + id, [name](HostileWalk &t) { Put(t, name, Garbage()); },
                     [name](HostileWalk &) {
                       return Expect{{}, true, {name}};
                     },
                     nullptr, nullptr});
    cases.push_back({"HugeLine" + id,
                     [name](HostileWalk &t) {
                       ASSERT_TRUE(CopyFileA(HugeLineFile().c_str(), t.PathOf(name).c_str(), FALSE));
                     },
                     [name](HostileWalk &) {
                       return Expect{{}, true, {name}};
                     },
                     nullptr, nullptr});
  }
  return cases;
}

INSTANTIATE_TEST_SUITE_P(Inputs, HostileE2e, testing::ValuesIn(Cases()),
                         [](const testing::TestParamInfo<HostileCase> &info) { return info.param.id; });

}  // namespace
}  // namespace pendra::e2e
