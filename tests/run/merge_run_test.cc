// The merge run through the same calls the command line makes, where the
// golden cases do not reach: the output path, the refusals, a log that
// must not replace a file, and an output that cannot be opened or written.
#include "run/merge_run.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "support/gedcom_integrity.h"
#include "support/load_fixture.h"

namespace kw {
namespace {

using test::LoadSetup;
namespace fs = std::filesystem;

// Loads two files as the command line does and merges into `outputName`.
MergeOutcome MergeFiles(LoadSetup& s, const std::string& path1, const std::string& path2,
                        const std::string& outputName) {
  s.LoadPath(0, path1);
  s.LoadPath(1, path2);
  return StartMerge(*s.store, s.log, s.reporter, outputName);
}

std::string CopyExample(LoadSetup& s, const std::string& name) {
  fs::copy_file(std::string(KINWEAVE_EXAMPLES) + "/" + name, s.dir.File(name));
  return s.dir.File(name);
}

TEST(MergeRun, OutputPathGoesBesideInputFileOne) {
  EXPECT_EQ(BuildOutputPath("/a/b/datei1.ged", "merge.ged"), "/a/b/merge.ged");
  EXPECT_EQ(BuildOutputPath("/a/b/datei1.ged", "ergebnis"), "/a/b/ergebnis.ged");
  EXPECT_EQ(BuildOutputPath("/a/b.d/datei1.ged", "ergebnis"), "/a/b.d/ergebnis.ged");
  EXPECT_EQ(BuildOutputPath("/a/datei1.ged", "ergebnis.txt"), "/a/ergebnis.txt");
  EXPECT_EQ(BuildOutputPath("datei1.ged", "x"), "x.ged");
  std::string longName(120, 'n');
  EXPECT_EQ(BuildOutputPath("/a/d.ged", longName), "/a/" + std::string(99, 'n') + ".ged");
}

TEST(MergeRun, RefusesWithoutDatei1AndWithAnInputAsOutput) {
  LoadSetup s;
  EXPECT_EQ(StartMerge(*s.store, s.log, s.reporter, "merge.ged"), MergeOutcome::kRefused);
  ASSERT_EQ(s.reporter.errors.size(), 1u);
  EXPECT_EQ(s.reporter.errors[0], "\r\nBitte zuerst Datei1 w\xE4hlen");

  std::string one = CopyExample(s, "datei1.ged");
  std::string two = CopyExample(s, "datei2.ged");
  fs::create_directory(s.dir.File("sub"));
  fs::create_symlink(two, s.dir.File("zwei.ged"));
  std::string before1 = test::ReadFile(one);
  for (const char* name : {"datei1.ged", "./datei1.ged", "sub/../datei1.ged", "zwei.ged"}) {
    s.reporter.errors.clear();
    EXPECT_EQ(MergeFiles(s, one, two, name), MergeOutcome::kRefused) << name;
    ASSERT_EQ(s.reporter.errors.size(), 1u) << name;
    EXPECT_EQ(s.reporter.errors[0],
              "\r\nAusgabedatei " + s.dir.File(name) + " darf keine Eingabedatei sein");
  }
  EXPECT_EQ(test::ReadFile(one), before1);
  EXPECT_TRUE(s.reporter.messages.empty());
}

TEST(MergeRun, TheLogNeverReplacesAFile) {
  LoadSetup s;
  std::string one = CopyExample(s, "datei1.ged");
  std::string two = CopyExample(s, "datei2.ged");
  test::WriteFile(s.dir.File("merge.log"), "alt");
  ASSERT_EQ(MergeFiles(s, one, two, "merge.ged"), MergeOutcome::kWritten);
  EXPECT_EQ(test::ReadFile(s.dir.File("merge.log")), "alt");
  EXPECT_NE(test::ReadFile(s.dir.File("log")).find("merge.ged wurde erzeugt"), std::string::npos);
}

TEST(MergeRun, AnOutputThatCannotBeWrittenIsNotReportedAsDone) {
  LoadSetup s;
  std::string one = CopyExample(s, "datei1.ged");
  std::string two = CopyExample(s, "datei2.ged");
  EXPECT_EQ(MergeFiles(s, one, two, "fehlt/merge.ged"), MergeOutcome::kFailed);
  ASSERT_FALSE(s.reporter.errors.empty());
  EXPECT_EQ(s.reporter.errors.back(), "kann " + s.dir.File("fehlt/merge.ged") + " nicht \xF6" "ffnen");
  EXPECT_TRUE(s.reporter.messages.empty());
  EXPECT_EQ(test::ReadFile(s.dir.File("fehlt/merge.log")), "");
  EXPECT_EQ(test::ReadFile(s.dir.File("log")).find("wurde erzeugt"), std::string::npos);
}

// A full disk: the output opens, but its bytes do not get out (the output
// name leads to /dev/full). The run must say so rather than "wurde erzeugt".
TEST(MergeRun, AnOutputThatCannotBeWrittenToItsEndIsNotReportedAsDone) {
  if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  LoadSetup s;
  std::string one = CopyExample(s, "datei1.ged");
  std::string two = CopyExample(s, "datei2.ged");
  fs::create_symlink("/dev/full", s.dir.File("merge.ged"));
  EXPECT_EQ(MergeFiles(s, one, two, "merge.ged"), MergeOutcome::kFailed);
  ASSERT_FALSE(s.reporter.errors.empty());
  EXPECT_EQ(s.reporter.errors.back(), "kann " + s.dir.File("merge.ged") + " nicht schreiben");
  EXPECT_TRUE(s.reporter.messages.empty());
  EXPECT_EQ(test::ReadFile(s.dir.File("merge.log")).find("wurde erzeugt"), std::string::npos);
}

}  // namespace
}  // namespace kw
