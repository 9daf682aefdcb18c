// Writes the program's own version record, as the resource compiler lays it
// out, to the file named on the command line: the seed of the version record
// reader's corpus.
#include <cstdio>

#include "tests/common/version_block.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: version_seed <file>\n");
    return 2;
  }
  const auto record = pendra::testing_version::PendraRecord();
  std::FILE* file = std::fopen(argv[1], "wb");
  if (!file) return 1;
  const bool written = std::fwrite(record.data(), 1, record.size(), file) == record.size();
  return std::fclose(file) == 0 && written ? 0 : 1;
}
