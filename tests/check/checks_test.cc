#include "check/checks.h"

#include <gtest/gtest.h>

#include <string>

#include "support/check_fixture.h"

namespace kw {
namespace {

using CheckSlotTest = CheckFixture;
using FamilyCheckTest = CheckFixture;
using PersonCheckTest = CheckFixture;

TEST_F(CheckSlotTest, NumbersBelowOneAndAFreshSlotFindNothing) {
  EXPECT_EQ(CheckSlot(store(), log(), 0), 0);
  AddFamily(1, 0, 0);
  for (int number : {0, -1, -5}) {
    EXPECT_EQ(RunFamily(number), 0);
    EXPECT_EQ(RunPerson(number), 0);
  }
  EXPECT_EQ(LogText(), "");
}

TEST_F(CheckSlotTest, PersonsFirstThenFamiliesSummed) {
  AddPerson(1, "Hans", "Alt", 'M').spouseFamilies.entries = {1};
  AddPerson(2).parentFamilies.entries = {1};  // nameless child: deleted
  AddFamily(1, 1, 0, {2});
  EXPECT_EQ(CheckSlot(store(), log(), 0), 2);  // deletion, then the absent child
  EXPECT_EQ(LogText(),
            "\r\n### Person 2 hat keinen Namen (deleted)"
            "\r\n### Fam 1 hat gel\xF6schtes CHIL 2  Fam [1] Hans Alt ");
  EXPECT_EQ(Entries(family(1).children), Ids{});
}

TEST_F(CheckSlotTest, UncountedFindingsSumToZero) {
  AddPerson(1, nullptr, nullptr, 'M').spouseFamilies.entries = {1};
  AddPerson(2, "Eva", "Alt", 'M').spouseFamilies.entries = {1};
  AddFamily(1, 1, 2);
  AddFamily(2, 9, 0, {3});  // absent husband: written, not counted
  EXPECT_EQ(CheckSlot(store(), log(), 0), 0);
  EXPECT_EQ(LogText(),
            "\r\n### Person 1 hat keinen Namen"
            "\r\n### Fam 1 hat WIFE 2 mit Sex 'M'  Fam [1] - Eva Alt "
            "\r\n### Fam 2 hat gel\xF6schten HUSB 9  Fam [2] ");
}

// ---- Family checks -------------------------------------------------------

TEST_F(FamilyCheckTest, DeletedFamilyIsWithdrawnFromItsPersons) {
  AddPerson(1, "Hans", "Alt", 'M').spouseFamilies.entries = {5};
  AddPerson(2, "Eva", "Alt", 'F').spouseFamilies.entries = {5};
  AddPerson(3, "Kurt", "Alt", 'M').parentFamilies.entries = {5};
  AddPerson(4, "Lena", "Alt", 'F');  // does not name the family back
  AddFamily(5, 1, 2, {3, 4, 6}).number = 0;  // absent; child 6 is absent too
  EXPECT_EQ(RunFamily(5), 3);
  EXPECT_EQ(LogText(),
            "\r\n### Fam 5 gel\xF6scht, aber referenziert durch ungel\xF6schten HUSB 1 "
            "\r\n### Fam 5 gel\xF6scht, aber referenziert durch ungel\xF6schte WIFE 2 "
            "\r\n### Fam 5 gel\xF6scht, aber referenziert durch ungel\xF6schtes CHIL 3 ");
  EXPECT_EQ(Entries(person(1).spouseFamilies), Ids{});
  EXPECT_EQ(Entries(person(2).spouseFamilies), Ids{});
  EXPECT_EQ(Entries(person(3).parentFamilies), Ids{});
  // The absent family's own fields stay.
  EXPECT_EQ(Couple(5), (Ids{1, 2}));
  EXPECT_EQ(Entries(family(5).children), (Ids{3, 4, 6}));
}

TEST_F(FamilyCheckTest, SamePersonAsHusbandAndWife) {
  AddPerson(1, "Hans", "Alt", 'M');
  AddFamily(1, 1, 1);
  EXPECT_EQ(RunFamily(1), 1);  // only P4 counts
  EXPECT_EQ(LogText(),
            "\r\n### Fam 1 hat gleiche Person 1 als HUSB und WIFE "
            "\r\n### HUSB 1 ohne FAMS 1  Fam [1] Hans Alt - Hans Alt "
            "\r\n### Fam 1 hat WIFE 1 mit Sex 'M'  Fam [1] Hans Alt - Hans Alt ");
  EXPECT_EQ(person(1).sex, 'F');
  EXPECT_EQ(Entries(person(1).spouseFamilies), Ids{1});
}

// A deleted husband ends the family's checks at once; a deleted wife ends
// them too but returns what the husband's check counted.
TEST_F(FamilyCheckTest, DeletedPartnerEndsTheChecks) {
  AddPerson(1, "Hans", "Alt", 'M');  // lacks FAMS 5: P4 counts
  AddPerson(2, "Anna", "Neu", 'F');  // lacks FAMS 3: not examined
  AddPerson(4, "Kind", "Neu", 'M');  // lacks FAMC 3 and 5: not examined
  AddFamily(3, 9, 2, {4});
  AddFamily(5, 1, 8, {4});
  EXPECT_EQ(RunFamily(3), 0);
  EXPECT_EQ(RunFamily(5), 1);
  EXPECT_EQ(LogText(),
            "\r\n### Fam 3 hat gel\xF6schten HUSB 9  Fam [3] - Anna Neu "
            "\r\n### HUSB 1 ohne FAMS 5  Fam [5] Hans Alt "
            "\r\n### Fam 5 hat gel\xF6schte WIFE 8  Fam [5] Hans Alt ");
  EXPECT_EQ(Couple(3), (Ids{0, 2}));
  EXPECT_EQ(Couple(5), (Ids{1, 0}));
  EXPECT_EQ(Entries(person(2).spouseFamilies), Ids{});
  EXPECT_EQ(Entries(person(4).parentFamilies), Ids{});
}

TEST_F(FamilyCheckTest, PartnerSexIsSetAndOnlyTheHusbandsCounts) {
  AddPerson(1).spouseFamilies.entries = {1};
  AddPerson(2).spouseFamilies.entries = {1};
  AddFamily(1, 1, 2);
  struct Case {
    char husbandSex, wifeSex;
    const char* log;
    int count;
  } cases[] = {
      // No SEX line: nothing between the quotes.
      {0, 0,
       "\r\n### Fam 1 hat HUSB 1 mit Sex ''  Fam [1] "
       "\r\n### Fam 1 hat WIFE 2 mit Sex ''  Fam [1] ",
       1},
      {'F', 'M',
       "\r\n### Fam 1 hat HUSB 1 mit Sex 'F'  Fam [1] "
       "\r\n### Fam 1 hat WIFE 2 mit Sex 'M'  Fam [1] ",
       1},
      {'m', 'U',
       "\r\n### Fam 1 hat HUSB 1 mit Sex 'm'  Fam [1] "
       "\r\n### Fam 1 hat WIFE 2 mit Sex 'U'  Fam [1] ",
       1},
      {'M', 'f', "\r\n### Fam 1 hat WIFE 2 mit Sex 'f'  Fam [1] ", 0},
      {'M', 'F', "", 0},
  };
  for (const Case& c : cases) {
    person(1).sex = c.husbandSex;
    person(2).sex = c.wifeSex;
    EXPECT_EQ(RunFamily(1), c.count) << c.log;
    EXPECT_EQ(NewLog(), c.log);
    EXPECT_EQ(person(1).sex, 'M');
    EXPECT_EQ(person(2).sex, 'F');
  }
  EXPECT_EQ(LogText().find('\0'), std::string::npos);
}

TEST_F(FamilyCheckTest, MissingPartnerAndChildLinksAreAdded) {
  AddPerson(1, "Hans", "Alt", 'M');
  AddPerson(2, "Eva", "Alt", 'F');
  AddPerson(3, "Kurt", "Alt", 'M');
  AddFamily(6, 1, 2, {3});
  EXPECT_EQ(RunFamily(6), 3);
  EXPECT_EQ(LogText(),
            "\r\n### HUSB 1 ohne FAMS 6  Fam [6] Hans Alt - Eva Alt "
            "\r\n### WIFE 2 ohne FAMS 6  Fam [6] Hans Alt - Eva Alt "
            "\r\n### Kind 3 ohne FAMC 6  Fam [6] Hans Alt - Eva Alt ");
  EXPECT_EQ(Entries(person(1).spouseFamilies), Ids{6});
  EXPECT_EQ(Entries(person(2).spouseFamilies), Ids{6});
  EXPECT_EQ(Entries(person(3).parentFamilies), Ids{6});
  EXPECT_EQ(RunFamily(6), 0);  // a second run finds nothing
}

TEST_F(FamilyCheckTest, EmptyFamilyIsDeletedButItsChildStillExamined) {
  AddPerson(9, "Kind", "Los");
  AddFamily(4, 0, 0, {9});
  AddFamily(5, 0, 0);
  AddPerson(10, "A").parentFamilies.entries = {7};
  AddPerson(11, "B").parentFamilies.entries = {7};
  AddFamily(7, 0, 0, {10, 11});  // two children: the family stays
  EXPECT_EQ(RunFamily(4), 2);
  EXPECT_EQ(RunFamily(5), 1);
  EXPECT_EQ(RunFamily(7), 0);
  EXPECT_EQ(LogText(),
            "\r\n### Leere FAM 4 (gel\xF6scht)"
            "\r\n### Kind 9 ohne FAMC 4  Fam [4] "
            "\r\n### Leere FAM 5 (gel\xF6scht)");
  EXPECT_EQ(family(4).number, 0);
  EXPECT_EQ(family(5).number, 0);
  EXPECT_EQ(family(7).number, 7);
  EXPECT_EQ(Entries(person(9).parentFamilies), Ids{4});
}

TEST_F(FamilyCheckTest, ChildrenWalkPassesOverTheEntryThatMovesUp) {
  struct Case {
    Ids children;
    int count;
    const char* log;
    Ids after;
    bool lateChildExamined;  // whether child 3 got its FAMC
  } cases[] = {
      // [a, a, b]: the first a goes, b moves into the passed position.
      {{1, 1, 3}, 1, "\r\n### Fam 2 hat doppeltes CHIL 1  Fam [2] ", {1, 3}, false},
      // [a, b, a]: only neighbours are duplicates.
      {{1, 3, 1}, 1, "\r\n### Kind 3 ohne FAMC 2  Fam [2] ", {1, 3, 1}, true},
      // An absent child goes, and the one after it is passed over.
      {{8, 3}, 1, "\r\n### Fam 2 hat gel\xF6schtes CHIL 8  Fam [2] ", {3}, false},
      // Two absent neighbours: the second moves up and is passed over.
      {{8, 8, 3}, 2,
       "\r\n### Fam 2 hat gel\xF6schtes CHIL 8  Fam [2] "
       "\r\n### Kind 3 ohne FAMC 2  Fam [2] ",
       {8, 3}, true},
  };
  AddPerson(1, "Eins").parentFamilies.entries = {2};
  AddPerson(3, "Drei");
  for (const Case& c : cases) {
    AddFamily(2, 0, 0).children.entries = c.children;
    person(3).parentFamilies.entries.clear();
    EXPECT_EQ(RunFamily(2), c.count) << c.log;
    EXPECT_EQ(NewLog(), c.log);
    EXPECT_EQ(Entries(family(2).children), c.after) << c.log;
    EXPECT_EQ(HasRef(person(3).parentFamilies, 2), c.lateChildExamined ? 1 : 0) << c.log;
  }
}

TEST_F(FamilyCheckTest, ListsGrowPastTheOldLimit) {
  AddPerson(1, "Hans", "Alt", 'M');
  Family& f = AddFamily(1, 1, 0);
  for (int32_t k = 2; k < 202; ++k) {
    AddPerson(k, "K").parentFamilies.entries = {1};
    AddRef(f.children, k);
    AddRef(person(1).spouseFamilies, k);
  }
  EXPECT_EQ(RunFamily(1), 1);  // P4 appends the 201st
  EXPECT_EQ(person(1).spouseFamilies.count(), 201);
  EXPECT_EQ(person(1).spouseFamilies.entries.back(), 1);
}

// ---- Person checks -------------------------------------------------------

// Person 5 stands in its families' lists; person 7 shows that the walk
// passes over the family that moves up after a removal.
TEST_F(PersonCheckTest, DeletedPersonIsWithdrawnFromPresentFamilies) {
  person(5).spouseFamilies.entries = {1, 2};
  person(5).parentFamilies.entries = {3};
  AddFamily(1, 0, 5);
  AddFamily(3, 0, 0, {5, 6});  // family 2 is absent: passed over silently
  person(7).spouseFamilies.entries = {8, 9};
  AddFamily(8, 7, 0);
  AddFamily(9, 7, 0);
  slot().personEnd = 8;
  EXPECT_EQ(RunPerson(5), 2);
  EXPECT_EQ(RunPerson(7), 1);
  EXPECT_EQ(LogText(),
            "\n### Person 5 gel\xF6scht, aber FAMS 1 ungel\xF6scht     5 \n"
            "\r\n### Person 5 gel\xF6scht, aber FAMC 3 ungel\xF6scht     5 \n"
            "\n### Person 7 gel\xF6scht, aber FAMS 8 ungel\xF6scht     7 \n");
  EXPECT_EQ(family(1).wife, 0);
  EXPECT_EQ(Entries(person(5).spouseFamilies), Ids{2});
  EXPECT_EQ(Entries(person(5).parentFamilies), Ids{});
  EXPECT_EQ(Entries(family(3).children), Ids{6});
  EXPECT_EQ(family(8).husband, 0);
  EXPECT_EQ(family(9).husband, 7);  // moved into position 0 after it was passed
  EXPECT_EQ(Entries(person(7).spouseFamilies), Ids{9});
}

// Only a nameless child is deleted, and its lists are not examined; a
// nameless partner or loner is written but neither counted nor deleted.
TEST_F(PersonCheckTest, NamelessPersons) {
  AddPerson(6).parentFamilies.entries = {7};  // family 7 absent: no C1 either
  AddPerson(3, nullptr, nullptr, 'M').spouseFamilies.entries = {1};
  AddPerson(4);
  AddPerson(5, "", nullptr).parentFamilies.entries = {1};  // an empty text is a name
  AddFamily(1, 3, 0, {5});
  EXPECT_EQ(RunPerson(6), 1);
  EXPECT_EQ(RunPerson(3), 0);
  EXPECT_EQ(RunPerson(4), 0);
  EXPECT_EQ(RunPerson(5), 0);
  EXPECT_EQ(LogText(),
            "\r\n### Person 6 hat keinen Namen (deleted)"
            "\r\n### Person 3 hat keinen Namen\r\n### Person 4 hat keinen Namen");
  EXPECT_EQ(person(6).number, 0);
  EXPECT_EQ(Entries(person(6).parentFamilies), Ids{7});
  EXPECT_EQ(person(3).number, 3);
  EXPECT_EQ(person(4).number, 4);
  EXPECT_EQ(person(5).number, 5);
}

// Each removal passes over the entry that moves up into its place.
TEST_F(PersonCheckTest, DeletedAndDuplicateSpouseFamiliesAreDropped) {
  AddPerson(2, "Karl", "Kurz", 'M').spouseFamilies.entries = {9, 8};
  AddPerson(3, "Karl", "Kurz", 'M').spouseFamilies.entries = {4, 4, 9};
  AddFamily(4, 3, 0);
  EXPECT_EQ(RunPerson(2), 1);
  EXPECT_EQ(RunPerson(3), 1);
  EXPECT_EQ(LogText(),
            "\r\n### Person 2 hat gel\xF6schte FAMS 9     2 Karl Kurz \n"
            "\r\n### Person 3 hat doppelte FAMS 4 ");  // no description
  EXPECT_EQ(Entries(person(2).spouseFamilies), Ids{8});
  EXPECT_EQ(Entries(person(3).spouseFamilies), (Ids{4, 9}));
}

TEST_F(PersonCheckTest, WrongSpouseFamilyIsCompletedOrDropped) {
  AddPerson(6, "Otto", "Lang", 'M');
  AddPerson(7, "Eva", "Lang", 'F');
  struct Case {
    char sex;
    int32_t husband, wife;
    Ids after;
    bool kept;
    const char* family;  // the description, written before the repair
  } cases[] = {
      {'M', 0, 7, {2, 7}, true, " Fam [4] - Eva Lang "},
      {'M', 6, 7, {6, 7}, false, " Fam [4] Otto Lang - Eva Lang "},
      {'F', 6, 0, {6, 2}, true, " Fam [4] Otto Lang "},
      {'F', 6, 7, {6, 7}, false, " Fam [4] Otto Lang - Eva Lang "},
      {'U', 0, 0, {0, 0}, false, " Fam [4] "},
      {'m', 0, 0, {0, 0}, false, " Fam [4] "},
  };
  for (const Case& c : cases) {
    AddPerson(2, "Karl", "Kurz", c.sex).spouseFamilies.entries = {4};
    AddFamily(4, c.husband, c.wife);
    EXPECT_EQ(RunPerson(2), 1) << c.sex;
    EXPECT_EQ(NewLog(),
              std::string("\r\n### Person 2 hat falsche FAMS 4      2 Karl Kurz \n") + c.family);
    EXPECT_EQ(Couple(4), c.after) << c.sex;
    EXPECT_EQ(HasRef(person(2).spouseFamilies, 4), c.kept ? 1 : 0) << c.sex;
  }
}

TEST_F(PersonCheckTest, ParentFamilyDeletedOrLackingTheChild) {
  AddPerson(2, "Karl", "Kurz").parentFamilies.entries = {6, 7};
  family(6).children.entries = {1, 2};  // absent family that still lists the child
  AddPerson(3, "Karl", "Kurz").parentFamilies.entries = {4};
  AddFamily(4, 0, 0, {1});
  EXPECT_EQ(RunPerson(2), 1);
  EXPECT_EQ(RunPerson(3), 1);
  EXPECT_EQ(LogText(),
            "\r\n### Person 2 hat gel\xF6schte FAMC 6     2 Karl Kurz \n"
            "\r\n### Person 3 (FAMC 4) als Kind hinzugef\xFCgt     3 Karl Kurz \n");
  EXPECT_EQ(Entries(person(2).parentFamilies), Ids{7});  // 7 moved up and was passed
  EXPECT_EQ(Entries(family(6).children), Ids{1});
  EXPECT_EQ(Entries(family(4).children), (Ids{1, 3}));
}

TEST_F(PersonCheckTest, DeletedParentsAreRemovedOnce) {
  AddPerson(2, "Karl", "Kurz").parentFamilies.entries = {4};
  AddPerson(3, "Rita", "Kurz").parentFamilies.entries = {4};
  person(10).spouseFamilies.entries = {4, 5};  // absent father
  person(11).spouseFamilies.entries = {4};     // absent mother
  AddFamily(4, 10, 11, {2, 3});
  EXPECT_EQ(RunPerson(2), 2);
  EXPECT_EQ(RunPerson(3), 0);
  EXPECT_EQ(LogText(),
            "\r\n### Person 2 hat gel\xF6schten Vater 10      2 Karl Kurz \n"
            "\r\n### Person 2 hat gel\xF6schte Mutter 11      2 Karl Kurz \n");
  EXPECT_EQ(Couple(4), (Ids{0, 0}));
  EXPECT_EQ(Entries(person(10).spouseFamilies), Ids{5});
  EXPECT_EQ(Entries(person(11).spouseFamilies), Ids{});
}

TEST_F(PersonCheckTest, DuplicateParentFamilyAndTheDeletedFamilyInBetween) {
  AddFamily(4, 0, 0, {2});
  AddFamily(5, 0, 0, {2});
  AddPerson(2, "Karl", "Kurz").parentFamilies.entries = {4, 4};
  EXPECT_EQ(RunPerson(2), 1);
  EXPECT_EQ(NewLog(), "\r\n### Person 2 hat doppelte FAMC 4      2 Karl Kurz \n");
  EXPECT_EQ(Entries(person(2).parentFamilies), Ids{4});
  // An absent family does not become the previous one: 4 after it is still
  // the duplicate of the 4 before it.
  person(2).parentFamilies.entries = {4, 9, 5, 4};
  EXPECT_EQ(RunPerson(2), 2);
  EXPECT_EQ(NewLog(),
            "\r\n### Person 2 hat gel\xF6schte FAMC 9     2 Karl Kurz \n"
            "\r\n### Person 2 hat doppelte FAMC 4      2 Karl Kurz \n");
  EXPECT_EQ(Entries(person(2).parentFamilies), (Ids{5, 4}));
}

}  // namespace
}  // namespace kw
