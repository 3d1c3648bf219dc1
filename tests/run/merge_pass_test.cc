// The merge pass where the golden cases (walk-*) cannot reach: its status
// texts on empty slots, and persons the checks deleted.
#include "run/merge_pass.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "match/sort.h"
#include "support/slot_builder.h"

namespace kw::test {
namespace {

class MergePassTest : public SlotBuilder {
 protected:
  int Run() { return MergePass(store(), log(), reporter_, &timing_); }

  MergeTiming timing_;
};

TEST_F(MergePassTest, EmptySlotsReportNoMerges) {
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(
      reporter_.statusHistory,
      (std::vector<std::string>{"0:Sortierung...", "0:Verschmelzung...", "1:0 Verschmelzungen"}));
  EXPECT_EQ(reporter_.waitedMilliseconds, 1000);
  EXPECT_EQ(LogText(), "\r\nkinweave! V1.1.5\r\n\r\n");
}

// The sort is not the same when run twice on persons of one name, so a
// slot the loads put in name order must keep that order.
TEST_F(MergePassTest, SlotSortedDuringTheLoadsIsNotSortedAgain) {
  for (int k = 0; k < 12; ++k) AddPerson(0, {"Hans", "Abel", 1800 + k});
  AddPerson(1, {"Anna", "Zorn", 1800, 0, 'F'});
  SortAllPersons(store().slots[0], false);
  const std::vector<int32_t> sorted = store().slots[0].sortIndex;
  Run();
  EXPECT_EQ(store().slots[0].sortIndex, sorted);
  EXPECT_TRUE(store().slots[1].sortedByName);
}

TEST_F(MergePassTest, DeletedPersonsArePassed) {
  AddPerson(0, {"Hans", "Abel", 1800});
  AddPerson(1, {"Anna", "Abel", 1800, 0, 'F'});
  AddBoth({"Karl", "Kunz", 1870});
  person(0, 1).number = 0;
  person(1, 1).number = 0;
  EXPECT_EQ(Run(), 1);
  EXPECT_EQ(Partners(0), (Ids{0, 2}));
  EXPECT_EQ(Partners(1), (Ids{0, 2}));
}

}  // namespace
}  // namespace kw::test
