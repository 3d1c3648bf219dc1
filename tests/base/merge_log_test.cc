// The log writer: where the file goes, the zero-first-argument rule, exact
// line ends, and what happens when it cannot be opened.
#include "base/merge_log.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/recording_reporter.h"
#include "support/test_files.h"

namespace kw {
namespace {

using test::TempDir;

TEST(MergeLog, WritesBesideInputFileOneWithExactLineEnds) {
  TempDir dir;
  std::string input1 = dir.File("datei1.ged");
  RecordingReporter reporter;
  MergeLog log(input1, reporter);
  EXPECT_EQ(log.Write("%d Personen\n", 0), 0);  // zero count: nothing
  EXPECT_EQ(log.Write("%s ", static_cast<const char*>(nullptr)), 0);
  EXPECT_EQ(log.Write("\r\n", 1), 0);
  EXPECT_EQ(log.Write("%6d %s%c", 42, "M\xFCller", 'x'), 0);
  EXPECT_EQ(log.Write(static_cast<const char*>(nullptr), 1), -1);
  EXPECT_EQ(log.path(), dir.File("log"));
  // Flushed after every write: readable while still open.
  EXPECT_EQ(test::ReadFile(dir.File("log")), "\r\n    42 M\xFCllerx(null)\n");
  {
    LogUnit unit(log);
    log.Write("%s", "Teil eins,");
    log.Write("%s", " Teil zwei\r\n");
  }
  EXPECT_EQ(test::ReadFile(dir.File("log")),
            "\r\n    42 M\xFCllerx(null)\nTeil eins, Teil zwei\r\n");
  log.Close();
  log.Write("neu%d\n", 1);  // a new life of the log truncates
  EXPECT_EQ(test::ReadFile(dir.File("log")), "neu1\n");
}

TEST(MergeLog, EvenASkippedLineCreatesTheFile) {
  TempDir dir;
  std::string input1 = dir.File("a.ged");
  RecordingReporter reporter;
  MergeLog log(input1, reporter);
  log.Write("%d\n", 0);
  EXPECT_TRUE(std::filesystem::exists(dir.File("log")));
  EXPECT_EQ(test::ReadFile(dir.File("log")), "");
}

TEST(MergeLog, PathWithoutDirectoryGivesLogInTheCurrentDirectory) {
  EXPECT_EQ(LogPathFor(""), "log");
  EXPECT_EQ(LogPathFor("datei.ged"), "log");
  EXPECT_EQ(LogPathFor("/a/b/datei.ged"), "/a/b/log");
}

TEST(MergeLog, OpenFailureShowsTheErrorAndRetriesLater) {
  TempDir dir;
  std::string input1 = dir.File("fehlt/datei.ged");
  RecordingReporter reporter;
  MergeLog log(input1, reporter);
  EXPECT_EQ(log.Write("x%d\n", 1), -1);
  ASSERT_EQ(reporter.errors.size(), 1u);
  EXPECT_EQ(reporter.errors[0], "\r\nfopen fail, error=2");
  std::filesystem::create_directory(dir.File("fehlt"));
  EXPECT_EQ(log.Write("x%d\n", 1), 0);
  EXPECT_EQ(test::ReadFile(dir.File("fehlt/log")), "x1\n");
}

}  // namespace
}  // namespace kw
