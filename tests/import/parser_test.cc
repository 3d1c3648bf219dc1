// The record parser, through the whole load of a small file: what lands in
// the slot, what is skipped, and where each record's text starts.
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

std::string Text(const char* text) { return text == nullptr ? "<null>" : text; }

TEST(ParserNames, GivenNamesAndSurname) {
  LoadSetup s;
  s.Load(0, "a.ged",
         Gedcom("0 @I7@ INDI\r\n1 NAME Anna Maria /Huber/\r\n"
                "0 @I8@ INDI\r\n1 NAME Anna\r\n"
                "0 @I9@ INDI\r\n1 NAME /Huber/\r\n"
                "0 @I10@ INDI\r\n1 NAME Anna /Huber\r\n"
                "0 @I11@ INDI\r\n1 NAME  Karl   /M\xFCller/ jun.\r\n1 NAME Karl Otto /Meier/\r\n"));
  EXPECT_EQ(Text(s.person(0, 7).givenNames), "Anna Maria");
  EXPECT_EQ(Text(s.person(0, 7).surname), "Huber");
  EXPECT_EQ(s.person(0, 8).givenNames, nullptr);  // no slash: nothing stored
  EXPECT_EQ(s.person(0, 8).surname, nullptr);
  EXPECT_EQ(Text(s.person(0, 9).givenNames), "");
  EXPECT_EQ(Text(s.person(0, 9).surname), "Huber");
  EXPECT_EQ(Text(s.person(0, 10).surname), "Huber");
  EXPECT_EQ(Text(s.person(0, 11).givenNames), "Karl Otto");  // a later NAME replaces
  EXPECT_EQ(Text(s.person(0, 11).surname), "Meier");
}

TEST(ParserNames, IndentedLinesAndTwoDigitLevelsKeepTheirValues) {
  LoadSetup s;
  s.Load(0, "a.ged",
         "0 HEAD\n0 @I1@ INDI\n  1 NAME Space /Indented/\n\t1 SEX M\n1 BIRT\n   2 DATE 1 JAN 1900\n"
         "0 @I2@ INDI\n01 NAME Zwei /Stellen/\n0 TRLR\n");
  EXPECT_EQ(Text(s.person(0, 1).givenNames), "Space");
  EXPECT_EQ(Text(s.person(0, 1).surname), "Indented");
  EXPECT_EQ(s.person(0, 1).sex, 'M');
  EXPECT_EQ(DateYear(s.person(0, 1).birth), 1900);
  EXPECT_EQ(DateDay(s.person(0, 1).birth), 1);
  EXPECT_EQ(Text(s.person(0, 2).givenNames), "Zwei");
  EXPECT_EQ(Text(s.person(0, 2).surname), "Stellen");
}

TEST(ParserRecords, NumbersCountsAndEnds) {
  LoadSetup s;
  std::string body;
  for (int n = 1; n <= 10; ++n) body += "0 @I" + std::to_string(n) + "@ INDI\r\n";
  s.Load(0, "a.ged", Gedcom(body));
  EXPECT_EQ(s.slot(0).personCount, 10);
  EXPECT_EQ(s.slot(0).personEnd, 11);
  EXPECT_EQ(s.person(0, 0).number, 0);
  EXPECT_EQ(s.slot(0).sortIndex[9], 10);

  LoadSetup t;
  t.Load(0, "b.ged", Gedcom("0 @I500@ INDI\r\n0 @F3@ FAM\r\n"));
  EXPECT_EQ(t.slot(0).personCount, 1);
  EXPECT_EQ(t.slot(0).personEnd, 501);
  EXPECT_EQ(t.slot(0).familyEnd, 4);
  EXPECT_EQ(t.slot(0).familyCount, 1);
  EXPECT_EQ(t.person(0, 499).number, 0);
}

TEST(ParserRecords, KeepsCrossReferencesThatAreNotPlain) {
  LoadSetup s;
  s.Load(0, "a.ged", Gedcom("0 @I00122@ INDI\r\n0 @I7@ INDI\r\n0 @F03@ FAM\r\n1 HUSB @I00122@\r\n"
                            "0 @F4@ FAM\r\n1 HUSB @I7@\r\n"));
  EXPECT_EQ(s.person(0, 122).number, 122);
  EXPECT_EQ(PersonXref(s.slot(0), 122), "@I00122@");
  EXPECT_EQ(PersonXref(s.slot(0), 7), "@I7@");
  EXPECT_EQ(FamilyXref(s.slot(0), 3), "@F03@");
  EXPECT_EQ(FamilyXref(s.slot(0), 4), "@F4@");
  EXPECT_EQ(s.slot(0).personXref.size(), 1u);
}

TEST(ParserRecords, SkippedAndRepeatedCrossReferences) {
  LoadSetup s;
  s.Load(0, "a.ged",
         Gedcom("0 @I5@ INDI\r\n1 NAME Erst /Eins/\r\n1 BIRT\r\n2 DATE 1900\r\n"
                "0 @P1@ INDI\r\n1 NAME Fremd /Form/\r\n"
                "0 @I5@ INDI\r\n1 NAME Zweit /Zwei/\r\n1 BIRT\r\n2 DATE 1950\r\n"));
  EXPECT_EQ(s.slot(0).personCount, 3);
  EXPECT_EQ(s.slot(0).sortIndex[0], 5);
  EXPECT_EQ(s.slot(0).sortIndex[1], 6);  // @P1@: the next number above the highest kept
  EXPECT_EQ(s.slot(0).sortIndex[2], 5);
  EXPECT_EQ(Text(s.person(0, 5).surname), "Zwei");
  EXPECT_EQ(DateYear(s.person(0, 5).birth), 1900);  // dates only while no year
  EXPECT_EQ(Text(s.person(0, 6).surname), "Form");
  EXPECT_EQ(PersonXref(s.slot(0), 6), "@P1@");
  std::string file = test::ReadFile(s.dir.File("a.ged"));
  size_t second = file.find("1 NAME Zweit");
  EXPECT_EQ(s.person(0, 5).recordPos, static_cast<int64_t>(second));
}

TEST(ParserRecords, LinesOfOtherRecordsActOnNoPersonOrFamily) {
  LoadSetup s;
  s.Load(0, "a.ged",
         Gedcom("0 @I1@ INDI\r\n1 NAME Anna /Huber/\r\n1 SEX F\r\n"
                "0 @F1@ FAM\r\n1 WIFE @I1@\r\n1 NAME Falsch /Familie/\r\n1 SEX M\r\n"
                "0 @R1@ REPO\r\n1 NAME http://archiv.example/\r\n1 CHIL @I1@\r\n"
                "0 @S1@ SOUR\r\n1 TITL x\r\n1 MARR\r\n2 DATE 1900\r\n"));
  EXPECT_STREQ(s.person(0, 1).givenNames, "Anna");
  EXPECT_STREQ(s.person(0, 1).surname, "Huber");
  EXPECT_EQ(s.person(0, 1).sex, 'F');
  EXPECT_TRUE(s.family(0, 1).children.entries.empty());
  EXPECT_EQ(s.family(0, 1).marriage, 0u);
}

TEST(ParserRecords, CapacityLimitsEndTheImportButKeepWhatWasRead) {
  LoadSetup s;
  s.Load(0, "a.ged",
         Gedcom("0 @I249999@ INDI\r\n1 NAME Letzte /Person/\r\n0 @I250000@ INDI\r\n"
                "0 @I3@ INDI\r\n"));
  ASSERT_EQ(s.reporter.errors.size(), 1u);
  EXPECT_EQ(s.reporter.errors[0], "\r\n GED Datei zu gro\xDF. >250000 Personen");
  EXPECT_EQ(s.person(0, 249999).number, 249999);
  EXPECT_EQ(s.person(0, 3).number, 0);  // after the limit nothing is read
  EXPECT_NE(s.LogText().find("1 Personen 0 Familien"), std::string::npos);

  LoadSetup f;
  f.Load(0, "b.ged", Gedcom("0 @F99999@ FAM\r\n0 @F100000@ FAM\r\n"));
  ASSERT_EQ(f.reporter.errors.size(), 1u);
  EXPECT_EQ(f.reporter.errors[0], "\r\n GED Datei zu gro\xDF. >100000 Familien");
  EXPECT_EQ(f.slot(0).familyEnd, 100000);
  EXPECT_EQ(f.slot(0).familyCount, 1);
}

TEST(ParserLinks, DuplicatesAndOutOfRangeReferences) {
  LoadSetup s;
  s.Load(0, "a.ged",
         Gedcom("0 @I1@ INDI\r\n1 FAMS @F3@\r\n1 FAMS @F3@\r\n1 FAMS @F100000@\r\n"
                "1 FAMC @F-2@\r\n1 FAMC @F4@\r\n"
                "0 @I2@ INDI\r\n1 SEX F\r\n1 FAMS @F4@\r\n"
                "0 @I9@ INDI\r\n1 NAME Kind /Neun/\r\n1 FAMC @F3@\r\n"
                "0 @F3@ FAM\r\n1 HUSB @I1@\r\n1 WIFE @I250000@\r\n1 CHIL @I9@\r\n1 CHIL @I9@\r\n"
                "1 CHIL @I-1@\r\n1 CHIL @I999999@\r\n"
                "0 @F4@ FAM\r\n1 WIFE @I2@\r\n1 CHIL @I1@\r\n"));
  EXPECT_EQ(s.person(0, 1).spouseFamilies.entries, (std::vector<int32_t>{3}));
  EXPECT_EQ(s.person(0, 1).parentFamilies.entries, (std::vector<int32_t>{4}));
  EXPECT_EQ(s.family(0, 3).husband, 1);
  EXPECT_EQ(s.family(0, 3).wife, 0);
  // The import keeps duplicate children (out-of-range ones are dropped);
  // the check then removes one of the two.
  EXPECT_EQ(s.family(0, 3).children.entries, (std::vector<int32_t>{9}));
  EXPECT_NE(s.LogText().find("\r\n### Fam 3 hat doppeltes CHIL 9 "), std::string::npos);
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

TEST(ParserDates, FirstDateWithAYearWins) {
  LoadSetup s;
  s.Load(0, "a.ged",
         Gedcom("0 @I1@ INDI\r\n1 BIRT\r\n2 DATE 1 JAN 1900\r\n1 CHR\r\n2 DATE 5 JAN 1900\r\n"
                "0 @I2@ INDI\r\n1 CHR\r\n2 DATE 5 JAN 1900\r\n1 BIRT\r\n2 DATE 1 JAN 1900\r\n"
                "0 @I3@ INDI\r\n1 BIRT\r\n2 SOUR @S1@\r\n3 DATE 7 MAR 1888\r\n"
                "1 DEAT\r\n2 DATE MAY\r\n1 BURI\r\n2 DATE 12 OKT 1950\r\n"
                "0 @F1@ FAM\r\n1 MARR\r\n2 DATE 24.12.1920\r\n"
                "0 @I4@ INDI\r\n1 NOTE x\r\n2 DATE 1777\r\n"));
  EXPECT_EQ(DateDay(s.person(0, 1).birth), 1);
  EXPECT_EQ(DateDay(s.person(0, 2).birth), 5);
  EXPECT_EQ(DateYear(s.person(0, 3).birth), 1888);  // DATE under a citation in BIRT
  EXPECT_EQ(DateYear(s.person(0, 3).death), 1950);  // MAY alone had no year
  EXPECT_EQ(DateMonth(s.person(0, 3).death), 10);
  EXPECT_EQ(DateYear(s.family(0, 1).marriage), 1920);
  EXPECT_EQ(DateDay(s.family(0, 1).marriage), 24);
  EXPECT_EQ(s.person(0, 4).birth, 0u);  // no event: the DATE is ignored
  EXPECT_EQ(s.person(0, 4).death, 0u);
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

TEST(ParserNotes, RecordPositionsWhereverTheRecordStands) {
  LoadSetup s;
  std::string text = Gedcom(
      "0 @N2@ NOTE Vorher\r\n0 @I1@ INDI\r\n1 NOTE @N2@\r\n1 NOTE @N3@\r\n1 NOTE Inline Text\r\n"
      "0 @N3@ NOTE Nachher\r\n0 @N4@ NOTE Niemand\r\n0 @S1@ SOUR\r\n1 TITL Kirchenbuch\r\n"
      "0 @I2@ INDI\r\n1 SOUR @S1@\r\n");
  s.Load(0, "a.ged", text);
  int64_t afterN2 = static_cast<int64_t>(text.find("0 @I1@"));
  int64_t afterN3 = static_cast<int64_t>(text.find("0 @N4@"));
  int64_t afterS1 = static_cast<int64_t>(text.find("1 TITL"));
  EXPECT_EQ(s.slot(0).noteSeq[2], 1);
  EXPECT_EQ(s.slot(0).noteSeq[3], 2);
  EXPECT_EQ(s.slot(0).noteSeq[4], 0);  // never referenced: no number
  EXPECT_EQ(s.slot(0).noteCount, 2);
  EXPECT_EQ(s.store->notePos[1], afterN2);
  EXPECT_EQ(s.store->notePos[2], afterN3);
  EXPECT_EQ(s.store->sourcePos[1], afterS1);
}

TEST(ParserRecords, PositionsOfOtherRecordsByCrossReference) {
  LoadSetup s;
  std::string text = Gedcom(
      "0 @SUBM001@ SUBM\r\n1 NAME Ich\r\n0 @I1@ INDI\r\n1 OBJE @M31@\r\n"
      "0 @M31@ OBJE\r\n1 FILE foto.jpg\r\n0 @R1@ REPO\r\n1 NAME Archiv\r\n"
      "0 @SOURCE1@ SOUR\r\n1 TITL Ohne Nummer\r\n0 @S2@ SOUR\r\n1 TITL Mit Nummer\r\n"
      "0 @M31@ OBJE\r\n1 FILE doppelt.jpg\r\n");
  s.Load(0, "a.ged", text);
  s.Load(1, "b.ged", text);
  const InputSlot& slot = s.slot(0);
  EXPECT_EQ(slot.otherRecordPos.size(), 4u);
  EXPECT_EQ(slot.otherRecordPos.at("@M31@"), static_cast<int64_t>(text.find("1 FILE foto")));
  EXPECT_EQ(slot.otherRecordPos.at("@R1@"), static_cast<int64_t>(text.find("1 NAME Archiv")));
  EXPECT_EQ(slot.otherRecordPos.at("@SUBM001@"), static_cast<int64_t>(text.find("1 NAME Ich")));
  EXPECT_EQ(slot.otherRecordPos.at("@SOURCE1@"), static_cast<int64_t>(text.find("1 TITL Ohne")));
  EXPECT_EQ(slot.otherRecordPos.count("@S2@"), 0u);  // numbered like every source
  for (const char* name : {"@SUBM001@", "@I1@", "@M31@", "@R1@", "@SOURCE1@", "@S2@"}) {
    EXPECT_TRUE(HasRecordNamed(slot, name)) << name;
  }
  for (const char* name : {"@I2@", "@I01@", "@F1@", "@N1@", "@X@"}) {
    EXPECT_FALSE(HasRecordNamed(slot, name)) << name;
  }
  EXPECT_EQ(s.slot(1).otherRecordPos.size(), 4u);
  EXPECT_TRUE(s.slot(1).xrefs.empty());  // only input file 1's names are needed
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

TEST(ParserLines, TrailerEndsAndUnreadableLinesAreSkippedAndCounted) {
  LoadSetup s;
  std::string longLine = "1 NOTE " + std::string(1493, 'x') + "\r\n";  // 1502 bytes
  s.Load(0, "a.ged",
         "0 HEAD\r\n0 @I1@ INDI\r\n" + longLine + "Fortsetzung ohne Stufe\r\n   \r\n\r\n" +
             "1 NAME Nach /Langzeile/\r\n0 TRLR\r\n0 @I2@ INDI\r\n");
  EXPECT_EQ(Text(s.person(0, 1).surname), "Langzeile");
  EXPECT_EQ(s.person(0, 2).number, 0);  // after the trailer
  // The tail of the long line and the text line; blank lines are not counted.
  EXPECT_NE(s.LogText().find("\r\n2 Zeilen ohne Stufennummer \xFC" "bersprungen\r\n"),
            std::string::npos);

  LoadSetup clean;
  clean.Load(0, "b.ged", Gedcom("0 @I1@ INDI\r\n1 NAME A /B/\r\n"));
  EXPECT_EQ(clean.LogText().find("Zeilen ohne Stufennummer"), std::string::npos);
}

TEST(ParserLines, LastLineWithoutLineEndIsRead) {
  LoadSetup s;
  s.Load(0, "a.ged", "0 HEAD\n0 @I1@ INDI\n1 NAME Ohne /Ende/");
  EXPECT_EQ(Text(s.person(0, 1).surname), "Ende");
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
