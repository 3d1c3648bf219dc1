#include "run/merge_pass.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/slot_builder.h"

namespace kw::test {
namespace {

class MergePassTest : public SlotBuilder {
 protected:
  int Run() { return MergePass(store(), log(), reporter_, &timing_); }

  // Anton, his father Hans and Zacharias Meier in both slots; the slot-0
  // father's surname and years vary, the slot-1 father is born 1850.
  void FatherAndSons(const char* surname0, int birth0, int death0) {
    for (int s = 0; s < 2; ++s) {
      int anton = AddPerson(s, {"Anton", "Meier", 1880});
      int hans = s == 0 ? AddPerson(0, {"Hans", surname0, birth0, death0})
                        : AddPerson(1, {"Hans", "Meier", 1850});
      AddPerson(s, {"Zacharias", "Meier", 1900});
      AddFamily(s, hans, 0, {anton});
    }
  }

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

TEST_F(MergePassTest, SortsBothSlotsAndMergesEqualPersons) {
  AddPerson(0, {"Otto", "Zorn", 1900});
  AddPerson(0, {"Anna", "Abel", 1850, 0, 'F'});
  AddPerson(0, {"Karl", "Kunz", 1870});
  AddPerson(1, {"Karl", "Kunz", 1870});
  AddPerson(1, {"Otto", "Zorn", 1900});
  AddPerson(1, {"Anna", "Abel", 1850, 0, 'F'});
  EXPECT_EQ(Run(), 3);
  EXPECT_EQ(Partners(0), (Ids{2, 3, 1}));
  EXPECT_EQ(Partners(1), (Ids{3, 1, 2}));
  EXPECT_EQ(reporter_.status[1], "3 Verschmelzungen");
  EXPECT_LE(timing_.pairMergeSeconds, timing_.walkSeconds);
}

TEST_F(MergePassTest, FirstSlot0PersonAboveAllOfSlot1MergesNothing) {
  AddPerson(0, {"Otto", "Zorn", 1900});
  AddPerson(1, {"Anna", "Abel", 1850, 0, 'F'});
  AddPerson(1, {"Karl", "Kunz", 1870});
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(Partners(1), (Ids{0, 0}));
  EXPECT_EQ(reporter_.status[1], "0 Verschmelzungen");
}

// Two equal keys come out of the sort in reverse order (worked out from the
// partition steps), so the second slot-1 Hans is merged with the first
// slot-0 person, and the first slot-1 Hans goes on to meet Hansi.
TEST_F(MergePassTest, SecondEqualSlot1PersonMeetsTheNextSlot0Person) {
  AddPerson(0, {"Hans", "Meier", 1850});
  AddPerson(0, {"Hansi", "Meier", 1850});
  AddPerson(1, {"Hans", "Meier", 1850});
  AddPerson(1, {"Hans", "Meier", 1850});
  EXPECT_EQ(Run(), 2);
  EXPECT_EQ(Partners(0), (Ids{2, 1}));
  EXPECT_EQ(Partners(1), (Ids{2, 1}));
}

// With Anna (F) and Karl (M) in slot 0 and only Karl in slot 1, the sexes
// give -1 at Anna, the slot-1 cursor moves past Karl, and the pair that
// would match is passed by.
TEST_F(MergePassTest, WalkPassesByAPairBecauseOfAFixedSign) {
  AddPerson(0, {"Anna", "Meier", 1850, 0, 'F'});
  AddBoth({"Karl", "Meier", 1852});
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(Partners(0), (Ids{0, 0}));
  EXPECT_EQ(Partners(1), (Ids{0}));
  EXPECT_EQ(reporter_.status[1], "0 Verschmelzungen");
}

// Adam against Cramer gives the raw surname difference 2 although nobody is
// linked: an ordinary positive result that moves only the slot-0 cursor.
TEST_F(MergePassTest, RawDifferenceOfTwoMovesTheSlot0Cursor) {
  AddPerson(0, {"Hans", "Adam", 1800});
  AddBoth({"Hans", "Cramer", 1800});
  EXPECT_EQ(Run(), 1);
  EXPECT_EQ(Partners(0), (Ids{0, 1}));
  EXPECT_EQ(Partners(1), (Ids{2}));
}

// Anton's match links the fathers through the pair merge. Then both cursors
// stand on linked persons and both move on, so Zacharias is still reached.
TEST_F(MergePassTest, WalkMovesPastPersonsLinkedOnBothSides) {
  FatherAndSons("Meier", 0, 1920);
  EXPECT_EQ(Run(), 3);
  EXPECT_EQ(Partners(0), (Ids{1, 2, 3}));
  EXPECT_EQ(Partners(1), (Ids{1, 2, 3}));
}

// The slot-0 father is spelled Meyer and sorts last; once the pair merge
// has linked him, the slot-1 cursor stands on his linked partner while the
// slot-0 cursor stands on Zacharias. Only the slot-1 cursor moves on.
TEST_F(MergePassTest, WalkMovesPastALinkedSlot1Person) {
  FatherAndSons("Meyer", 1850, 0);
  EXPECT_EQ(Run(), 3);
  EXPECT_EQ(Partners(0), (Ids{1, 2, 3}));
  EXPECT_EQ(Partners(1), (Ids{1, 2, 3}));
  EXPECT_EQ(reporter_.status[1], "3 Verschmelzungen");
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
