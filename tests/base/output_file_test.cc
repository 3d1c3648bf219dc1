// A whole output in both forms of its temporary file: unnamed where the
// system can, hidden under a temporary name where it cannot (FAT memory
// sticks, some network drives), a path no run through the merge takes on
// this machine.
#include "base/output_file.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <vector>

#include "support/test_files.h"

namespace kw {
namespace {

std::vector<std::string> Names(const test::TempDir& dir) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
    names.push_back(entry.path().filename().string());
  }
  return names;
}

class OutputFileTest : public ::testing::TestWithParam<TempForm> {};

// The name shows only the whole file; nothing else is left beside it.
TEST_P(OutputFileTest, TheNameAppearsWhenTheFileIsWhole) {
  test::TempDir dir;
  test::WriteFile(dir.File("ziel.ged"), "alt");
  OutputFile out(GetParam());
  ASSERT_TRUE(out.Open(dir.File("ziel.ged")));
  ASSERT_TRUE(out.Write("0 HEAD\n"));
  EXPECT_EQ(test::ReadFile(dir.File("ziel.ged")), "alt");
  EXPECT_EQ(Names(dir).size(), GetParam() == TempForm::kHidden ? 2u : 1u);
  ASSERT_TRUE(out.Write("0 TRLR\n"));
  EXPECT_TRUE(out.Commit());
  EXPECT_EQ(test::ReadFile(dir.File("ziel.ged")), "0 HEAD\n0 TRLR\n");
  EXPECT_EQ(Names(dir), std::vector<std::string>{"ziel.ged"});
  // A file given up leaves the earlier one as it was.
  ASSERT_TRUE(out.Open(dir.File("ziel.ged")));
  ASSERT_TRUE(out.Write("halb"));
  out.Abandon();
  EXPECT_EQ(test::ReadFile(dir.File("ziel.ged")), "0 HEAD\n0 TRLR\n");
  EXPECT_EQ(Names(dir), std::vector<std::string>{"ziel.ged"});
}

// A folder takes the output's name while the file is written, so the
// final rename fails: the commit says so and leaves nothing beside it.
TEST_P(OutputFileTest, ACommitThatCannotNameTheFileLeavesNothingBehind) {
  test::TempDir dir;
  OutputFile out(GetParam());
  ASSERT_TRUE(out.Open(dir.File("ziel.ged")));
  ASSERT_TRUE(out.Write("0 HEAD\n0 TRLR\n"));
  std::filesystem::create_directories(dir.File("ziel.ged/inhalt"));
  EXPECT_FALSE(out.Commit());
  EXPECT_EQ(out.error(), EISDIR);
  EXPECT_EQ(Names(dir), std::vector<std::string>{"ziel.ged"});
}

INSTANTIATE_TEST_SUITE_P(BothForms, OutputFileTest,
                         ::testing::Values(TempForm::kUnnamedWherePossible, TempForm::kHidden),
                         [](const auto& info) {
                           return info.param == TempForm::kHidden ? "Hidden" : "Unnamed";
                         });

}  // namespace
}  // namespace kw
