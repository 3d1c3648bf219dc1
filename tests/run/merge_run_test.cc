// The merge run end to end, through the same calls the command line makes:
// the demo pair against its checked output and log, the output path, the
// refusals, and the log's move beside the output.
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

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

TEST(MergeRun, DemoFilesGiveTheCheckedOutputAndLog) {
  LoadSetup s;
  std::string one = CopyExample(s, "datei1.ged");
  std::string two = CopyExample(s, "datei2.ged");
  ASSERT_EQ(MergeFiles(s, one, two, "merge"), MergeOutcome::kWritten);
  std::string output = test::ReadFile(s.dir.File("merge.ged"));
  std::string log = Replace(test::ReadFile(s.dir.File("merge.log")), s.dir.path().string(), "<DIR>");
  std::string expectedDir = std::string(KINWEAVE_TEST_DATA) + "/demo/";
  if (std::getenv("KINWEAVE_WRITE_EXPECTED") != nullptr) {
    test::WriteFile(expectedDir + "merge.ged", output);
    test::WriteFile(expectedDir + "merge.log", log);
  }
  EXPECT_EQ(output, test::ReadFile(expectedDir + "merge.ged"));
  EXPECT_EQ(log, test::ReadFile(expectedDir + "merge.log"));
  EXPECT_FALSE(fs::exists(s.dir.File("log")));  // moved beside the output
  ASSERT_EQ(s.reporter.messages.size(), 1u);
  EXPECT_EQ(s.reporter.messages[0], "Fertig|\r\n" + s.dir.File("merge.ged") + "\r\n wurde erzeugt");
  EXPECT_EQ(s.reporter.status[0], "Fertig!");
  EXPECT_EQ(s.reporter.status[1], "14 Personen 5 Familien");
  EXPECT_EQ(s.reporter.waitedMilliseconds, 2000);
  EXPECT_TRUE(s.reporter.errors.empty());
  std::vector<std::string> problems = test::IntegrityProblems(output, s.slot(0).encoding, {});
  EXPECT_TRUE(problems.empty()) << test::JoinProblems(problems);
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

TEST(MergeRun, AdditionsToAFileWithoutFamiliesStartAtNumberOne) {
  LoadSetup s;
  test::WriteFile(s.dir.File("eins.ged"),
                  "0 HEAD\r\n0 @I1@ INDI\r\n1 NAME Karl /Mayer/\r\n1 SEX M\r\n1 BIRT\r\n"
                  "2 DATE 1832\r\n0 TRLR\r\n");
  test::WriteFile(s.dir.File("zwei.ged"),
                  "0 HEAD\r\n0 @I1@ INDI\r\n1 NAME Karl /Mayer/\r\n1 SEX M\r\n1 BIRT\r\n"
                  "2 DATE 1832\r\n1 FAMS @F1@\r\n0 @I2@ INDI\r\n1 NAME Luise /Gross/\r\n"
                  "1 SEX F\r\n1 FAMS @F1@\r\n0 @F1@ FAM\r\n1 HUSB @I1@\r\n1 WIFE @I2@\r\n0 TRLR\r\n");
  ASSERT_EQ(MergeFiles(s, s.dir.File("eins.ged"), s.dir.File("zwei.ged"), "merge.ged"),
            MergeOutcome::kWritten);
  std::string output = test::ReadFile(s.dir.File("merge.ged"));
  EXPECT_NE(output.find("2 DATE 1832\r\n1 FAMS @F1@\n0 @I2@ INDI"), std::string::npos) << output;
  EXPECT_NE(output.find("0 @F1@ FAM\n1 HUSB @I1@\n1 WIFE @I2@\n"), std::string::npos) << output;
  std::vector<std::string> problems = test::IntegrityProblems(output, s.slot(0).encoding, {});
  EXPECT_TRUE(problems.empty()) << test::JoinProblems(problems);
}

}  // namespace
}  // namespace kw
