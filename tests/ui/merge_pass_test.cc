#include "ui/merge_pass.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "match/match_fixture.h"

namespace kw {
namespace {

class MergePassTest : public MatchFixture {
 protected:
  int Run() { return MergePass(store(), log(), reporter_, &timing_); }
  bool Linked(int p, int q) { return person(0, p).partner == q && person(1, q).partner == p; }

  MergeTiming timing_;
};

TEST_F(MergePassTest, EmptySlotsReportNoMerges) {
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(reporter_.statusHistory,
            (std::vector<std::string>{"0:Sortierung...", "0:Verschmelzung...",
                                      "1:0 Verschmelzungen"}));
  EXPECT_EQ(reporter_.waitedMilliseconds, 1000);
  EXPECT_EQ(LogText(), "\r\nkinweave! V1.1.5\r\n\r\n");
}

TEST_F(MergePassTest, SortsBothSlotsAndMergesEqualPersons) {
  int zorn0 = AddPerson(0, "Otto", "Zorn", 'M', 1900);
  int abel0 = AddPerson(0, "Anna", "Abel", 'F', 1850);
  int kunz0 = AddPerson(0, "Karl", "Kunz", 'M', 1870);
  int kunz1 = AddPerson(1, "Karl", "Kunz", 'M', 1870);
  int zorn1 = AddPerson(1, "Otto", "Zorn", 'M', 1900);
  int abel1 = AddPerson(1, "Anna", "Abel", 'F', 1850);
  EXPECT_EQ(Run(), 3);
  EXPECT_TRUE(Linked(abel0, abel1));
  EXPECT_TRUE(Linked(kunz0, kunz1));
  EXPECT_TRUE(Linked(zorn0, zorn1));
  EXPECT_EQ(reporter_.status[1], "3 Verschmelzungen");
  EXPECT_LE(timing_.pairMergeSeconds, timing_.walkSeconds);
}

TEST_F(MergePassTest, FirstSlot0PersonAboveAllOfSlot1MergesNothing) {
  AddPerson(0, "Otto", "Zorn", 'M', 1900);
  int abel1 = AddPerson(1, "Anna", "Abel", 'F', 1850);
  int kunz1 = AddPerson(1, "Karl", "Kunz", 'M', 1870);
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(person(1, abel1).partner + person(1, kunz1).partner, 0);
  EXPECT_EQ(reporter_.status[1], "0 Verschmelzungen");
}

// Two equal keys come out of the sort in reverse order (worked out from the
// partition steps), so the second slot-1 Hans is merged with the first
// slot-0 person, and the first slot-1 Hans goes on to meet Hansi.
TEST_F(MergePassTest, SecondEqualSlot1PersonMeetsTheNextSlot0Person) {
  int hans0 = AddPerson(0, "Hans", "Meier", 'M', 1850);
  int hansi0 = AddPerson(0, "Hansi", "Meier", 'M', 1850);
  int first1 = AddPerson(1, "Hans", "Meier", 'M', 1850);
  int second1 = AddPerson(1, "Hans", "Meier", 'M', 1850);
  EXPECT_EQ(Run(), 2);
  EXPECT_TRUE(Linked(hans0, second1));
  EXPECT_TRUE(Linked(hansi0, first1));
}

// With Anna (F) and Karl (M) in slot 0 and only Karl in slot 1, the sexes
// give -1 at Anna, the slot-1 cursor moves past Karl, and the pair that
// would match is passed by.
TEST_F(MergePassTest, WalkPassesByAPairBecauseOfAFixedSign) {
  int anna0 = AddPerson(0, "Anna", "Meier", 'F', 1850);
  int karl0 = AddPerson(0, "Karl", "Meier", 'M', 1852);
  int karl1 = AddPerson(1, "Karl", "Meier", 'M', 1852);
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(person(0, karl0).partner, 0);
  EXPECT_EQ(person(1, karl1).partner, 0);
  EXPECT_EQ(person(0, anna0).partner, 0);
  EXPECT_EQ(reporter_.status[1], "0 Verschmelzungen");
}

// Adam against Cramer gives the raw surname difference 2 although nobody is
// linked: an ordinary positive result that moves only the slot-0 cursor.
TEST_F(MergePassTest, RawDifferenceOfTwoMovesTheSlot0Cursor) {
  AddPerson(0, "Hans", "Adam", 'M', 1800);
  int cramer0 = AddPerson(0, "Hans", "Cramer", 'M', 1800);
  int cramer1 = AddPerson(1, "Hans", "Cramer", 'M', 1800);
  EXPECT_EQ(Run(), 1);
  EXPECT_TRUE(Linked(cramer0, cramer1));
}

// Anton's match links the fathers through the pair merge. Then both cursors
// stand on linked persons and both move on, so Zacharias is still reached.
TEST_F(MergePassTest, WalkMovesPastPersonsLinkedOnBothSides) {
  int anton0 = AddPerson(0, "Anton", "Meier", 'M', 1880);
  int hans0 = AddPerson(0, "Hans", "Meier", 'M', 0, 1920);
  int zach0 = AddPerson(0, "Zacharias", "Meier", 'M', 1900);
  AddFamily(0, hans0, 0, {anton0});
  int anton1 = AddPerson(1, "Anton", "Meier", 'M', 1880);
  int hans1 = AddPerson(1, "Hans", "Meier", 'M', 1850);
  int zach1 = AddPerson(1, "Zacharias", "Meier", 'M', 1900);
  AddFamily(1, hans1, 0, {anton1});
  EXPECT_EQ(Run(), 3);
  EXPECT_TRUE(Linked(anton0, anton1));
  EXPECT_TRUE(Linked(hans0, hans1));
  EXPECT_TRUE(Linked(zach0, zach1));
}

// The slot-0 father is spelled Meyer and sorts last; once the pair merge
// has linked him, the slot-1 cursor stands on his linked partner while the
// slot-0 cursor stands on Zacharias. Only the slot-1 cursor moves on.
TEST_F(MergePassTest, WalkMovesPastALinkedSlot1Person) {
  int anton0 = AddPerson(0, "Anton", "Meier", 'M', 1880);
  int hans0 = AddPerson(0, "Hans", "Meyer", 'M', 1850);
  int zach0 = AddPerson(0, "Zacharias", "Meier", 'M', 1900);
  AddFamily(0, hans0, 0, {anton0});
  int anton1 = AddPerson(1, "Anton", "Meier", 'M', 1880);
  int hans1 = AddPerson(1, "Hans", "Meier", 'M', 1850);
  int zach1 = AddPerson(1, "Zacharias", "Meier", 'M', 1900);
  AddFamily(1, hans1, 0, {anton1});
  EXPECT_EQ(Run(), 3);
  EXPECT_TRUE(Linked(hans0, hans1));
  EXPECT_TRUE(Linked(zach0, zach1));
  EXPECT_EQ(reporter_.status[1], "3 Verschmelzungen");
}

TEST_F(MergePassTest, DeletedPersonsArePassed) {
  int gone0 = AddPerson(0, "Hans", "Abel", 'M', 1800);
  int kunz0 = AddPerson(0, "Karl", "Kunz", 'M', 1870);
  int gone1 = AddPerson(1, "Anna", "Abel", 'F', 1800);
  int kunz1 = AddPerson(1, "Karl", "Kunz", 'M', 1870);
  person(0, gone0).number = 0;
  person(1, gone1).number = 0;
  EXPECT_EQ(Run(), 1);
  EXPECT_TRUE(Linked(kunz0, kunz1));
}

}  // namespace
}  // namespace kw
