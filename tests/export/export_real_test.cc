// Merges pairs of real GEDCOM files and checks that the output holds
// together: one header, one trailer, unique cross-references, and every
// pointer naming a record of the right kind, unless it named nothing in
// its input already; and that every person of input file 2 the checks kept
// is in the output, merged or added. A file merged with itself must also
// pair every person the name walk can judge with its twin.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "export/export.h"
#include "run/merge_pass.h"
#include "support/gedcom_integrity.h"
#include "support/load_fixture.h"
#include "support/test_files.h"

namespace kw::test {
namespace {

struct MergedPair {
  std::vector<std::string> problems;
  std::vector<std::string> errors;
  std::string output;
  int judged = 0;          // slot-0 persons with both names and a year
  int judgedUnpaired = 0;  // of those, not paired with the same number
  // Persons of input file 2 the checks kept that the output does not hold.
  std::vector<std::string> leftBehind;
};

// Every person of slot 1 still present after the checks must be in the
// output under the name of its slot-0 partner, merged or added.
std::vector<std::string> PersonsLeftBehind(const Store& store, const std::string& output) {
  std::map<std::string, std::string> types = RecordTypes(output, store.slots[0].encoding);
  std::vector<std::string> left;
  const InputSlot& in = store.slots[1];
  for (int32_t q = 1; q < in.personEnd; ++q) {
    if (in.persons[q].number == 0) continue;  // never read, or deleted by the checks
    int32_t n = in.persons[q].partner;
    auto found = n == 0 ? types.end() : types.find(PersonXref(store.slots[0], n));
    if (found == types.end() || found->second != "INDI") left.push_back(PersonXref(in, q));
  }
  return left;
}

MergedPair MergeRealPair(const std::string& first, const std::string& second) {
  LoadSetup s;
  EXPECT_EQ(s.Load(0, "in1-" + first, ReadFile(RealTestFile(first))), 1);
  EXPECT_EQ(s.Load(1, "in2-" + second, ReadFile(RealTestFile(second))), 1);
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
  std::string outputPath = s.dir.File("merged.ged");
  EXPECT_EQ(ExportGedcom(*s.store, s.log, s.reporter, outputPath), 1);
  result.output = ReadFile(outputPath);
  result.problems = MergedOutputProblems(*s.store, result.output);
  result.errors = s.reporter.errors;
  result.leftBehind = PersonsLeftBehind(*s.store, result.output);
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
    // Every person the name walk can judge finds its twin; the others are
    // added.
    EXPECT_EQ(result.judgedUnpaired, 0) << "of " << result.judged << " persons";
    EXPECT_TRUE(result.leftBehind.empty()) << JoinProblems(result.leftBehind);
    ++merged;
  }
  EXPECT_GT(merged, 40);
}

// Each file with its siblings of the folder: those whose names start alike
// (the same program or collection, mostly the same family in other
// encodings), and its neighbours in name order, which are mostly other
// families entirely.
TEST(ExportRealFilesTest, EveryFileMergedWithItsSiblingsLeavesNoPersonBehind) {
  if (!RealTestDataPresent()) GTEST_SKIP() << "no real test data at " << KINWEAVE_REAL_TESTDATA;
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(KINWEAVE_REAL_TESTDATA)) {
    if (entry.path().extension() == ".ged") names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  auto stem = [](const std::string& name) { return name.substr(0, 4); };
  int merged = 0;
  for (size_t i = 0; i < names.size(); ++i) {
    for (size_t k = 0; k < names.size(); ++k) {
      bool neighbour = k == (i + 1) % names.size() || i == (k + 1) % names.size();
      if (k == i || (!neighbour && stem(names[i]) != stem(names[k]))) continue;
      SCOPED_TRACE(names[i] + " + " + names[k]);
      MergedPair result = MergeRealPair(names[i], names[k]);
      EXPECT_TRUE(result.leftBehind.empty()) << JoinProblems(result.leftBehind);
      std::vector<std::string> problems;
      for (const std::string& problem : result.problems) {
        // Files without a header record give an output without one.
        if (problem.find("HEAD") == std::string::npos) problems.push_back(problem);
      }
      EXPECT_TRUE(problems.empty()) << JoinProblems(problems);
      ++merged;
    }
  }
  EXPECT_GT(merged, 150);
}

}  // namespace
}  // namespace kw::test
