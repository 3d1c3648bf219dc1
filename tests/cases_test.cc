// The golden cases: each folder of tests/cases holds two input files
// (datei1.ged, datei2.ged), the output and log a merge of them must give
// (merge.ged, merge.log) and a one-line note of the fault the case catches.
// The merge runs as the command line runs it; the log's temporary folder
// reads "<DIR>". Error and message boxes, when a case has any, are kept in
// boxes.txt, one per line, with their line ends written as \r and \n.
//
// A case whose folder holds the report's files (merge.html, merge-paare.csv)
// compares them too, dated kReportDate.
//
// KINWEAVE_WRITE_EXPECTED=1 rewrites the expected files from what the
// merge gives (see tests/README.md).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "run/merge_run.h"
#include "support/gedcom_integrity.h"
#include "support/load_fixture.h"

namespace kw::test {
namespace {

namespace fs = std::filesystem;

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

std::string BoxLines(const RecordingReporter& reporter, const std::string& dir) {
  std::string lines;
  auto add = [&](const std::string& box) {
    lines += Replace(Replace(Replace(box, dir, "<DIR>"), "\r", "\\r"), "\n", "\\n") + "\n";
  };
  for (const std::string& error : reporter.errors) add("ERROR|" + error);
  for (const std::string& message : reporter.messages) add(message);  // "caption|text"
  return lines;
}

std::vector<fs::path> CaseFolders() {
  std::vector<fs::path> folders;
  for (const auto& entry : fs::directory_iterator(KINWEAVE_TEST_CASES)) {
    if (entry.is_directory()) folders.push_back(entry.path());
  }
  std::sort(folders.begin(), folders.end());
  return folders;
}

constexpr char kReportDate[] = "01.01.2000, 12:00 Uhr";

// Compares, or rewrites when asked to; an expected file that is missing
// counts as empty.
void Expect(const fs::path& file, const std::string& actual) {
  if (std::getenv("KINWEAVE_WRITE_EXPECTED") != nullptr) {
    if (actual.empty()) {
      fs::remove(file);
    } else {
      WriteFile(file.string(), actual);
    }
    return;
  }
  std::string expected = fs::exists(file) ? ReadFile(file.string()) : std::string();
  EXPECT_EQ(actual, expected) << file;
}

TEST(GoldenCases, EveryCaseGivesItsOutputLogAndBoxes) {
  std::vector<fs::path> folders = CaseFolders();
  ASSERT_FALSE(folders.empty());
  for (const fs::path& folder : folders) {
    SCOPED_TRACE(folder.filename().string() + ": " + ReadFile((folder / "note").string()));
    ASSERT_TRUE(fs::exists(folder / "note")) << "every case says what it catches";
    LoadSetup s;
    std::string one = s.dir.File("datei1.ged");
    std::string two = s.dir.File("datei2.ged");
    fs::copy_file(folder / "datei1.ged", one);
    fs::copy_file(folder / "datei2.ged", two);
    s.LoadPath(0, one);
    s.LoadPath(1, two);
    StartMerge(*s.store, s.log, s.reporter, "merge.ged", kReportDate);
    std::string dir = s.dir.path().string();
    std::string output = ReadFile(s.dir.File("merge.ged"));
    Expect(folder / "merge.ged", output);
    Expect(folder / "merge.log", Replace(ReadFile(s.dir.File("merge.log")), dir, "<DIR>"));
    Expect(folder / "boxes.txt", BoxLines(s.reporter, dir));
    for (const char* report : {"merge.html", "merge-paare.csv"}) {
      if (fs::exists(folder / report)) {
        Expect(folder / report, Replace(ReadFile(s.dir.File(report)), dir, "<DIR>"));
      }
    }
    // A written output has its log beside it; nothing stays behind.
    if (!output.empty()) {
      EXPECT_FALSE(fs::exists(s.dir.File("log")));
    }

    std::vector<std::string> problems = MergedOutputProblems(*s.store, output);
    EXPECT_TRUE(output.empty() || problems.empty()) << JoinProblems(problems);
  }
}

}  // namespace
}  // namespace kw::test
