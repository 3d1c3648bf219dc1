// The log writer: where the file goes, the zero-first-value rule, exact line
// ends, a log held in memory, and what happens when it cannot be opened.
#include "base/merge_log.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/recording_reporter.h"
#include "support/test_files.h"

namespace kw {
namespace {

TEST(MergeLog, WritesBesideInputFileOneWithExactLineEnds) {
  test::TempDir dir;
  const std::string input1 = dir.File("datei1.ged"), path = dir.File("log");
  RecordingReporter reporter;
  MergeLog log(input1, reporter);
  EXPECT_EQ(log.Write("%d Personen\n", 0), 0);  // a zero first value writes nothing
  EXPECT_TRUE(std::filesystem::exists(path));   // yet the file is there
  EXPECT_EQ(log.Write("%s ", static_cast<const char*>(nullptr)), 0);
  EXPECT_EQ(log.Write("\r\n", 1), 0);
  EXPECT_EQ(log.Write("%6d %s%c", 42, "M\xFCller", 'x'), 0);
  EXPECT_EQ(log.Write(static_cast<const char*>(nullptr), 1), -1);
  EXPECT_EQ(log.path(), path);
  log.Flush();
  EXPECT_EQ(test::ReadFile(path), "\r\n    42 M\xFCllerx(null)\n");
  log.WriteText("Teil eins,");
  log.Write("%s", " Teil zwei\r\n");
  EXPECT_TRUE(log.Close());
  EXPECT_EQ(test::ReadFile(path), "\r\n    42 M\xFCllerx(null)\nTeil eins, Teil zwei\r\n");
  log.Write("neu%d\n", 1);  // a new life of the log starts a new file
  log.Flush();
  EXPECT_EQ(test::ReadFile(path), "neu1\n");
  EXPECT_EQ(LogPathFor("datei.ged"), "log");
  EXPECT_EQ(LogPathFor("/a/b/datei.ged"), "/a/b/log");
}

// A log held in memory keeps all it is given, past the size at which a
// file's log writes out, until it is handed over.
TEST(MergeLog, HeldInMemoryKeepsEverythingUntilHandedOver) {
  MergeLog held;
  const std::string line(1000, 'x');
  std::string expected;
  for (int k = 0; k < 1100; ++k) {
    held.Write("%d ", k + 1);
    held.WriteText(line);
    expected += std::to_string(k + 1) + " " + line;
  }
  held.Flush();
  EXPECT_EQ(held.TakeHeld(), expected);
  EXPECT_EQ(held.TakeHeld(), "");
}

TEST(MergeLog, OpenFailureShowsTheErrorAndRetriesLater) {
  test::TempDir dir;
  const std::string input1 = dir.File("fehlt/datei.ged");
  RecordingReporter reporter;
  MergeLog log(input1, reporter);
  EXPECT_EQ(log.Write("x%d\n", 1), -1);
  EXPECT_EQ(reporter.errors, std::vector<std::string>{"\r\nfopen fail, error=2"});
  std::filesystem::create_directory(dir.File("fehlt"));
  EXPECT_EQ(log.Write("x%d\n", 1), 0);
  log.Flush();
  EXPECT_EQ(test::ReadFile(dir.File("fehlt/log")), "x1\n");
}

}  // namespace
}  // namespace kw
