// The record parser, through the whole load of a small file, where the
// golden cases cannot show it: long lists, note numbering across
// the two slots, and the progress. What lands in a slot is shown by the
// golden cases, which add every person of input file 2 to the output.
#include "import/parser.h"

#include <gtest/gtest.h>

#include <string>

#include "support/load_fixture.h"

namespace kw {
namespace {

using test::LoadSetup;

std::string Gedcom(const std::string& body) {
  return "0 HEAD\r\n1 CHAR ANSI\r\n" + body + "0 TRLR\r\n";
}

TEST(ParserLinks, ManyLinksAreAllKept) {
  LoadSetup s;
  std::string body = "0 @I1@ INDI\r\n1 NAME Viel /Heirat/\r\n1 SEX M\r\n";
  for (int f = 1; f <= 300; ++f) body += "1 FAMS @F" + std::to_string(f) + "@\r\n";
  for (int f = 1; f <= 300; ++f) body += "0 @F" + std::to_string(f) + "@ FAM\r\n1 HUSB @I1@\r\n";
  s.Load(0, "a.ged", Gedcom(body));
  EXPECT_EQ(s.person(0, 1).spouseFamilies.count(), 300);
  EXPECT_EQ(s.slot(0).familyCount, 300);
}

TEST(ParserNotes, SequenceNumbersRunOnIntoSlotOne) {
  LoadSetup s;
  std::string one = "0 @I1@ INDI\r\n";
  for (int n = 1; n <= 7; ++n) one += "1 NOTE @N" + std::to_string(n) + "@\r\n";
  one += "1 SOUR @S4@\r\n";
  std::string two = "0 @I1@ INDI\r\n";
  for (int n = 1; n <= 5; ++n) two += "1 NOTE @N" + std::to_string(n) + "@\r\n";
  two += "1 SOUR @S9@\r\n1 SOUR @X4@\r\n";  // @X4@ is the same source as @S4@
  s.Load(0, "a.ged", Gedcom(one));
  s.Load(1, "b.ged", Gedcom(two));
  EXPECT_EQ(s.slot(0).noteSeq[1], 1);
  EXPECT_EQ(s.slot(0).noteSeq[7], 7);
  EXPECT_EQ(s.slot(1).noteSeq[1], 8);
  EXPECT_EQ(s.slot(1).noteSeq[5], 12);
  EXPECT_EQ(s.slot(1).noteCount, 12);
  EXPECT_EQ(s.slot(1).sourceSeq[9], 2);
  EXPECT_EQ(s.slot(1).sourceSeq[4], 3);
  EXPECT_EQ(s.slot(1).sourceCount, 3);
}

TEST(ParserNotes, LargeNoteNumbersAreLeftUnnumbered) {
  LoadSetup s;
  s.Load(0, "a.ged",
         Gedcom("0 @I1@ INDI\r\n1 NOTE @N199999@\r\n1 SOUR @S376441372@\r\n0 @I2@ INDI\r\n"
                "0 @S376441372@ SOUR\r\n1 TITL Online\r\n"));
  EXPECT_EQ(s.slot(0).noteSeq[199999], 1);
  EXPECT_EQ(s.slot(0).sourceCount, 0);
  EXPECT_TRUE(s.reporter.errors.empty());  // no limit message any more
  EXPECT_EQ(s.person(0, 2).number, 2);
  EXPECT_EQ(s.slot(0).otherRecordPos.count("@S376441372@"), 1u);
}

TEST(ParserProgress, StepsAtMostOncePerHundredthAndEndsAtHundred) {
  LoadSetup s;
  std::string body;
  for (int n = 1; n <= 400; ++n) body += "0 @I" + std::to_string(n) + "@ INDI\r\n";
  s.Load(0, "a.ged", Gedcom(body));
  EXPECT_GE(s.reporter.progressSteps, 90);
  EXPECT_LE(s.reporter.progressSteps, 100);
  EXPECT_EQ(s.reporter.status[1], "100% erledigt");
  EXPECT_EQ(s.reporter.statusHistory[1], "1:1% erledigt");
}

}  // namespace
}  // namespace kw
