#include "match/pair_merge.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "match_fixture.h"

namespace kw {
namespace {

using Numbers = std::vector<int>;

class MergePairTest : public MatchFixture {
 protected:
  // Links a and b as the name walk would, then spreads from them.
  void MatchAndSpread(int a, int b) {
    ASSERT_EQ(Compare(a, b, kNameWalk), 0);
    MergePair(store(), log(), reporter_, state_, a, b);
    EXPECT_TRUE(state_.pairStack.empty());
  }
  bool PersonsLinked(int p, int q) {
    return person(0, p).partner == q && person(1, q).partner == p;
  }
  bool FamiliesLinked(int f0, int f1) {
    return family(0, f0).partner == f1 && family(1, f1).partner == f0;
  }
};

TEST_F(MergePairTest, PairWithoutFamiliesEndsAtOnce) {
  AddBoth("Karl", "Meier", 'M', 1880);
  MatchAndSpread(1, 1);
  EXPECT_EQ(state_.mergeCount, 1);
  EXPECT_EQ(LogText(), "");
  EXPECT_TRUE(reporter_.errors.empty());
}

TEST_F(MergePairTest, ContradictingParentsAreLogged) {
  int child0 = AddPerson(0, "Karl", "Meier", 'M', 1880);
  int father0 = AddPerson(0, "Johann", "M\xFCller", 'M', 1850);
  int mother0 = AddPerson(0, "Anna", "Bauer", 'F', 1852, 1920);
  AddFamily(0, father0, mother0, {child0});
  int child1 = AddPerson(1, "Karl", "Meier", 'M', 1880);
  int father1 = AddPerson(1, "Johann", "Schulz", 'M', 1850);
  int mother1 = AddPerson(1, "Anna", "Baumann", 'F', 0, 1920);
  AddFamily(1, father1, mother1, {child1});

  MatchAndSpread(child0, child1);
  EXPECT_EQ(LogText(),
            "\nWiderspruch bei Vater von:\n"
            "     1 Karl Meier 1880 \n"
            "     1 Karl Meier 1880 \n"
            ":\n"
            "     2 Johann M\xFCller 1850 \n"
            "     2 Johann Schulz 1850 \n"
            "\nWiderspruch bei Mutter von\n"
            "     1 Karl Meier 1880 \n"
            "     1 Karl Meier 1880 \n"
            ":\n"
            "     3 Anna Bauer 1852 -1920\n"
            "     3 Anna Baumann -1920\n");
  EXPECT_EQ(Partners(0), (Numbers{1, 0, 0}));
}

TEST_F(MergePairTest, MissingOrTakenParentsAreNoContradiction) {
  int child0 = AddPerson(0, "Karl", "Meier", 'M', 1880);
  int father0 = AddPerson(0, "Johann", "Meier", 'M', 1850);
  int mother0 = AddPerson(0, "Anna", "Bauer", 'F');
  AddFamily(0, father0, mother0, {child0});
  int child1 = AddPerson(1, "Karl", "Meier", 'M', 1880);
  int mother1 = AddPerson(1, "Berta", "Schulz", 'F');
  AddFamily(1, 0, mother1, {child1});  // no father on this side
  // The slot-1 mother is linked to somebody else already.
  int other0 = AddPerson(0, "Berta", "Schulz", 'F');
  ASSERT_EQ(Compare(other0, mother1, kSpouseOrChild), 0);

  MatchAndSpread(child0, child1);
  EXPECT_EQ(LogText(), "");
  EXPECT_EQ(Partners(0), (Numbers{child1, 0, 0, mother1}));
  EXPECT_EQ(Partners(1), (Numbers{child0, other0}));
}

TEST_F(MergePairTest, SpreadsThroughAChainOfAncestors) {
  // Slot 1 numbers the generations the other way round.
  int p[5], q[5];
  const char* given[5] = {"Karl", "Johann", "Peter", "Georg", "Michel"};
  for (int g = 0; g < 5; ++g) p[g] = AddPerson(0, given[g], "Meier", 'M', g == 0 ? 1880 : 0);
  for (int g = 4; g >= 0; --g) q[g] = AddPerson(1, given[g], "Meyer", 'M', g == 0 ? 1880 : 0);
  for (int g = 0; g < 4; ++g) {
    AddFamily(0, p[g + 1], 0, {p[g]});
    AddFamily(1, q[g + 1], 0, {q[g]});
  }
  MatchAndSpread(p[0], q[0]);
  for (int g = 0; g < 5; ++g) EXPECT_TRUE(PersonsLinked(p[g], q[g])) << g;
  EXPECT_EQ(state_.mergeCount, 5);
  // A parent family holding only a father has no spouse besides the father,
  // so each generation's families are linked as one as well.
  for (int f = 1; f <= 4; ++f) EXPECT_TRUE(FamiliesLinked(f, f)) << f;
  EXPECT_EQ(LogText(), "");
}

TEST_F(MergePairTest, MatchingSpousesLinkTheFamiliesAndSpreadFurther) {
  int hans0 = AddPerson(0, "Hans", "Meier", 'M', 1850);
  int anna0 = AddPerson(0, "Anna", "Schmidt", 'F');
  int karl0 = AddPerson(0, "Karl", "Schmidt", 'M');
  int fam0 = AddFamily(0, hans0, anna0);
  AddFamily(0, karl0, 0, {anna0});
  int karl1 = AddPerson(1, "Karl", "Schmitt", 'M');
  int anna1 = AddPerson(1, "Anna", "Schmitt", 'F');
  int hans1 = AddPerson(1, "Hans", "Meier", 'M', 1850);
  AddFamily(1, karl1, 0, {anna1});
  int fam1 = AddFamily(1, hans1, anna1);

  MatchAndSpread(hans0, hans1);
  EXPECT_TRUE(FamiliesLinked(fam0, fam1));
  EXPECT_TRUE(PersonsLinked(anna0, anna1));
  EXPECT_TRUE(PersonsLinked(karl0, karl1));  // reached through the wife
  EXPECT_EQ(state_.mergeCount, 3);
}

TEST_F(MergePairTest, WivesAreComparedWithWivesInEveryFamilyPair) {
  int hans0 = AddPerson(0, "Hans", "Meier", 'M', 1850);
  int anna0 = AddPerson(0, "Anna", "Kunz", 'F');
  int berta0 = AddPerson(0, "Berta", "Lang", 'F');
  int fa0 = AddFamily(0, hans0, anna0);
  int fb0 = AddFamily(0, hans0, berta0);
  int hans1 = AddPerson(1, "Hans", "Meier", 'M', 1850);
  int berta1 = AddPerson(1, "Berta", "Lang", 'F');
  int anna1 = AddPerson(1, "Anna", "Kunz", 'F');
  int fb1 = AddFamily(1, hans1, berta1);
  int fa1 = AddFamily(1, hans1, anna1);

  MatchAndSpread(hans0, hans1);
  EXPECT_TRUE(FamiliesLinked(fa0, fa1));
  EXPECT_TRUE(FamiliesLinked(fb0, fb1));
  EXPECT_TRUE(PersonsLinked(anna0, anna1));
  EXPECT_TRUE(PersonsLinked(berta0, berta1));
}

TEST_F(MergePairTest, HusbandsAreComparedForAWife) {
  int anna0 = AddPerson(0, "Anna", "Kunz", 'F', 1850);
  int hans0 = AddPerson(0, "Hans", "Meier", 'M');
  int f0 = AddFamily(0, hans0, anna0);
  int hans1 = AddPerson(1, "Hans", "Meier", 'M');
  int anna1 = AddPerson(1, "Anna", "Kunz", 'F', 1850);
  int f1 = AddFamily(1, hans1, anna1);
  MatchAndSpread(anna0, anna1);
  EXPECT_TRUE(PersonsLinked(hans0, hans1));
  EXPECT_TRUE(FamiliesLinked(f0, f1));
}

TEST_F(MergePairTest, ChildrenPairInListOrderAndMismatchesStaySilent) {
  AddBoth("Hans", "Meier", 'M', 1850);  // 1
  AddPerson(0, "Anna", "Kunz", 'F');     // 2
  AddPerson(1, "Berta", "Lang", 'F');    // 2: a different wife
  AddBoth("Eva", "Meier", 'F');          // 3
  AddBoth("Eva", "Meier", 'F');          // 4
  AddPerson(0, "Xaver", "Zorn", 'M');    // 5
  AddFamily(0, 1, 2, {3, 4, 5});
  AddFamily(1, 1, 2, {3, 4});

  MatchAndSpread(1, 1);
  EXPECT_EQ(Partners(0), (Numbers{1, 0, 3, 4, 0}));
  EXPECT_EQ(Partners(1), (Numbers{1, 0, 3, 4}));
  EXPECT_EQ(family(0, 1).partner, 0);
  // Neither the spouse nor the child mismatch is logged; the matched
  // children's mothers differ, and the pair pushed last comes first.
  EXPECT_EQ(LogText(),
            "\nWiderspruch bei Mutter von\n     4 Eva Meier \n     4 Eva Meier \n"
            ":\n     2 Anna Kunz \n     2 Berta Lang \n"
            "\nWiderspruch bei Mutter von\n     3 Eva Meier \n     3 Eva Meier \n"
            ":\n     2 Anna Kunz \n     2 Berta Lang \n");
}

// A couple that is linked already keeps one family: the spouse comparison
// gives 2, yet the families are linked, without counting a merge. Spouses
// linked to somebody else leave the families apart.
TEST_F(MergePairTest, LinkedCoupleKeepsOneFamily) {
  auto [hans0, hans1] = AddBoth("Hans", "Meier", 'M', 1850);
  auto [anna0, anna1] = AddBoth("Anna", "Kunz", 'F', 1852);
  int f0 = AddFamily(0, hans0, anna0);
  int f1 = AddFamily(1, hans1, anna1);
  ASSERT_EQ(Compare(anna0, anna1, kNameWalk), 0);
  MatchAndSpread(hans0, hans1);
  EXPECT_TRUE(FamiliesLinked(f0, f1));
  EXPECT_EQ(state_.mergeCount, 2);
}

TEST_F(MergePairTest, SpousesLinkedElsewhereLeaveTheFamiliesApart) {
  auto [hans0, hans1] = AddBoth("Hans", "Meier", 'M', 1850);
  auto [anna0, anna1] = AddBoth("Anna", "Kunz", 'F', 1852);
  int other0 = AddPerson(0, "Anna", "Kunz", 'F', 1852);
  AddFamily(0, hans0, anna0);
  AddFamily(1, hans1, anna1);
  ASSERT_EQ(Compare(other0, anna1, kNameWalk), 0);
  MatchAndSpread(hans0, hans1);
  EXPECT_EQ(family(0, 1).partner, 0);
  EXPECT_EQ(family(1, 1).partner, 0);
}

TEST_F(MergePairTest, FamiliesOfThePairAloneAreLinkedWhenBothAreFree) {
  auto [hans0, hans1] = AddBoth("Hans", "Meier", 'M', 1850);
  auto [child0, child1] = AddBoth("Eva", "Meier", 'F');
  int lone0 = AddFamily(0, hans0, 0, {child0});
  int taken0 = AddFamily(0, hans0, 0);
  int lone1 = AddFamily(1, hans1, 0, {child1});
  family(0, taken0).partner = 77;  // linked elsewhere already

  MatchAndSpread(hans0, hans1);
  EXPECT_TRUE(FamiliesLinked(lone0, lone1));
  EXPECT_EQ(family(0, taken0).partner, 77);
  EXPECT_TRUE(PersonsLinked(child0, child1));
  EXPECT_EQ(state_.mergeCount, 2);  // the families themselves count nothing
}

}  // namespace
}  // namespace kw
