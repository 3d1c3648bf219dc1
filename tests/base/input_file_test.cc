// Reading a whole input file: a read that fails part-way must not hand on
// the bytes read so far as if they were the file.
#include "base/input_file.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <string>

namespace kw {
namespace {

// A process's own memory opens as a file whose first read fails (nothing is
// mapped at address 0): a read error where the file's bytes should be.
TEST(ReadWholeFile, AReadErrorFailsAndLeavesNoBytes) {
  const char* path = "/proc/self/mem";
  std::FILE* probe = std::fopen(path, "rb");
  if (probe == nullptr) GTEST_SKIP() << path << " cannot be opened here";
  std::fclose(probe);
  std::string bytes = "earlier";
  EXPECT_FALSE(ReadWholeFile(path, bytes));
  EXPECT_TRUE(bytes.empty());
  EXPECT_EQ(errno, EIO);
}

}  // namespace
}  // namespace kw
