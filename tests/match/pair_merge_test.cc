#include "match/pair_merge.h"

#include <gtest/gtest.h>

#include "support/slot_builder.h"

// How a match spreads through both trees and what contradictions read like
// is shown end to end by the golden case relatives-of-a-match; these are the
// rules it does not reach.

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

// A parent missing on one side, or linked to somebody else already, is no
// contradiction.
TEST_F(MergePairTest, MissingOrTakenParentsAreNoContradiction) {
  int32_t child0 = AddPerson(0, {"Karl", "Meier", 1880});
  int32_t father0 = AddPerson(0, {"Johann", "Meier", 1850});
  AddFamily(0, father0, AddPerson(0, {"Anna", "Bauer", 0, 0, 'F'}), {child0});
  int32_t child1 = AddPerson(1, {"Karl", "Meier", 1880});
  int32_t mother1 = AddPerson(1, {"Berta", "Schulz", 0, 0, 'F'});
  AddFamily(1, 0, mother1, {child1});
  int32_t other0 = AddPerson(0, {"Berta", "Schulz", 0, 0, 'F'});
  ASSERT_EQ(Compare(other0, mother1, kSpouseOrChild), Verdict::kSame);
  MatchAndSpread(child0, child1);
  EXPECT_EQ(LogText(), "");
  EXPECT_EQ(Partners(0), (Ids{child1, 0, 0, mother1}));
}

// Children pair in list order; neither a spouse nor a child mismatch is
// logged. The matched children's mothers differ, and the pair pushed last
// comes first.
TEST_F(MergePairTest, ChildrenPairInListOrderAndMismatchesStaySilent) {
  AddBoth({"Hans", "Meier", 1850});            // 1
  AddPerson(0, {"Anna", "Kunz", 0, 0, 'F'});   // 2
  AddPerson(1, {"Berta", "Lang", 0, 0, 'F'});  // 2
  AddBoth({"Eva", "Meier", 0, 0, 'F'});        // 3
  AddBoth({"Eva", "Meier", 0, 0, 'F'});        // 4
  AddPerson(0, {"Xaver", "Zorn"});             // 5
  AddFamily(0, 1, 2, {3, 4, 5});
  AddFamily(1, 1, 2, {3, 4});
  MatchAndSpread(1, 1);
  EXPECT_EQ(Partners(0), (Ids{1, 0, 3, 4, 0}));
  EXPECT_EQ(family(0, 1).partner, 0);
  EXPECT_EQ(LogText(),
            "\nWiderspruch bei Mutter von\n     4 Eva Meier \n     4 Eva Meier \n"
            ":\n     2 Anna Kunz \n     2 Berta Lang \n"
            "\nWiderspruch bei Mutter von\n     3 Eva Meier \n     3 Eva Meier \n"
            ":\n     2 Anna Kunz \n     2 Berta Lang \n");
}

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
