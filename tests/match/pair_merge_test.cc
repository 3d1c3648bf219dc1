#include "match/pair_merge.h"

#include <gtest/gtest.h>

#include "support/slot_builder.h"

// How a match spreads through both trees, in which order its children pair
// and when differing parents are a contradiction is shown end to end by the
// golden cases relatives-of-a-match, children-of-a-match-pair-in-list-order
// and parents-missing-or-taken-are-no-contradiction; this is the rule they
// do not reach.

namespace kw::test {
namespace {

class MergePairTest : public SlotBuilder {
 protected:
  // Links a and b as the name walk would, then spreads from them.
  void MatchAndSpread(int32_t a, int32_t b) {
    ASSERT_EQ(Compare(a, b, kNameWalk), Verdict::kSame);
    MergePair(store(), log(), reporter_, state_, a, b);
    EXPECT_TRUE(state_.pairStack.empty());
  }
  bool FamiliesLinked(int32_t f0, int32_t f1) {
    return family(0, f0).partner == f1 && family(1, f1).partner == f0;
  }
};

// Families whose spouses are partners already, or that have no spouse
// besides the pair, are linked without a new match, unless one is linked
// elsewhere; spouses linked to somebody else leave their families apart.
TEST_F(MergePairTest, FamiliesOfACoupleThatIsOneAlready) {
  auto [hans0, hans1] = AddBoth({"Hans", "Meier", 1850});
  auto [anna0, anna1] = AddBoth({"Anna", "Kunz", 1852, 0, 'F'});
  auto [eva0, eva1] = AddBoth({"Eva", "Meier", 0, 0, 'F'});
  int32_t taken0 = AddFamily(0, hans0, 0);
  family(0, taken0).partner = 77;
  int32_t couple0 = AddFamily(0, hans0, anna0), lone0 = AddFamily(0, hans0, 0, {eva0});
  int32_t couple1 = AddFamily(1, hans1, anna1), lone1 = AddFamily(1, hans1, 0, {eva1});
  ASSERT_EQ(Compare(anna0, anna1, kNameWalk), Verdict::kSame);
  MatchAndSpread(hans0, hans1);
  EXPECT_TRUE(FamiliesLinked(couple0, couple1));
  EXPECT_TRUE(FamiliesLinked(lone0, lone1));
  EXPECT_EQ(family(0, taken0).partner, 77);
  EXPECT_EQ(person(0, eva0).partner, eva1);
  EXPECT_EQ(state_.mergeCount, 3);

  auto [otto0, otto1] = AddBoth({"Otto", "Lang", 1840});
  auto [rita0, rita1] = AddBoth({"Rita", "Berg", 1842, 0, 'F'});
  int32_t f0 = AddFamily(0, otto0, rita0), f1 = AddFamily(1, otto1, rita1);
  ASSERT_EQ(Compare(rita0, AddPerson(1, {"Rita", "Berg", 1842, 0, 'F'}), kNameWalk),
            Verdict::kSame);
  MatchAndSpread(otto0, otto1);
  EXPECT_EQ(family(0, f0).partner + family(1, f1).partner, 0);
}

}  // namespace
}  // namespace kw::test
