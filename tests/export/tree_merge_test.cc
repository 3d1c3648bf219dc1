// The merge of two re-read records, with the cases worked out by hand:
// lines paired by position, missing tags inserted, longer texts taken over,
// subordinate lists merged or adopted.
#include <gtest/gtest.h>

#include "export/tree_merge.h"
#include "export/tree_support.h"

namespace kw::test {
namespace {

class TreeMergeTest : public ::testing::Test {
 protected:
  LineNode* A(const std::string& lines) { return r_.Read(lines, 0); }
  LineNode* B(const std::string& lines) { return r_.Read(lines, 1); }
  void Merge(LineNode* a, LineNode* b) { MergeRecordTrees(a, b, r_.arena); }
  TreeReader r_;
};

TEST_F(TreeMergeTest, SameTagsTakeTheLongerTextAndMergeSubordinates) {
  LineNode* a = A("1 NAME Anna /Huber/\n1 SEX F\n1 BIRT\n2 DATE 1900\n2 PLAC Wien\n");
  LineNode* b = B("1 NAME Anna Maria /Huber/\n1 SEX W\n1 BIRT Y\n2 DATE 12 MAR 1900\n");
  Merge(a, b);
  EXPECT_EQ(Shape(a), "NAME SEX BIRT[DATE PLAC]");
  EXPECT_EQ(LineOf(a), "1 NAME Anna Maria /Huber/");
  EXPECT_EQ(a->text->slot, 1);
  EXPECT_EQ(LineOf(a->next), "1 SEX F");  // equal lengths keep A's
  EXPECT_EQ(LineOf(a->next->next), "1 BIRT Y");
  EXPECT_EQ(LineOf(a->next->next->firstSub), "2 DATE 12 MAR 1900");
  EXPECT_EQ(LineOf(a->next->next->firstSub->next), "2 PLAC Wien");
}

TEST_F(TreeMergeTest, ALineWithoutSubordinatesAdoptsBsList) {
  LineNode* a = A("1 NAME Anna /Huber/\n1 BIRT\n");
  LineNode* b = B("1 NAME Anna /Huber/\n1 BIRT\n2 DATE 1900\n2 PLAC Wien\n");
  Merge(a, b);
  EXPECT_EQ(Shape(a), "NAME BIRT[DATE PLAC]");
  EXPECT_EQ(a->next->firstSub, b->next->firstSub);  // shared, not copied
}

TEST_F(TreeMergeTest, TagsMissingInAAreInsertedWhereTheWalkMeetsThem) {
  LineNode* a = A("1 NAME A /B/\n1 SEX M\n1 FAMS @F1@\n");
  LineNode* b = B("1 NAME A /B/\n1 SEX M\n1 BIRT\n2 DATE 1900\n1 DEAT\n");
  Merge(a, b);
  EXPECT_EQ(Shape(a), "NAME SEX FAMS BIRT[DATE] DEAT");
  EXPECT_EQ(a->next->next->next->firstSub, b->next->next->firstSub);
}

TEST_F(TreeMergeTest, LinesOfBBeyondTheEndOfAAreNotLookedAt) {
  LineNode* a = A("1 NAME A /B/\n1 SEX M\n");
  LineNode* b = B("1 NAME A /B/\n1 SEX M\n1 BIRT\n");
  Merge(a, b);
  EXPECT_EQ(Shape(a), "NAME SEX");
}

TEST_F(TreeMergeTest, TheWalkOfBStaysOnItsLastLine) {
  LineNode* a = A("1 NAME A /B/\n1 SEX M\n1 BIRT\n");
  LineNode* b = B("1 NAME A /B/\n1 BIRT in Wien\n");
  Merge(a, b);
  EXPECT_EQ(Shape(a), "NAME SEX BIRT");
  EXPECT_EQ(LineOf(a->next->next), "1 BIRT in Wien");
}

TEST_F(TreeMergeTest, ALineMeetingAnotherTagSearchesItsTagInB) {
  LineNode* a = A("1 NAME A /B/\n1 BIRT\n1 SEX M\n");
  LineNode* b = B("1 NAME A /B/\n1 SEX M\n1 BIRT\n2 DATE 1900\n2 PLAC Wien\n");
  Merge(a, b);
  EXPECT_EQ(Shape(a), "NAME BIRT[DATE PLAC] SEX");
}

TEST_F(TreeMergeTest, NotesOfBAreNotMergedButInsertedWhenANeverHasOne) {
  LineNode* a = A("1 NAME A /B/\n1 NOTE short\n");
  LineNode* b = B("1 NAME A /B/\n1 NOTE a much longer note\n");
  Merge(a, b);
  EXPECT_EQ(LineOf(a->next), "1 NOTE short");

  LineNode* a2 = A("1 NAME A /B/\n1 SEX M\n");
  LineNode* b2 = B("1 NAME A /B/\n1 NOTE @N3@\n");
  Merge(a2, b2);
  EXPECT_EQ(Shape(a2), "NAME SEX NOTE");  // inserted after the line it met
  EXPECT_EQ(a2->next->next->text->slot, 1);  // renumbered later by input file 2's numbering
}

TEST_F(TreeMergeTest, LinksOfBAreNeverInserted) {
  LineNode* a = A("1 NAME A /B/\n1 SEX M\n1 BIRT\n");
  LineNode* b = B("1 NAME A /B/\n1 FAMC @F2@\n1 FAMS @F3@\n1 CHIL @I4@\n");
  Merge(a, b);
  EXPECT_EQ(Shape(a), "NAME SEX BIRT");
}

TEST_F(TreeMergeTest, RefnKeepsItsText) {
  LineNode* a = A("1 REFN 1\n");
  LineNode* b = B("1 REFN 12345\n");
  Merge(a, b);
  EXPECT_EQ(LineOf(a), "1 REFN 1");
}

TEST_F(TreeMergeTest, AnEmptyRecordReceivesCopiesOfBsLines) {
  LineNode* a = A("");
  LineNode* b = B("1 NAME A /B/\n1 SEX M\n2 X y\n");
  Merge(a, b);
  EXPECT_EQ(Shape(a), "- NAME SEX[X]");
}

TEST_F(TreeMergeTest, LengthCountsCharactersNotBytes) {
  // "Köln" in UTF-8 has five bytes but four characters: B's "Koeln" is longer.
  LineNode* a = r_.Read("1 PLAC K\xC3\xB6ln\n", 0, kEncodingUtf8);
  LineNode* b = B("1 PLAC Koeln\n");
  Merge(a, b);
  EXPECT_EQ(LineOf(a), "1 PLAC Koeln");
}

TEST_F(TreeMergeTest, FindTagSearchesDepthFirstAndNeverFindsZero) {
  LineNode* a = A("1 NAME A /B/\n2 SOUR @S1@\n1 BIRT\n2 SOUR @S2@\n1 SOUR @S3@\n");
  EXPECT_EQ(LineOf(FindTag(TagCode("SOUR"), a)), "2 SOUR @S1@");
  EXPECT_EQ(FindTag(TagCode("DEAT"), a), nullptr);
  EXPECT_EQ(FindTag(0, A("")), nullptr);
}

TEST_F(TreeMergeTest, InsertCopyAfterSharesTextAndSubordinates) {
  LineNode* a = A("1 NAME A /B/\n1 SEX M\n");
  LineNode* b = B("1 BIRT\n2 DATE 1900\n");
  LineNode* copy = InsertCopyAfter(a, b, r_.arena);
  EXPECT_EQ(copy->text, b->text);
  EXPECT_EQ(copy->firstSub, b->firstSub);
  EXPECT_EQ(Shape(a), "NAME BIRT[DATE] SEX");
  EXPECT_EQ(InsertCopyAfter(a, A(""), r_.arena), a);  // an empty node inserts nothing
}

}  // namespace
}  // namespace kw::test
