// What the checks leave in the lists, and the findings no loaded file can
// bring (records deleted while others still name them, repeated FAMS and
// FAMC). The log lines of everything a file can bring are shown end to end
// by the golden cases family-findings and person-findings.
#include "check/checks.h"

#include <gtest/gtest.h>

#include "support/slot_builder.h"

namespace kw::test {
namespace {

class Checks : public SlotBuilder {
 protected:
  int CheckP(int32_t n) { return CheckPerson(store(), log(), 0, n); }
  int CheckF(int32_t n) { return CheckFamily(store(), log(), 0, n); }
  Ids Couple(int32_t f) { return {family(0, f).husband, family(0, f).wife}; }
  static Ids Of(const RefList& list) { return Ids(list.begin(), list.end()); }
  Ids Fams(int32_t p) { return Of(person(0, p).spouseFamilies); }
  Ids Famc(int32_t p) { return Of(person(0, p).parentFamilies); }
  Ids Children(int32_t f) { return Of(family(0, f).children); }
};

TEST_F(Checks, MissingBackLinksAreAddedOnce) {
  PutPerson(0, 1, {"Hans", "Alt"});
  PutPerson(0, 2, {"Eva", "Alt", 0, 0, 'F'});
  PutPerson(0, 3, {"Kurt", "Alt"}).parentFamilies = {7};
  PutFamily(0, 6, 1, 2, {3});
  PutFamily(0, 7, 1, 0);  // does not list its child 3
  EXPECT_EQ(CheckP(3), 1);
  EXPECT_EQ(CheckF(6), 3);
  for (int32_t p : {1, 2}) EXPECT_EQ(Fams(p), Ids{6}) << p;
  EXPECT_EQ(Famc(3), (Ids{7, 6}));
  EXPECT_EQ(Children(7), Ids{3});
  EXPECT_EQ(CheckP(3) + CheckF(6), 0);
}

// A wrong FAMS is completed when the family has room for the person's sex,
// else the person drops it.
TEST_F(Checks, WrongSpouseFamilyIsCompletedOrDropped) {
  PutPerson(0, 6, {"Otto", "Lang"});
  PutPerson(0, 7, {"Eva", "Lang", 0, 0, 'F'});
  const struct {
    char sex;
    int32_t husband, wife;
    Ids couple;
    Ids fams;
  } cases[] = {
      {'M', 0, 7, {2, 7}, {4}}, {'M', 6, 7, {6, 7}, {}}, {'F', 6, 0, {6, 2}, {4}},
      {'F', 6, 7, {6, 7}, {}},  {'U', 0, 0, {0, 0}, {}}, {'m', 0, 0, {0, 0}, {}},
  };
  for (const auto& c : cases) {
    PutPerson(0, 2, {"Karl", "Kurz", 0, 0, c.sex}).spouseFamilies = {4};
    PutFamily(0, 4, c.husband, c.wife);
    EXPECT_EQ(CheckP(2), 1) << c.sex;
    EXPECT_EQ(Couple(4), c.couple) << c.sex;
    EXPECT_EQ(Fams(2), c.fams) << c.sex;
  }
}

// After a removal the walk moves on, so the child that moved up into the
// freed place is not examined in this run; only neighbours are duplicates.
TEST_F(Checks, ChildrenWalkPassesOverTheEntryThatMovesUp) {
  const struct {
    Ids children;
    int count;
    Ids after;
    bool lateChildExamined;  // whether child 3 got its FAMC
  } cases[] = {
      {{1, 1, 3}, 1, {1, 3}, false},
      {{1, 3, 1}, 1, {1, 3, 1}, true},
      {{8, 3}, 1, {3}, false},  // 8 is absent
      {{8, 8, 3}, 2, {8, 3}, true},
  };
  PutPerson(0, 1, {"Eins"}).parentFamilies = {2};
  PutPerson(0, 3, {"Drei"});
  for (const auto& c : cases) {
    PutFamily(0, 2, 0, 0, c.children);
    person(0, 3).parentFamilies = {};
    EXPECT_EQ(CheckF(2), c.count) << ::testing::PrintToString(c.children);
    EXPECT_EQ(Children(2), c.after);
    EXPECT_EQ(Famc(3), c.lateChildExamined ? Ids{2} : Ids{});
  }
}

// The import never stores a family twice in one list; should a list hold
// one twice, the second goes. An absent family between them is removed and
// does not count as the one before.
TEST_F(Checks, RepeatedFamiliesOfAPersonAreDropped) {
  PutFamily(0, 4, 3, 0, {3});
  PutFamily(0, 5, 0, 0, {3});
  Person& p = PutPerson(0, 3, {"Karl", "Kurz"});
  p.spouseFamilies = {4, 4, 9};
  p.parentFamilies = {4, 9, 5, 4};
  EXPECT_EQ(CheckP(3), 3);
  EXPECT_EQ(Fams(3), (Ids{4, 9}));  // 9 moved up after the removal: passed over
  EXPECT_EQ(Famc(3), (Ids{5, 4}));
  EXPECT_EQ(LogText(),
            "\r\n### Person 3 hat doppelte FAMS 4 "
            "\r\n### Person 3 hat gel\xF6schte FAMC 9     3 Karl Kurz \n"
            "\r\n### Person 3 hat doppelte FAMC 4      3 Karl Kurz \n");
}

// A record deleted while present ones still name it: the links go on both
// sides, the deleted record's own fields stay. Entry 0 is no record at all.
TEST_F(Checks, DeletedRecordsAreWithdrawnFromPresentOnes) {
  person(0, 0).spouseFamilies = {8};
  PutPerson(0, 1, {"Hans", "Alt"}).spouseFamilies = {5};
  PutPerson(0, 2, {"Eva", "Alt", 0, 0, 'F'}).spouseFamilies = {5};
  PutPerson(0, 3, {"Kurt", "Alt"}).parentFamilies = {5};
  PutPerson(0, 4, {"Lena", "Alt", 0, 0, 'F'});  // does not name the family back
  PutFamily(0, 5, 1, 2, {3, 4, 6}).number = 0;
  Person& gone = person(0, 7);
  gone.spouseFamilies = {1, 9, 8, 10};  // 1 is absent: passed over silently
  gone.parentFamilies = {3};
  PutFamily(0, 3, 0, 0, {7, 6});
  PutFamily(0, 8, 7, 0);
  PutFamily(0, 9, 0, 7);
  PutFamily(0, 10, 7, 0);
  PutFamily(0, 11, 4, 2).number = 0;  // its couple does not name it: nothing to withdraw
  EXPECT_EQ(CheckP(0) + CheckF(0) + CheckF(11), 0);
  EXPECT_EQ(CheckF(5), 3);
  EXPECT_EQ(CheckP(7), 3);
  EXPECT_EQ(LogText(),
            "\r\n### Fam 5 gel\xF6scht, aber referenziert durch ungel\xF6schten HUSB 1 "
            "\r\n### Fam 5 gel\xF6scht, aber referenziert durch ungel\xF6schte WIFE 2 "
            "\r\n### Fam 5 gel\xF6scht, aber referenziert durch ungel\xF6schtes CHIL 3 "
            "\n### Person 7 gel\xF6scht, aber FAMS 9 ungel\xF6scht     7 \n"
            "\n### Person 7 gel\xF6scht, aber FAMS 10 ungel\xF6scht     7 \n"
            "\r\n### Person 7 gel\xF6scht, aber FAMC 3 ungel\xF6scht     7 \n");
  for (const Ids& links : {Fams(1), Fams(2), Famc(3)}) EXPECT_EQ(links, Ids{});
  EXPECT_EQ(Couple(5), (Ids{1, 2}));
  EXPECT_EQ(Children(5), (Ids{3, 4, 6}));
  for (int32_t f : {9, 10}) EXPECT_EQ(Couple(f), (Ids{0, 0})) << f;
  EXPECT_EQ(Couple(8), (Ids{7, 0}));  // moved up after 9 went: passed over
  EXPECT_EQ(Fams(7), (Ids{1, 8}));
  EXPECT_EQ(Children(3), Ids{6});
}

}  // namespace
}  // namespace kw::test
