// Merges pairs of real GEDCOM files and checks that the output holds
// together: one header, one trailer, unique cross-references, and every
// pointer naming a record of the right kind, unless it named nothing in
// its input already. A file merged with itself must also pair every person
// the name walk can judge with its twin and add no family twice.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "export/export.h"
#include "support/gedcom_integrity.h"
#include "support/load_fixture.h"
#include "support/test_files.h"
#include "ui/merge_pass.h"

namespace kw::test {
namespace {

struct MergedPair {
  std::vector<std::string> problems;
  std::vector<std::string> errors;
  std::string output;
  int judged = 0;          // slot-0 persons with both names and a year
  int judgedUnpaired = 0;  // of those, not paired with the same number
  int familiesAdded = 0;   // families the export added to slot 0
};

MergedPair MergeRealPair(const std::string& first, const std::string& second) {
  LoadSetup s;
  std::string bytes1 = ReadFile(RealTestFile(first));
  std::string bytes2 = ReadFile(RealTestFile(second));
  s.Load(0, "in1-" + first, bytes1);
  s.Load(1, "in2-" + second, bytes2);
  MergePass(*s.store, s.log, s.reporter);
  MergedPair result;
  const InputSlot& slot0 = s.slot(0);
  for (int n = 1; n < slot0.personEnd; ++n) {
    const Person& p = slot0.persons[n];
    if (p.number == 0 || p.surname == nullptr || p.givenNames == nullptr) continue;
    if (p.surname[0] == '\0' || p.givenNames[0] == '\0') continue;
    if (DateYear(p.birth) == 0 && DateYear(p.death) == 0) continue;
    ++result.judged;
    if (p.partner != n) ++result.judgedUnpaired;
  }
  int families = slot0.familyCount;
  std::string outputPath = s.dir.File("merged.ged");
  EXPECT_EQ(ExportGedcom(*s.store, s.log, s.reporter, outputPath), 1);
  result.output = ReadFile(outputPath);
  std::set<std::string> allowed = UnwrittenNoteAndSourceRefs(*s.store);
  for (const auto& [bytes, encoding] : {std::pair(bytes1, s.slot(0).encoding),
                                        std::pair(bytes2, s.slot(1).encoding)}) {
    std::set<std::string> missing = MissingPointerTargets(bytes, encoding);
    allowed.insert(missing.begin(), missing.end());
  }
  result.problems = IntegrityProblems(result.output, s.slot(0).encoding, allowed);
  result.errors = s.reporter.errors;
  result.familiesAdded = s.slot(0).familyCount - families;
  return result;
}

TEST(ExportRealFilesTest, EveryFileMergedWithItselfHoldsTogether) {
  if (!RealTestDataPresent()) GTEST_SKIP() << "no real test data at " << KINWEAVE_REAL_TESTDATA;
  // Files without a header record cannot give an output that starts with one.
  const std::set<std::string> headless = {"malformed-missing-header.ged"};
  int merged = 0;
  for (const auto& entry : std::filesystem::directory_iterator(KINWEAVE_REAL_TESTDATA)) {
    std::string name = entry.path().filename().string();
    if (entry.path().extension() != ".ged" || headless.count(name) != 0) continue;
    SCOPED_TRACE(name);
    MergedPair result = MergeRealPair(name, name);
    EXPECT_TRUE(result.problems.empty()) << JoinProblems(result.problems);
    // Every person the name walk can judge finds its twin, and no family of
    // the file is added a second time.
    EXPECT_EQ(result.judgedUnpaired, 0) << "of " << result.judged << " persons";
    EXPECT_EQ(result.familiesAdded, 0);
    ++merged;
  }
  EXPECT_GT(merged, 40);
}

TEST(ExportRealFilesTest, PairsOfDifferentFilesHoldTogether) {
  if (!RealTestDataPresent()) GTEST_SKIP() << "no real test data at " << KINWEAVE_REAL_TESTDATA;
  const std::vector<std::pair<std::string, std::string>> pairs = {
      {"willis.ged", "willis-ansel.ged"},
      {"willis.ged", "willis-unicode-littleendian.ged"},
      {"willis-ansel.ged", "willis.ged"},
      {"willis-unicode-littleendian.ged", "willis-unicode-bigendian.ged"},
      {"willis-ascii.ged", "willis-unicode-bigendian.ged"},
      {"TGC551.ged", "TGC55C.ged"},
      {"TGC551LF.ged", "TGC55CLF.ged"},
      {"utf16le.ged", "utf8-bom.ged"},
      {"ansel.ged", "utf8-unicode.ged"},
      {"Shakespeare.ged", "vendor-gramps.ged"},
      {"NorseGods.ged", "GreekGods.ged"},
      {"RomanGods.ged", "GreekGods.ged"},
      {"vendor-ftm.ged", "ansi-cp1252-ftm17.ged"},
      {"sample551-1.ged", "allged.ged"},
      {"famhistcustomtags.ged", "vendor-familyhistorian.ged"},
      {"legacycustomtags.ged", "vendor-legacy.ged"},
      {"TGC551.ged", "TGC551LF.ged"},
  };
  std::set<std::pair<std::string, std::string>> merged;
  for (const auto& [one, two] : pairs) {
    for (const auto& [first, second] : {std::pair(one, two), std::pair(two, one)}) {
      if (!merged.emplace(first, second).second) continue;
      SCOPED_TRACE(first + " + " + second);
      MergedPair result = MergeRealPair(first, second);
      EXPECT_TRUE(result.problems.empty()) << JoinProblems(result.problems);
    }
  }
}

}  // namespace
}  // namespace kw::test
