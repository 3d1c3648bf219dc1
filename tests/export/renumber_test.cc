// Renumbering: persons and families of input file 2 taken into slot 0, and
// re-read records written with the output's numbering.
#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>

#include "base/merge_log.h"
#include "export/renumber.h"
#include "export/tree_support.h"
#include "store/store.h"
#include "support/recording_reporter.h"
#include "support/test_files.h"

namespace kw::test {
namespace {

class RenumberTest : public ::testing::Test {
 protected:
  RenumberTest() {
    store_->slots[0].filePath = dir_.File("in1.ged");
    PrepareSlot(store_->slots[0]);
    PrepareSlot(store_->slots[1]);
    output_.Open(dir_.File("out.ged"), kEncodingPlain);
  }

  Person& AddPerson(int slot, int n, const char* given = "Anna", const char* surname = "Huber") {
    InputSlot& s = store_->slots[slot];
    Person& p = s.persons[n];
    p.number = n;
    p.givenNames = given;
    p.surname = surname;
    if (s.personEnd <= n) s.personEnd = n + 1;
    return p;
  }
  Family& AddFamily(int slot, int n, int husband, int wife, std::initializer_list<int32_t> children) {
    InputSlot& s = store_->slots[slot];
    Family& f = s.families[n];
    f.number = n;
    f.husband = husband;
    f.wife = wife;
    f.children.entries.assign(children.begin(), children.end());
    if (s.familyEnd <= n) s.familyEnd = n + 1;
    return f;
  }
  void Match(int p0, int p1) {
    store_->slots[0].persons[p0].partner = p1;
    store_->slots[1].persons[p1].partner = p0;
  }
  std::string Output() {
    output_.Close();
    return ReadFile(dir_.File("out.ged"));
  }
  std::string LogText() { return ReadFile(log_.path()); }
  InputSlot& slot(int n) { return store_->slots[n]; }

  TempDir dir_;
  std::unique_ptr<Store> store_ = std::make_unique<Store>();
  RecordingReporter reporter_;
  MergeLog log_{store_->slots[0].filePath, reporter_};
  GedcomOutput output_;
  Renumbering renumbering_{*store_, log_, reporter_, output_};
  TreeReader trees_;
};

// ---------------------------------------------------------------------------
// WriteRecordTree

TEST_F(RenumberTest, FamilyLinksComeFromSlotZeroOnceAndOtherLinesAreCopied) {
  for (int n : {1, 2, 4, 5}) AddPerson(0, n);
  AddFamily(0, 3, 1, 2, {4, 5});
  slot(0).noteSeq[5] = 2;
  LineNode* tree = trees_.Read(
      "1 HUSB @I9@\n1 WIFE @I8@\n1 CHIL @I7@\n1 MARR\n2 DATE 1900\n1 CHIL @I6@\n"
      "1 _UID abc\n2 _X y\n3 Z z\n1 NOTE @N5@\n1 NOTE 100%s and %d\n1 HUSB @I9@\n");
  renumbering_.WriteRecordTree(tree, 3, TagCode("FAM"));
  EXPECT_EQ(Output(),
            "1 HUSB @I1@\n1 WIFE @I2@\n1 CHIL @I4@\n1 CHIL @I5@\n1 MARR\n2 DATE 1900\n"
            "1 NOTE @N2@\n1 NOTE 100%s and %d\n");
}

TEST_F(RenumberTest, FamilyLinksMissingInTheRecordFollowItsLastLine) {
  AddPerson(0, 7);
  AddPerson(0, 9);
  AddFamily(0, 3, 7, 0, {9, 12});  // 12 is absent: no line for it
  LineNode* tree = trees_.Read("1 MARR\n1 WIFE @I2@\n");
  renumbering_.WriteRecordTree(tree, 3, TagCode("FAM"));
  EXPECT_EQ(Output(), "1 MARR\n1 HUSB @I7@\n1 CHIL @I9@\n");
}

TEST_F(RenumberTest, PersonLinksAllComeAtTheFirstLinkLineUnderTheirOwnNames) {
  AddPerson(0, 5);
  for (int f : {2, 7, 8}) AddFamily(0, f, 0, 0, {});
  slot(0).familyXref[7] = "@F007@";
  slot(0).persons[5].spouseFamilies.entries = {7, 6};  // 6 is absent
  slot(0).persons[5].parentFamilies.entries = {2};
  LineNode* tree = trees_.Read("1 NAME A /B/\n1 FAMC @F2@\n1 SEX M\n1 FAMS @F7@\n1 FAMS @F6@\n");
  renumbering_.WriteRecordTree(tree, 5, TagCode("INDI"));
  EXPECT_EQ(Output(), "1 NAME A /B/\n1 FAMS @F007@\n1 FAMC @F2@\n1 SEX M\n");
}

TEST_F(RenumberTest, PersonWithoutLinksGetsNoLinkLines) {
  AddPerson(0, 5);
  renumbering_.WriteRecordTree(trees_.Read("1 NAME A /B/\n"), 5, TagCode("INDI"));
  EXPECT_EQ(Output(), "1 NAME A /B/\n");
}

TEST_F(RenumberTest, ReferencesAreRenumberedByTheInputOfEachLine) {
  slot(0).noteSeq[5] = 1;
  slot(1).noteSeq[5] = 4;
  slot(0).sourceSeq[9] = 2;
  slot(1).sourceSeq[9] = 6;
  LineNode* mine = trees_.Read("1 NOTE @N5@\n2 SOUR @S9@\n", 0);
  LineNode* theirs = trees_.Read("1 NOTE @X5@\n2 SOUR @S9@\n1 SOUR @S77@\n", 1);
  renumbering_.WriteRecordTree(mine, 1, TagCode("NOTE"));
  renumbering_.WriteRecordTree(theirs, 1, TagCode("NOTE"));
  // @S77@ was never numbered and names nothing in its input: it keeps
  // naming nothing, also when the output numbers 77 sources.
  EXPECT_EQ(Output(), "1 NOTE @N1@\n2 SOUR @S2@\n1 NOTE @N4@\n2 SOUR @S6@\n1 SOUR @S77_2@\n");
}

TEST_F(RenumberTest, CopiedLinesKeepTheirLineEndsAndGeneratedOnesEndInLf) {
  AddPerson(0, 1);
  AddFamily(0, 3, 1, 0, {});
  LineNode* tree = trees_.Read("1 MARR\r\n2 PLAC Wien\r\n1 HUSB @I1@\r\n");
  renumbering_.WriteRecordTree(tree, 3, TagCode("FAM"));
  EXPECT_EQ(Output(), "1 MARR\r\n2 PLAC Wien\r\n1 HUSB @I1@\n");
}

TEST_F(RenumberTest, UserDefinedLinesGoWithTheirSubordinates) {
  LineNode* tree = trees_.Read("1 _MARNM Huber\n2 DATE 1900\n1 BIRT\n2 _FLAG y\n3 NOTE x\n2 DATE 1850\n");
  renumbering_.WriteRecordTree(tree, 0, TagCode("INDI"));
  EXPECT_EQ(Output(), "1 BIRT\n2 DATE 1850\n");
}

// ---------------------------------------------------------------------------
// Taking records of input file 2 into slot 0

TEST_F(RenumberTest, MapPersonAddsOnceAndLogsTheAddition) {
  AddPerson(0, 10);
  AddPerson(1, 3, "Josef", "Maier");
  AddPerson(1, 4);
  Match(10, 4);
  EXPECT_EQ(renumbering_.MapPerson(0), 0);
  EXPECT_EQ(renumbering_.MapPerson(7), 0);  // absent in slot 1
  EXPECT_EQ(renumbering_.MapPerson(4), 10);
  EXPECT_EQ(renumbering_.MapPerson(3), 11);
  EXPECT_EQ(renumbering_.MapPerson(3), 11);
  EXPECT_EQ(slot(0).personEnd, 12);
  EXPECT_EQ(slot(0).persons[11].number, 11);
  EXPECT_EQ(slot(0).persons[11].partner, 3);
  EXPECT_EQ(slot(1).persons[3].partner, 11);
  EXPECT_EQ(LogText(), "     3 Josef Maier \nhinzugef\xFCgt (RIN 11)\n\n");
}

TEST_F(RenumberTest, AddFamilyMapsItsMembersAndLinksThemBothWays) {
  AddPerson(0, 20);
  for (int n : {1, 2, 3}) AddPerson(1, n);
  Match(20, 1);
  AddFamily(1, 5, 1, 2, {3, 3, 9});  // the child twice; 9 is absent
  slot(0).familyEnd = 8;
  EXPECT_EQ(renumbering_.AddFamily(5), 8);
  const Family& f = slot(0).families[8];
  EXPECT_EQ(f.partner, 5);
  EXPECT_EQ(slot(1).families[5].partner, 8);
  EXPECT_EQ(f.husband, 20);
  EXPECT_EQ(f.wife, 21);
  EXPECT_EQ(f.children.entries, (std::vector<int32_t>{22, 22}));
  EXPECT_EQ(slot(0).persons[22].parentFamilies.entries, (std::vector<int32_t>{8}));
  EXPECT_EQ(slot(0).persons[20].spouseFamilies.entries, (std::vector<int32_t>{8}));
  EXPECT_EQ(slot(0).persons[21].spouseFamilies.entries, (std::vector<int32_t>{8}));
  EXPECT_EQ(renumbering_.AddFamily(6), 0);  // absent: nothing added
  EXPECT_EQ(slot(0).familyEnd, 9);
}

TEST_F(RenumberTest, CompleteMergedFamilyBringsInTheUnmatchedMembers) {
  for (int n : {1, 2, 3}) AddPerson(0, n);
  for (int n : {1, 2, 3, 4}) AddPerson(1, n);
  AddFamily(0, 1, 1, 2, {3});
  AddFamily(1, 1, 4, 2, {3, 1});
  slot(0).families[1].partner = 1;
  slot(1).families[1].partner = 1;
  Match(2, 2);
  Match(3, 3);
  // Slot 1's person 1 is unmatched and a child there.
  renumbering_.CompleteMergedFamily(1);
  const Family& f = slot(0).families[1];
  EXPECT_EQ(f.husband, 4);  // the added husband replaces slot 0's
  EXPECT_EQ(f.wife, 2);
  EXPECT_EQ(f.children.entries, (std::vector<int32_t>{3, 5}));
  EXPECT_EQ(slot(0).persons[4].spouseFamilies.entries, (std::vector<int32_t>{1}));
  EXPECT_EQ(slot(0).persons[5].parentFamilies.entries, (std::vector<int32_t>{1}));
}

TEST_F(RenumberTest, TakeOverFamiliesGoesThroughParentThenSpouseFamilies) {
  AddPerson(0, 1);
  for (int n : {1, 2, 3, 4}) AddPerson(1, n);
  Match(1, 1);
  AddFamily(1, 7, 1, 2, {});  // spouse family
  AddFamily(1, 8, 3, 4, {1});  // parent family
  slot(1).persons[1].spouseFamilies.entries = {7};
  slot(1).persons[1].parentFamilies.entries = {9, 8};  // 9 is absent
  slot(0).familyEnd = 1;
  renumbering_.TakeOverFamilies(1);
  EXPECT_EQ(slot(0).familyEnd, 3);
  EXPECT_EQ(slot(0).families[1].partner, 8);
  EXPECT_EQ(slot(0).families[2].partner, 7);
  EXPECT_EQ(slot(0).persons[1].parentFamilies.entries, (std::vector<int32_t>{1}));
  EXPECT_EQ(slot(0).persons[1].spouseFamilies.entries, (std::vector<int32_t>{2}));
  // Parents 3 and 4 came first (2 and 3), then the spouse (4).
  EXPECT_EQ(slot(1).persons[3].partner, 2);
  EXPECT_EQ(slot(1).persons[4].partner, 3);
  EXPECT_EQ(slot(1).persons[2].partner, 4);
}

TEST_F(RenumberTest, AdditionsPastTheCapacityAreRefusedWithOneBox) {
  for (int n : {1, 2}) AddPerson(1, n);
  AddFamily(1, 1, 1, 0, {});
  AddFamily(1, 2, 2, 0, {});
  slot(0).personEnd = kPersonCapacity;
  slot(0).familyEnd = kFamilyCapacity;
  EXPECT_EQ(renumbering_.MapPerson(1), 0);
  EXPECT_EQ(renumbering_.MapPerson(2), 0);
  EXPECT_EQ(renumbering_.AddFamily(1), 0);
  EXPECT_EQ(renumbering_.AddFamily(2), 0);
  EXPECT_EQ(reporter_.errors, (std::vector<std::string>{"\r\n Ergebnis zu gro\xDF. >250000 Personen",
                                                        "\r\n Ergebnis zu gro\xDF. >100000 Familien"}));
  EXPECT_EQ(slot(0).personEnd, kPersonCapacity);
  EXPECT_EQ(slot(1).persons[1].partner, 0);
}

}  // namespace
}  // namespace kw::test
