// The one thing of a whole output no run through the merge can show: a
// commit that fails after the file got its temporary name.
#include "base/output_file.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "support/test_files.h"

namespace kw {
namespace {

// A folder takes the output's name while the file is written, so the
// final rename fails: the commit says so and leaves nothing beside it.
TEST(OutputFile, ACommitThatCannotNameTheFileLeavesNothingBehind) {
  test::TempDir dir;
  OutputFile out;
  ASSERT_TRUE(out.Open(dir.File("ziel.ged")));
  ASSERT_TRUE(out.Write("0 HEAD\n0 TRLR\n"));
  std::filesystem::create_directories(dir.File("ziel.ged/inhalt"));
  EXPECT_FALSE(out.Commit());
  EXPECT_EQ(out.error(), EISDIR);
  int entries = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
    EXPECT_EQ(entry.path().filename().string(), "ziel.ged");
    ++entries;
  }
  EXPECT_EQ(entries, 1);
}

}  // namespace
}  // namespace kw
