#include "match/compare.h"

#include <gtest/gtest.h>

#include <string>

#include "match_fixture.h"

namespace kw {
namespace {

int Surnames(const char* p, const char* q) {
  ScratchRing ring;
  return SurnameDistance(ring, Named("Hans", p), Named("Hans", q));
}

int GivenNames(const char* p, const char* q) {
  ScratchRing ring;
  return GivenNameDistance(ring, Named(p, "Meier"), Named(q, "Meier"));
}

TEST(SurnameDistance, GradesFromPrefixToNoAgreement) {
  EXPECT_EQ(Surnames("Weber", "Webers"), 0);           // folded prefix
  EXPECT_EQ(Surnames("weber", "WEBER"), 0);
  EXPECT_EQ(Surnames("Schmidt", "Schmitt"), 1);        // equal codes
  EXPECT_EQ(Surnames("Hofmann", "Hoffmann"), 1);
  EXPECT_EQ(Surnames("Schmidtke", "Schmidtbauer"), 2);  // six characters
  EXPECT_EQ(Surnames("Hartmann", "Hartwig"), 4);       // four characters
  EXPECT_EQ(Surnames("Bauer", "Baumann"), 15);
  EXPECT_EQ(Surnames(nullptr, "Bauer"), 8);
  EXPECT_EQ(Surnames("Bauer", nullptr), 8);
  // The prefix test is one-sided.
  EXPECT_EQ(Surnames("Meier", "Meierhofer"), 0);
  EXPECT_EQ(Surnames("Meierhofer", "Meier"), 4);
  EXPECT_EQ(Surnames("Webers", "Weber"), 4);
  EXPECT_EQ(Surnames("", "Weber"), 15);  // an empty name is no prefix here
}

TEST(GivenNameDistance, WholeNamesThenWordByWord) {
  EXPECT_EQ(GivenNames("Johann", "Johann Georg"), 0);
  EXPECT_EQ(GivenNames("Johann Georg", "Johann"), 5);  // one-sided prefix
  EXPECT_EQ(GivenNames("Hans", "Hannes"), 1);
  EXPECT_EQ(GivenNames("Hans", "Peter"), 15);
  EXPECT_EQ(GivenNames(nullptr, "Hans"), 8);
  EXPECT_EQ(GivenNames("Hans", nullptr), 8);
  EXPECT_EQ(GivenNames("Anna Maria", "Maria Anna"), 2);  // each in the other
  // The substring search is case-sensitive, on the names as stored.
  EXPECT_EQ(GivenNames("anna Maria", "Maria Anna"), 15);
  EXPECT_EQ(GivenNames("Anna Maria", "Annabel Marianne Kunz"), 4);
  // Runs of blanks separate once; leading and trailing blanks make no word
  // (an empty third word would meet "Kunz" and give 15).
  EXPECT_EQ(GivenNames(" Anna   Maria ", "Annabel Marianne Kunz"), 4);
  // Only the first four words count: the fifth words would give 15.
  EXPECT_EQ(GivenNames("Ada Ida Ola Uta Xaver", "Ada Ida Ola Uta Zacharias"), 5);
}

TEST(GivenNameDistance, LongNamesAreSplitWhole) {
  const std::string first(100, 'a');
  const std::string p = first + " Peter";
  EXPECT_EQ(GivenNames(p.c_str(), (first + " Pet").c_str()), 5);
  // The second word lies beyond byte 100 and still takes part.
  EXPECT_EQ(GivenNames(p.c_str(), (first + " Xaver").c_str()), 15);
  EXPECT_EQ(GivenNames((first + " Xaver").c_str(), p.c_str()), 15);
}

class ComparePersonsTest : public MatchFixture {
 protected:
  // One person in each slot.
  void Pair(const char* given0, const char* surname0, char sex0, int birth0, int death0,
            const char* given1, const char* surname1, char sex1, int birth1, int death1) {
    AddPerson(0, given0, surname0, sex0, birth0, death0);
    AddPerson(1, given1, surname1, sex1, birth1, death1);
  }
};

TEST_F(ComparePersonsTest, NameWalkSameLinksAndCounts) {
  Pair("Hans", "M\xFCller", 'M', 1850, 1910, "Hans", "Mueller", 'M', 1850, 0);
  EXPECT_EQ(Compare(1, 1, kNameWalk), 0);
  EXPECT_EQ(Partners(0), std::vector<int>{1});
  EXPECT_EQ(Partners(1), std::vector<int>{1});
  EXPECT_EQ(state_.mergeCount, 1);
  // Linked persons are taken: 2 without looking, nothing counted.
  EXPECT_EQ(Compare(1, 1, kNameWalk), 2);
  EXPECT_EQ(Compare(1, 1, kSpouseOrChild), 2);
  EXPECT_EQ(Compare(1, 1, kParent), 2);
  EXPECT_EQ(state_.mergeCount, 1);
}

TEST_F(ComparePersonsTest, NameWalkYears) {
  struct Case {
    int birth0, death0, birth1, death1, result;
  } cases[] = {
      {0, 0, 0, 0, 1},              // no years at all: not enough
      {1850, 0, 1851, 0, 1},        // birth years differ
      {1850, 1900, 1850, 1901, 1},  // death years differ
      {0, 1900, 1850, 1900, 0},     // equal death years suffice
      {1850, 0, 1850, 0, 0},        // equal birth years, deaths not both known
      {1850, 1900, 1851, 1900, 1},  // a birth conflict vetoes equal deaths
  };
  int merges = 0;
  for (const Case& c : cases) {
    Pair("Hans", "Meier", 'M', c.birth0, c.death0, "Hans", "Meier", 'M', c.birth1, c.death1);
    const int n = slot(0).personEnd - 1;
    EXPECT_EQ(Compare(n, n, kNameWalk), c.result)
        << c.birth0 << "-" << c.death0 << " / " << c.birth1 << "-" << c.death1;
    merges += c.result == 0 ? 1 : 0;
    EXPECT_EQ(state_.mergeCount, merges);
  }
}

TEST_F(ComparePersonsTest, NameWalkSurnameOrderTellsWhichCursorMoves) {
  AddPerson(0, "Hans", "Abel");
  AddPerson(0, "Hans", "Adam");
  AddPerson(0, "Hans", "Bach");
  AddPerson(1, "Hans", "Bach");
  AddPerson(1, "Hans", "Cramer");
  AddPerson(1, "Hans", "Zahn");
  AddPerson(1, "Hans", "Abel");
  EXPECT_EQ(Compare(1, 1, kNameWalk), 1);    // 'b' - 'a'
  EXPECT_EQ(Compare(2, 2, kNameWalk), 1);    // 'c' - 'a' is 2, yet nobody is linked
  EXPECT_EQ(Compare(1, 3, kNameWalk), 1);    // 'z' - 'a'
  EXPECT_EQ(Compare(1, 1, kNameWalk), 1);
  EXPECT_EQ(Compare(3, 4, kNameWalk), -1);   // reversed order is negative
  EXPECT_EQ(state_.mergeCount, 0);
  EXPECT_EQ(Partners(0), (std::vector<int>{0, 0, 0}));
  EXPECT_EQ(Partners(1), (std::vector<int>{0, 0, 0, 0}));
  // Meyer sorts after Maier, but equal codes make them agree.
  Pair("Hans", "Meyer", 'M', 1800, 0, "Hans", "Maier", 'M', 1800, 0);
  EXPECT_EQ(Compare(4, 5, kNameWalk), 0);
}

TEST_F(ComparePersonsTest, NameWalkGivenNamesAndSex) {
  Pair("Johann", "Meier", 'M', 1800, 0, "Johann Georg", "Meier", 'M', 1800, 0);
  EXPECT_EQ(Compare(1, 1, kNameWalk), 0);  // distance 0: prefix
  Pair("Johann Georg", "Meier", 'M', 1800, 0, "Johann", "Meier", 'M', 1800, 0);
  EXPECT_EQ(Compare(2, 2, kNameWalk), -1);  // distance 5
  AddPerson(0, "Hans", "Meier", 'M');
  AddPerson(1, "Hans", "Meier", 'F');
  AddPerson(1, "Hans", "Meier", 0);
  EXPECT_EQ(Compare(3, 3, kNameWalk), -1);
  EXPECT_EQ(Compare(3, 4, kNameWalk), -1);
  EXPECT_EQ(Partners(0), (std::vector<int>{1, 0, 0}));
  EXPECT_EQ(state_.mergeCount, 1);
}

TEST_F(ComparePersonsTest, NameWalkMissingNamesAndDeletedPersons) {
  AddPerson(0, "Hans", "");       // 1: empty surname
  AddPerson(0, nullptr, "Meier");  // 2: no given names
  AddPerson(0, "Hans", "Meier");   // 3
  AddPerson(1, "Hans", nullptr);   // 1: no surname
  AddPerson(1, "", "Meier");       // 2: empty given names
  AddPerson(1, "Hans", "Meier");   // 3
  EXPECT_EQ(Compare(1, 3, kNameWalk), 1);
  EXPECT_EQ(Compare(3, 1, kNameWalk), -1);
  EXPECT_EQ(Compare(2, 3, kNameWalk), 1);
  EXPECT_EQ(Compare(3, 2, kNameWalk), -1);
  // A person deleted by the checks keeps its place but never matches.
  person(0, 3).number = 0;
  EXPECT_EQ(Compare(3, 3, kNameWalk), 1);
  EXPECT_EQ(Compare(3, 3, kSpouseOrChild), 1);
  person(0, 3).number = 3;
  person(1, 3).number = 0;
  EXPECT_EQ(Compare(3, 3, kNameWalk), -1);
  EXPECT_EQ(Compare(3, 3, kParent), -1);
  EXPECT_EQ(state_.mergeCount, 0);
}

TEST_F(ComparePersonsTest, FamilyModesCountEvidence) {
  // Given names related (distance 1) and nothing else: evidence 1.
  Pair("Hans", "Schmidt", 'M', 0, 0, "Hannes", "Schmitt", 'M', 0, 0);
  EXPECT_EQ(Compare(1, 1, kSpouseOrChild), 0);
  // Sex differs: -1 in the family modes as well.
  Pair("Anna", "Meier", 'F', 0, 0, "Anna", "Meier", 'M', 0, 0);
  EXPECT_EQ(Compare(2, 2, kSpouseOrChild), -1);
  EXPECT_EQ(Compare(2, 2, kParent), -1);
  // Surnames too far apart (distance 15).
  Pair("Karl", "Bauer", 'M', 0, 0, "Karl", "Baumann", 'M', 0, 0);
  EXPECT_EQ(Compare(3, 3, kSpouseOrChild), 1);
  // No evidence at all.
  Pair("Hans", "Meier", 'M', 0, 0, "Peter", "Meier", 'M', 0, 0);
  EXPECT_EQ(Compare(4, 4, kSpouseOrChild), 1);
  EXPECT_EQ(Compare(4, 4, kParent), 1);
  EXPECT_EQ(state_.mergeCount, 1);
}

TEST_F(ComparePersonsTest, CommonMarriageYearCountsUnknownYearsAsEqual) {
  Pair("Hans", "Meier", 'M', 0, 0, "Peter", "Meier", 'M', 0, 0);
  AddFamily(0, 1, 0);
  AddFamily(1, 1, 0);
  EXPECT_EQ(Compare(1, 1, kSpouseOrChild), 0);

  Pair("Hans", "Meier", 'M', 0, 0, "Peter", "Meier", 'M', 0, 0);
  AddFamily(0, 2, 0, {}, 1820);
  AddFamily(1, 2, 0, {}, 1821);
  AddFamily(1, 2, 0, {}, 0);
  EXPECT_EQ(Compare(2, 2, kParent), 1);  // 1820 meets neither 1821 nor unknown
  AddFamily(1, 2, 0, {}, 1820);
  EXPECT_EQ(Compare(2, 2, kParent), 0);  // the third family of q has it
}

TEST_F(ComparePersonsTest, ParentModeHasNoYearVetoTheSpouseModeHasOne) {
  // Equal birth years, death years 1900 and 1901.
  Pair("Hans", "Meier", 'M', 1850, 1900, "Hans", "Meier", 'M', 1850, 1901);
  Pair("Hans", "Meier", 'M', 1850, 1900, "Hans", "Meier", 'M', 1850, 1901);
  EXPECT_EQ(Compare(1, 1, kParent), 0);
  EXPECT_EQ(Compare(2, 2, kSpouseOrChild), 1);  // evidence 2; the death years veto
  // Evidence 1 (birth year only); the given names are unrelated; the veto
  // holds unless a common marriage year decides.
  Pair("Hans", "Meier", 'M', 1850, 1900, "Peter", "Meier", 'M', 1850, 1901);
  EXPECT_EQ(Compare(3, 3, kSpouseOrChild), 1);
  AddFamily(0, 3, 0, {}, 1875);
  AddFamily(1, 3, 0, {}, 1875);
  EXPECT_EQ(Compare(3, 3, kSpouseOrChild), 0);  // the common year wins over the veto
  // Birth years 1850 and 1851 veto as well; evidence 2 from death year and names.
  Pair("Hans", "Meier", 'M', 1850, 1900, "Hans", "Meier", 'M', 1851, 1900);
  Pair("Hans", "Meier", 'M', 1850, 1900, "Hans", "Meier", 'M', 1851, 1900);
  EXPECT_EQ(Compare(4, 4, kSpouseOrChild), 1);
  EXPECT_EQ(Compare(5, 5, kParent), 0);
  EXPECT_EQ(state_.mergeCount, 3);
}

}  // namespace
}  // namespace kw
