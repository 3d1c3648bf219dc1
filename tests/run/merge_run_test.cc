// The merge run through the same calls the command line makes, where the
// golden cases do not reach: the output path, the refusals, a log that
// must not replace a file, and an output that cannot be opened or written.
#include "run/merge_run.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>

#include "support/gedcom_integrity.h"
#include "support/load_fixture.h"
#include "support/table.h"

namespace kw {
namespace {

using test::LoadSetup;
namespace fs = std::filesystem;

// Loads the demo pair as the command line does and merges into `outputName`.
MergeOutcome MergeExamples(LoadSetup& s, const std::string& outputName) {
  s.LoadExamples();
  return StartMerge(*s.store, s.log, s.reporter, outputName);
}

// tests/tables/output-paths.txt; a name is cut to 99 bytes.
TEST(MergeRun, OutputPathGoesBesideInputFileOne) {
  for (const test::TableRow& row : test::ReadTable("output-paths", 3)) {
    EXPECT_EQ(BuildOutputPath(row.Raw(0), row.Raw(1)), row.Raw(2)) << row;
  }
  EXPECT_EQ(BuildOutputPath("/a/d.ged", std::string(120, 'n')), "/a/" + std::string(99, 'n') + ".ged");
}

TEST(MergeRun, RefusesWithoutDatei1AndWithAnInputAsOutput) {
  LoadSetup s;
  EXPECT_EQ(StartMerge(*s.store, s.log, s.reporter, "merge.ged"), MergeOutcome::kRefused);
  ASSERT_EQ(s.reporter.errors.size(), 1u);
  EXPECT_EQ(s.reporter.errors[0], "\r\nBitte zuerst Datei1 w\xE4hlen");

  const test::ExampleCopies copies = test::CopyExamples(s.dir);
  fs::create_directory(s.dir.File("sub"));
  fs::create_symlink(copies.two, s.dir.File("zwei.ged"));
  fs::create_hard_link(copies.one, s.dir.File("hart.ged"));  // another name, the same file
  std::string before1 = test::ReadFile(copies.one);
  for (const char* name : {"datei1.ged", "./datei1.ged", "sub/../datei1.ged", "zwei.ged", "hart.ged"}) {
    s.reporter.errors.clear();
    s.LoadPath(0, copies.one);  // the same copies each time: a change to one would show
    s.LoadPath(1, copies.two);
    EXPECT_EQ(StartMerge(*s.store, s.log, s.reporter, name), MergeOutcome::kRefused) << name;
    ASSERT_EQ(s.reporter.errors.size(), 1u) << name;
    EXPECT_EQ(s.reporter.errors[0],
              "\r\nAusgabedatei " + s.dir.File(name) + " darf keine Eingabedatei sein");
  }
  EXPECT_EQ(test::ReadFile(copies.one), before1);
  EXPECT_TRUE(s.reporter.messages.empty());
}

TEST(MergeRun, TheLogNeverReplacesAFile) {
  LoadSetup s;
  test::WriteFile(s.dir.File("merge.log"), "alt");
  ASSERT_EQ(MergeExamples(s, "merge.ged"), MergeOutcome::kWritten);
  EXPECT_EQ(test::ReadFile(s.dir.File("merge.log")), "alt");
  EXPECT_NE(test::ReadFile(s.dir.File("log")).find("merge.ged wurde erzeugt"), std::string::npos);
  for (const auto& entry : fs::directory_iterator(s.dir.path())) {
    EXPECT_NE(entry.path().filename().string()[0], '.') << "a temporary file left behind";
  }
}

TEST(MergeRun, AnOutputThatCannotBeWrittenIsNotReportedAsDone) {
  LoadSetup s;
  EXPECT_EQ(MergeExamples(s, "fehlt/merge.ged"), MergeOutcome::kFailed);
  ASSERT_FALSE(s.reporter.errors.empty());
  EXPECT_EQ(s.reporter.errors.back(), "kann " + s.dir.File("fehlt/merge.ged") + " nicht \xF6" "ffnen");
  EXPECT_TRUE(s.reporter.messages.empty());
  EXPECT_EQ(test::ReadFile(s.dir.File("fehlt/merge.log")), "");
  EXPECT_EQ(test::ReadFile(s.dir.File("log")).find("wurde erzeugt"), std::string::npos);
}

// An output name that is a symbolic link: to a plain file, the link stays
// and the file it leads to takes the output; to a device (a full disk that
// takes nothing), the run is refused before it writes and the device stays.
TEST(MergeRun, AnOutputNameThatIsALinkKeepsTheLinkAndNeverReplacesADevice) {
  LoadSetup s;
  fs::create_directory(s.dir.File("ablage"));
  test::WriteFile(s.dir.File("ablage/baum.ged"), "alt");
  fs::create_symlink(s.dir.File("ablage/baum.ged"), s.dir.File("merge.ged"));
  EXPECT_EQ(MergeExamples(s, "merge.ged"), MergeOutcome::kWritten);
  EXPECT_TRUE(fs::is_symlink(s.dir.File("merge.ged")));
  EXPECT_NE(test::ReadFile(s.dir.File("ablage/baum.ged")).find("0 TRLR"), std::string::npos);

  if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  LoadSetup t;
  fs::create_symlink("/dev/full", t.dir.File("merge.ged"));
  EXPECT_EQ(MergeExamples(t, "merge.ged"), MergeOutcome::kFailed);
  ASSERT_FALSE(t.reporter.errors.empty());
  EXPECT_EQ(t.reporter.errors.back(), "kann " + t.dir.File("merge.ged") + " nicht \xF6" "ffnen");
  EXPECT_TRUE(t.reporter.messages.empty());
  EXPECT_TRUE(fs::is_character_file("/dev/full"));
  EXPECT_EQ(test::ReadFile(t.dir.File("merge.log")).find("wurde erzeugt"), std::string::npos);
}


// The dialog's way to a merge (StartMerge) under a file size limit: the
// run fails, says why, shows no "Fertig", and the earlier output stays.
TEST(MergeRun, AWriteThatFailsIsReportedAndLeavesNothingHalfWritten) {
  LoadSetup s;
  s.LoadExamples();
  test::WriteFile(s.dir.File("merge.ged"), "alt");
  struct rlimit old;
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  struct rlimit small = old;
  small.rlim_cur = 1024;
  void (*oldHandler)(int) = std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  MergeOutcome outcome = StartMerge(*s.store, s.log, s.reporter, "merge.ged");
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, oldHandler);

  EXPECT_EQ(outcome, MergeOutcome::kFailed);
  ASSERT_FALSE(s.reporter.errors.empty());
  EXPECT_EQ(s.reporter.errors[0].rfind("\r\nFehler beim Schreiben von " + s.dir.File("log") +
                                           ": Datei zu gro\xDF", 0),
            0u)
      << s.reporter.errors[0];
  EXPECT_TRUE(s.reporter.messages.empty());
  EXPECT_EQ(test::ReadFile(s.dir.File("merge.ged")), "alt");
  EXPECT_FALSE(fs::exists(s.dir.File("merge.log")));
  for (const auto& entry : fs::directory_iterator(s.dir.path())) {
    EXPECT_EQ(entry.path().filename().string().find(".tmp"), std::string::npos) << entry.path();
  }
}

}  // namespace
}  // namespace kw
