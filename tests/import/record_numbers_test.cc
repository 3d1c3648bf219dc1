// Persons and families with any cross-reference: numbers kept, numbers
// handed out, references resolved through the same table, and the numbers
// the log shows.
#include "import/record_numbers.h"

#include <gtest/gtest.h>

#include "run/merge_run.h"
#include "support/gedcom_integrity.h"
#include "support/load_fixture.h"

namespace kw {
namespace {

using test::LoadSetup;

std::string Gedcom(const std::string& body) { return "0 HEAD\r\n" + body + "0 TRLR\r\n"; }

TEST(RecordNumbers, PlainNumbers) {
  EXPECT_EQ(PlainNumber("@I12@", 'I', kPersonCapacity), 12);
  EXPECT_EQ(PlainNumber("@I00122@", 'I', kPersonCapacity), 122);
  EXPECT_EQ(PlainNumber("@I249999@", 'I', kPersonCapacity), 249999);
  for (const char* other : {"@I0@", "@I000@", "@I250000@", "@I152733931767@", "@P12@", "@I12X@",
                            "@I@", "@I-5@",
                            "@3I@", "@FATHER@", "I12", "@I12"}) {
    EXPECT_EQ(PlainNumber(other, 'I', kPersonCapacity), -1) << other;
  }
}

TEST(RecordNumbers, OnlineServiceNumbersLoadLinkAndShowInTheLog) {
  LoadSetup s;
  s.Load(0, "a.ged",
         Gedcom("0 @I152733931767@ INDI\r\n1 NAME Anna /Huber/\r\n1 SEX F\r\n"
                "1 FAMS @F98765432101@\r\n"
                "0 @I152733931999@ INDI\r\n1 NAME Karl /Huber/\r\n1 SEX M\r\n"
                "1 FAMS @F98765432101@\r\n"
                "0 @I152733932000@ INDI\r\n1 NAME Paul /Huber/\r\n"
                "0 @F98765432101@ FAM\r\n1 HUSB @I152733931999@\r\n1 WIFE @I152733931767@\r\n"
                "1 CHIL @I152733932000@\r\n"));
  EXPECT_EQ(s.slot(0).personCount, 3);
  EXPECT_EQ(s.slot(0).familyCount, 1);
  EXPECT_TRUE(s.reporter.errors.empty());
  // No plain number kept: handed out from 1 in file order.
  EXPECT_STREQ(s.person(0, 1).givenNames, "Anna");
  EXPECT_STREQ(s.person(0, 2).givenNames, "Karl");
  EXPECT_EQ(s.family(0, 1).husband, 2);
  EXPECT_EQ(s.family(0, 1).wife, 1);
  EXPECT_EQ(s.family(0, 1).children.entries, (std::vector<int32_t>{3}));
  EXPECT_EQ(PersonXref(s.slot(0), 1), "@I152733931767@");
  EXPECT_EQ(FamilyXref(s.slot(0), 1), "@F98765432101@");
  // Paul lacks FAMC: the finding names both records by their long numbers.
  EXPECT_NE(s.LogText().find("\r\n### Kind 152733932000 ohne FAMC 98765432101 "
                             " Fam [98765432101] Karl Huber - Anna Huber "),
            std::string::npos)
      << s.LogText();
}

TEST(RecordNumbers, NamedRecordsAndMixedFormsStayApart) {
  LoadSetup s;
  s.Load(0, "a.ged",
         Gedcom("0 @P5@ INDI\r\n1 NAME Pe /Fuenf/\r\n0 @I5@ INDI\r\n1 NAME Ih /Fuenf/\r\n"
                "0 @FATHER@ INDI\r\n1 NAME Vater /Ohne/\r\n1 SEX M\r\n1 FAMS @FAMILY@\r\n"
                "0 @I7@ INDI\r\n1 NAME Sieben /Hoch/\r\n"
                "0 @FAMILY@ FAM\r\n1 HUSB @FATHER@\r\n1 CHIL @P5@\r\n1 CHIL @I8@\r\n1 CHIL @GHOST@\r\n"
                "0 @F2@ FAM\r\n1 CHIL @I6@\r\n1 CHIL @I5@\r\n"));
  // Kept: 5 and 7 (highest 7); handed: @P5@ 8, @FATHER@ 9; families: @F2@ kept, @FAMILY@ 3.
  EXPECT_STREQ(s.person(0, 5).givenNames, "Ih");
  EXPECT_STREQ(s.person(0, 8).givenNames, "Pe");
  EXPECT_STREQ(s.person(0, 9).givenNames, "Vater");
  EXPECT_EQ(s.family(0, 3).husband, 9);
  // @P5@ is person 8; @I8@ names a number handed to @P5@ and is ignored,
  // as is @GHOST@, which no record has.
  EXPECT_EQ(s.family(0, 3).children.entries, (std::vector<int32_t>{8}));
  // A plain reference to a missing record keeps its number for the checks.
  EXPECT_NE(s.LogText().find("\r\n### Fam 2 hat gel\xF6schtes CHIL 6 "), std::string::npos);
  // The log shows @P5@ as 5 (its digits) and @FAMILY@ as 3 (no digits).
  EXPECT_NE(s.LogText().find("\r\n### Kind 5 ohne FAMC 3  Fam [3] Vater Ohne "), std::string::npos)
      << s.LogText();
}

TEST(RecordNumbers, CapacityCountsRecords) {
  LoadSetup s;
  // A number far above the capacity is only a name now: one record.
  s.Load(0, "a.ged", Gedcom("0 @I300000@ INDI\r\n1 NAME Weit /Oben/\r\n0 @F100000@ FAM\r\n"
                            "1 HUSB @I300000@\r\n"));
  EXPECT_TRUE(s.reporter.errors.empty());
  EXPECT_STREQ(s.person(0, 1).surname, "Oben");
  EXPECT_EQ(s.family(0, 1).husband, 1);

  LoadSetup full;
  // Kept 249999 leaves no free number above it for @P1@.
  full.Load(0, "b.ged", Gedcom("0 @I249999@ INDI\r\n0 @P1@ INDI\r\n0 @I3@ INDI\r\n"));
  ASSERT_EQ(full.reporter.errors.size(), 1u);
  EXPECT_EQ(full.reporter.errors[0], "\r\n GED Datei zu gro\xDF. >250000 Personen");
  EXPECT_EQ(full.slot(0).personCount, 1);
}

TEST(RecordNumbers, AnOnlineExportMergesWithAPlainFile) {
  LoadSetup s;
  s.Load(0, "online.ged",
         Gedcom("0 @I152733931767@ INDI\r\n1 NAME Anna /Huber/\r\n1 SEX F\r\n1 BIRT\r\n"
                "2 DATE 1850\r\n1 FAMS @F98765432101@\r\n"
                "0 @I152733931999@ INDI\r\n1 NAME Karl /Huber/\r\n1 SEX M\r\n1 BIRT\r\n"
                "2 DATE 1848\r\n1 FAMS @F98765432101@\r\n1 OBJE\r\n2 FILE karl.jpg\r\n"
                "0 @F98765432101@ FAM\r\n1 HUSB @I152733931999@\r\n1 WIFE @I152733931767@\r\n"
                "0 @S376441372@ SOUR\r\n1 TITL Online-Stammbaum\r\n"));
  s.Load(1, "plain.ged",
         Gedcom("0 @I1@ INDI\r\n1 NAME Anna /Huber/\r\n1 SEX F\r\n1 BIRT\r\n2 DATE 1850\r\n"
                "1 FAMS @F1@\r\n0 @I2@ INDI\r\n1 NAME Karl /Huber/\r\n1 SEX M\r\n1 BIRT\r\n"
                "2 DATE 1848\r\n1 FAMS @F1@\r\n0 @I3@ INDI\r\n1 NAME Paul /Huber/\r\n"
                "1 SEX M\r\n1 BIRT\r\n2 DATE 1875\r\n1 FAMC @F1@\r\n"
                "0 @F1@ FAM\r\n1 HUSB @I2@\r\n1 WIFE @I1@\r\n1 CHIL @I3@\r\n"));
  ASSERT_EQ(StartMerge(*s.store, s.log, s.reporter, "merge.ged"), MergeOutcome::kWritten);
  std::string output = test::ReadFile(s.dir.File("merge.ged"));
  // Input file 1's records keep their names; the added son gets a new one.
  EXPECT_NE(output.find("0 @I152733931767@ INDI\n1 NAME Anna /Huber/"), std::string::npos);
  EXPECT_NE(output.find("1 HUSB @I152733931999@\n1 WIFE @I152733931767@\n1 CHIL @I3@\n"),
            std::string::npos)
      << output;
  EXPECT_NE(output.find("0 @I3@ INDI\n1 NAME Paul /Huber/"), std::string::npos) << output;
  EXPECT_NE(output.find("1 FAMC @F98765432101@"), std::string::npos);
  EXPECT_NE(output.find("0 @S376441372@ SOUR\r\n1 TITL Online-Stammbaum"), std::string::npos);
  std::vector<std::string> problems = test::IntegrityProblems(output, s.slot(0).encoding, {});
  EXPECT_TRUE(problems.empty()) << test::JoinProblems(problems);
  std::string log = test::ReadFile(s.dir.File("merge.log"));
  EXPECT_NE(log.find("152733931767 Anna Huber 1850 \n     1 Anna Huber 1850 \nverschmolzen"),
            std::string::npos)
      << log;
}

}  // namespace
}  // namespace kw
