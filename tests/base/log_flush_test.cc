// When the log reaches the disk: not at every entry, but at the end of each
// phase, before every box, and when it is closed.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/merge_log.h"
#include "support/recording_reporter.h"
#include "support/test_files.h"

namespace kw {
namespace {

// Notes what the log file holds at the moment each box is shown.
class LogReadingReporter : public RecordingReporter {
 public:
  explicit LogReadingReporter(std::string path) : path_(std::move(path)) {}
  void ShowError(std::string_view text) override {
    RecordingReporter::ShowError(text);
    onDisk.push_back(test::ReadFile(path_));
  }
  void ShowMessage(std::string_view caption, std::string_view text) override {
    RecordingReporter::ShowMessage(caption, text);
    onDisk.push_back(test::ReadFile(path_));
  }
  std::vector<std::string> onDisk;

 private:
  std::string path_;
};

TEST(LogFlush, EntriesWaitForThePhaseEndAndEveryBoxSeesThemOnDisk) {
  test::TempDir dir;
  std::string input1 = dir.File("eins.ged");
  LogReadingReporter reporter(dir.File("log"));
  MergeLog log(input1, reporter);
  log.Write("%d Personen\n", 3);
  EXPECT_EQ(test::ReadFile(dir.File("log")), "");  // held, not yet written
  ShowError(reporter, "\r\nFehler %d", 1);
  log.Write("%s verschmolzen\n", "Anna");
  ShowMessage(reporter, "Fertig", "%s", "ok");
  log.Write("%d Familien\n", 2);
  log.Flush();
  EXPECT_EQ(test::ReadFile(dir.File("log")), "3 Personen\nAnna verschmolzen\n2 Familien\n");
  EXPECT_EQ(reporter.onDisk,
            (std::vector<std::string>{"3 Personen\n", "3 Personen\nAnna verschmolzen\n"}));
  log.Write("%d Ende\n", 1);
  log.Close();
  EXPECT_EQ(test::ReadFile(dir.File("log")), "3 Personen\nAnna verschmolzen\n2 Familien\n1 Ende\n");
}

// A long phase (a quarter of a million merges) does not hold all of its
// log in memory: past a megabyte the held entries go to the disk.
TEST(LogFlush, ALongPhaseReachesTheDiskAMegabyteAtATime) {
  test::TempDir dir;
  RecordingReporter reporter;
  const std::string input1 = dir.File("eins.ged");
  MergeLog log(input1, reporter);
  const std::string entry(1000, 'x');
  for (int i = 0; i < 1100; ++i) log.Write("%s\n", entry.c_str());
  EXPECT_GE(test::ReadFile(dir.File("log")).size(), size_t{1} << 20);
}

}  // namespace
}  // namespace kw
