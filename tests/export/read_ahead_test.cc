// Reading ahead on a thread of its own gives the export exactly what its
// own reading would, and nothing it did not ask for in that order.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "export/read_ahead.h"
#include "export/tree_support.h"

namespace kw::test {
namespace {

// An input file of `count` person records, and where each record's first
// sub-line starts. The records of the two files differ, so that a merge
// takes lines from both; record 7 of file 1 holds a line whose level runs
// into its tag, which makes its reading show a box.
struct Input {
  std::string bytes;
  std::vector<int64_t> records;
};

Input Generate(int count, int slot) {
  Input input;
  for (int k = 0; k < count; ++k) {
    input.bytes += "0 @I" + std::to_string(k + 1) + "@ INDI\n";
    input.records.push_back(static_cast<int64_t>(input.bytes.size()));
    input.bytes += "1 NAME Anna" + std::string(k % 5 + slot, 'x') + " /Meier/\n";
    if (slot == 0 && k == 7) input.bytes += "1SEX F\n";
    input.bytes += "1 BIRT\n2 DATE " + std::to_string(1800 + k % 90) + "\n";
    if (slot == 1) input.bytes += "2 PLAC Ort" + std::to_string(k) + "\n1 OCCU Weber\n";
    for (int n = 0; n < k % 4; ++n) input.bytes += "1 NOTE Zeile " + std::to_string(n) + "\n";
  }
  input.bytes += "0 TRLR\n";
  return input;
}

TEST(ReadAheadTest, GivesWhatTheExportWouldReadItself) {
  const int count = 600;  // several rounds through every batch
  Input one = Generate(count, 0), two = Generate(count, 1);
  std::vector<ReadAhead::Wanted> wanted;
  for (int k = 0; k < count; ++k) {
    // Every third record has no partner; partners come in another order.
    int64_t partner = k % 3 == 2 ? -1 : two.records[static_cast<size_t>((k * 7) % count)];
    wanted.push_back({one.records[static_cast<size_t>(k)], partner});
  }
  ReadAhead ahead(InputText(one.bytes, kEncodingPlain, 0), InputText(two.bytes, kEncodingPlain, 1),
                  wanted, kEncodingPlain);
  int taken = 0;
  for (int k = 0; k < count; ++k) {
    const ReadAhead::Wanted& w = wanted[static_cast<size_t>(k)];
    // What the export reads itself where nothing was read ahead.
    InputText inputOne(one.bytes, kEncodingPlain, 0), inputTwo(two.bytes, kEncodingPlain, 1);
    LineArena arena;
    RecordingReporter reporter;
    ReadAhead::Record here = ReadAndMerge(inputOne, inputTwo, w.first, w.second, arena, reporter);
    ReadAhead::Record record;
    if (!ahead.Take(w.first, w.second, &record)) {
      // Only the reading that shows a box is left to the export.
      EXPECT_EQ(k, 7);
      EXPECT_EQ(reporter.errors, std::vector<std::string>{"ReadGED warn 1SEX F\n"});
      continue;
    }
    ++taken;
    EXPECT_EQ(record.nextRecord, here.nextRecord) << k;
    ASSERT_NE(record.plans, nullptr);
    RecordPlans plans;
    RecordPlans::Range steps = plans.Plan(here.merged, kEncodingPlain);
    EXPECT_EQ(Planned(*record.plans, record.steps), Planned(plans, steps)) << k;
  }
  EXPECT_EQ(taken, count - 1);
}

TEST(ReadAheadTest, AnythingNotAskedForInTurnIsLeftToTheExport) {
  Input one = Generate(300, 0), two = Generate(300, 1);
  auto at = [&](const Input& input, int k) { return input.records[static_cast<size_t>(k)]; };
  std::vector<ReadAhead::Wanted> wanted;
  for (int k = 0; k < 300; k += 2) wanted.push_back({at(one, k), at(two, k)});
  ReadAhead ahead(InputText(one.bytes, kEncodingPlain, 0), InputText(two.bytes, kEncodingPlain, 1),
                  wanted, kEncodingPlain);
  ReadAhead::Record record;
  EXPECT_TRUE(ahead.Take(at(one, 0), at(two, 0), &record));
  EXPECT_FALSE(ahead.Take(at(one, 1), at(two, 1), &record));    // never wanted
  EXPECT_TRUE(ahead.Take(at(one, 2), at(two, 2), &record));     // kept for its turn
  EXPECT_FALSE(ahead.Take(at(one, 4), at(two, 5), &record));    // another partner
  EXPECT_FALSE(ahead.Take(at(one, 4), at(two, 4), &record));    // already passed
  EXPECT_TRUE(ahead.Take(at(one, 200), at(two, 200), &record));  // 6 to 198 dropped
  EXPECT_FALSE(ahead.Take(at(one, 100), at(two, 100), &record));
  EXPECT_TRUE(ahead.Take(at(one, 298), at(two, 298), &record));
  EXPECT_FALSE(ahead.Take(at(one, 299), at(two, 299), &record));  // past the last
  // A read-ahead given up early stops its thread: the test ends.
  ReadAhead left(InputText(one.bytes, kEncodingPlain, 0), InputText(two.bytes, kEncodingPlain, 1),
                 wanted, kEncodingPlain);
  EXPECT_TRUE(left.Take(at(one, 0), at(two, 0), &record));
}

}  // namespace
}  // namespace kw::test
