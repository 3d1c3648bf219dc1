// The large tables ask for large pages: where the system grants them only
// on request, a table that asked must get them.
#include "base/large_pages.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace kw {
namespace {

std::string TransparentLargePages() {
  std::ifstream file("/sys/kernel/mm/transparent_hugepage/enabled");
  std::string setting;
  std::getline(file, setting);
  return setting;
}

// The kilobytes of large pages in the mapping that holds `address`.
long LargePageKilobytesAt(const void* address) {
  std::ifstream smaps("/proc/self/smaps");
  const auto at = reinterpret_cast<uintptr_t>(address);
  bool inside = false;
  for (std::string line; std::getline(smaps, line);) {
    uintptr_t from = 0;
    uintptr_t to = 0;
    char dash = 0;
    std::istringstream range(line);
    if (range >> std::hex >> from >> dash >> to && dash == '-') {
      inside = from <= at && at < to;
    } else if (inside && line.rfind("AnonHugePages:", 0) == 0) {
      return std::stol(line.substr(14));
    }
  }
  return 0;
}

TEST(LargePages, ATableThatAskedIsLaidOnLargePages) {
  if (TransparentLargePages().find("[madvise]") == std::string::npos) {
    GTEST_SKIP() << "large pages are not granted on request here: "
                 << TransparentLargePages();
  }
  std::vector<char, LargePageAllocator<char>> table(size_t{32} << 20, 'x');
  EXPECT_GT(LargePageKilobytesAt(table.data() + table.size() / 2), 0);
  EXPECT_EQ(table[table.size() - 1], 'x');
  // A small block is left alone, and asking for nothing asks for nothing.
  std::vector<char, LargePageAllocator<char>> small(4096, 'y');
  AskForLargePages(nullptr, 0);
  EXPECT_EQ(small.back(), 'y');
}

}  // namespace
}  // namespace kw
