// Pointers of input file 2's lines in the merged output: the records they
// point at are carried over once under names input file 1 does not use,
// persons and families are named by the output, and a pointer to what the
// output does not hold is left out. Also: HUSB, WIFE and FAMC lines below
// level 1 are ordinary lines.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "export/export.h"
#include "run/merge_pass.h"
#include "support/gedcom_integrity.h"
#include "support/load_fixture.h"

namespace kw::test {
namespace {

struct CarryRun {
  LoadSetup s;
  std::string file1;
  std::string file2;

  std::string Run(const std::string& one, const std::string& two) {
    file1 = one;
    file2 = two;
    s.Load(0, "eins.ged", one);
    s.Load(1, "zwei.ged", two);
    MergePass(*s.store, s.log, s.reporter);
    std::string path = s.dir.File("merged.ged");
    EXPECT_EQ(ExportGedcom(*s.store, s.log, s.reporter, path), 1);
    return ReadFile(path);
  }
  // Pointers may name nothing only where they named nothing in an input.
  std::vector<std::string> Problems(const std::string& output) {
    std::set<std::string> allowed = UnwrittenNoteAndSourceRefs(*s.store);
    for (const std::string* input : {&file1, &file2}) {
      std::set<std::string> missing = MissingPointerTargets(*input, kEncodingPlain);
      allowed.insert(missing.begin(), missing.end());
    }
    return IntegrityProblems(output, s.slot(0).encoding, allowed);
  }
};

constexpr char kFile1Couple[] =
    "0 HEAD\n"
    "0 @I1@ INDI\n1 NAME Josef /Maier/\n1 SEX M\n1 BIRT\n2 DATE 1850\n1 FAMS @F1@\n"
    "0 @I2@ INDI\n1 NAME Maria /Maier/\n1 SEX F\n1 FAMS @F1@\n"
    "0 @F1@ FAM\n1 HUSB @I1@\n1 WIFE @I2@\n1 MARR\n2 DATE 1875\n"
    "0 TRLR\n";

TEST(CarriedRecordsTest, AddedPersonBringsItsPhotoAndPointersNameTheOutputsRecords) {
  CarryRun run;
  std::string output = run.Run(
      kFile1Couple,
      "0 HEAD\n"
      "0 @I5@ INDI\n1 NAME Josef /Maier/\n1 SEX M\n1 BIRT\n2 DATE 1850\n1 FAMS @F3@\n"
      "0 @I6@ INDI\n1 NAME Maria /Maier/\n1 SEX F\n1 FAMS @F3@\n"
      "0 @I7@ INDI\n1 NAME Peter /Maier/\n1 SEX M\n1 OBJE @M1@\n"
      "1 ASSO @I5@\n2 RELA Vater\n1 ASSO @I9@\n2 RELA Pate\n2 NOTE bei der Taufe\n"
      "1 ADOP\n2 FAMC @F3@\n3 ADOP BOTH\n1 ASSO @F8@\n2 TYPE FAM\n1 CHR\n2 DATE 1876\n"
      "1 OBJE @M1@\n1 FAMC @F3@\n"
      "0 @I9@ INDI\n1 NAME Otto /Fremd/\n1 SEX M\n1 FAMS @F8@\n"
      "0 @F3@ FAM\n1 HUSB @I5@\n1 WIFE @I6@\n1 CHIL @I7@\n"
      "1 MARR\n2 HUSB\n3 AGE 25\n2 DATE 1875\n"
      "0 @F8@ FAM\n1 HUSB @I9@\n"
      "0 @M1@ OBJE\n1 FILE peter.jpg\n1 NOTE @N4@\n"
      "0 @N4@ NOTE Konfirmation\n"
      "0 TRLR\n");
  ASSERT_EQ(run.s.person(0, 1).partner, 5);
  EXPECT_EQ(output,
            "0 HEAD\n"
            "0 @I1@ INDI\n1 NAME Josef /Maier/\n1 SEX M\n1 BIRT\n2 DATE 1850\n1 FAMS @F1@\n"
            "0 @I2@ INDI\n1 NAME Maria /Maier/\n1 SEX F\n1 FAMS @F1@\n"
            // The photo keeps its name; the father is named by the output;
            // the godfather, whom only this line reaches, and his family
            // are added as the lines name them. The adoption's family is
            // the output's matched family.
            "0 @I3@ INDI\n1 NAME Peter /Maier/\n1 SEX M\n1 OBJE @M1@\n"
            "1 ASSO @I1@\n2 RELA Vater\n1 ASSO @I4@\n2 RELA Pate\n2 NOTE bei der Taufe\n"
            "1 ADOP\n2 FAMC @F1@\n3 ADOP BOTH\n1 ASSO @F2@\n2 TYPE FAM\n1 CHR\n2 DATE 1876\n"
            "1 OBJE @M1@\n1 FAMC @F1@\n"
            "0 @I4@ INDI\n1 NAME Otto /Fremd/\n1 SEX M\n1 FAMS @F2@\n"
            // The spouses' ages at the marriage stay under the marriage.
            "0 @F1@ FAM\n1 HUSB @I1@\n1 WIFE @I2@\n1 MARR\n2 DATE 1875\n2 HUSB\n3 AGE 25\n"
            "1 CHIL @I3@\n"
            "0 @F2@ FAM\n1 HUSB @I4@\n"
            "0 @N1@ NOTE Konfirmation\n"
            // Pointed at twice, written once, after the notes and sources,
            // its note renumbered with input file 2's numbering.
            "0 @M1@ OBJE\n1 FILE peter.jpg\n1 NOTE @N1@\n"
            "0 TRLR\n");
  EXPECT_TRUE(run.Problems(output).empty()) << JoinProblems(run.Problems(output));
  std::string log = run.s.LogText();
  EXPECT_NE(log.find("     9 Otto Fremd \nhinzugef\xFCgt (RIN 4)\n\n"), std::string::npos) << log;
  EXPECT_EQ(log.find("Verweis"), std::string::npos) << log;
}

TEST(CarriedRecordsTest, PointersToRecordsTheChecksDeletedAreLeftOut) {
  CarryRun run;
  std::string output = run.Run(
      kFile1Couple,
      "0 HEAD\n"
      "0 @I5@ INDI\n1 NAME Josef /Maier/\n1 SEX M\n1 BIRT\n2 DATE 1850\n"
      "0 @I7@ INDI\n1 NAME Anna /Fremd/\n1 SEX F\n"
      "1 ASSO @I9@\n2 RELA Patin\n1 ASSO @F8@\n2 TYPE FAM\n1 ASSO @I5@\n2 RELA Nachbar\n"
      // Nameless and only a child: deleted. An empty family: deleted.
      "0 @I9@ INDI\n1 SEX M\n1 FAMC @F3@\n"
      "0 @F8@ FAM\n"
      "0 TRLR\n");
  EXPECT_EQ(output,
            "0 HEAD\n"
            "0 @I1@ INDI\n1 NAME Josef /Maier/\n1 SEX M\n1 BIRT\n2 DATE 1850\n"
            "1 FAMS @F1@\n"
            "0 @I2@ INDI\n1 NAME Maria /Maier/\n1 SEX F\n1 FAMS @F1@\n"
            "0 @F1@ FAM\n1 HUSB @I1@\n1 WIFE @I2@\n1 MARR\n2 DATE 1875\n"
            "0 @I3@ INDI\n1 NAME Anna /Fremd/\n1 SEX F\n1 ASSO @I1@\n2 RELA Nachbar\n"
            "0 TRLR\n");
  std::string log = run.s.LogText();
  EXPECT_NE(log.find("\r\n### Verweis auf @I9@ nicht \xFC" "bernommen"), std::string::npos) << log;
  EXPECT_NE(log.find("\r\n### Verweis auf @F8@ nicht \xFC" "bernommen"), std::string::npos) << log;
}

TEST(CarriedRecordsTest, RepositoryOfASourceTakesAFreshNameWhenInputFileOneUsesItsOwn) {
  CarryRun run;
  std::string output = run.Run(
      "0 HEAD\n"
      "0 @I1@ INDI\n1 NAME Josef /Maier/\n1 SEX M\n1 BIRT\n2 DATE 1850\n"
      "0 @R1@ REPO\n1 NAME Stadtarchiv Wien\n"
      "0 @R1_2@ REPO\n1 NAME Landesarchiv\n"
      "0 @M9@ OBJE\n1 FILE wien.jpg\n"
      "0 TRLR\n",
      "0 HEAD\r\n"
      "0 @I5@ INDI\r\n1 NAME Josef /Maier/\r\n1 SOUR @S2@\r\n2 PAGE 7\r\n1 SEX M\r\n"
      "1 BIRT\r\n2 DATE 1850\r\n"
      "0 @I6@ INDI\r\n1 NAME Otto /Fremd/\r\n1 SOUR @S3@\r\n"
      "0 @S2@ SOUR\r\n1 TITL Kirchenbuch\r\n1 REPO @R1@\r\n2 CALN 12\r\n1 OBJE @M9@\r\n"
      "0 @S3@ SOUR\r\n1 TITL Zivilstand\r\n1 REPO @R1@\r\n"
      "0 @R1@ REPO\r\n1 NAME Pfarrarchiv Linz\r\n1 NOTE @NI2@\r\n"
      "0 @NI2@ NOTE Nur mit Voranmeldung\r\n"
      "0 TRLR\r\n");
  ASSERT_EQ(run.s.person(0, 1).partner, 5);
  EXPECT_EQ(output,
            "0 HEAD\n"
            // Lines of input file 2 are longer by their CR and win the merge.
            "0 @I1@ INDI\n1 NAME Josef /Maier/\r\n1 SEX M\n1 SOUR @S1@\n2 PAGE 7\r\n"
            "1 BIRT\r\n2 DATE 1850\r\n"
            "0 @R1@ REPO\n1 NAME Stadtarchiv Wien\n"
            "0 @R1_2@ REPO\n1 NAME Landesarchiv\n"
            "0 @M9@ OBJE\n1 FILE wien.jpg\n"
            "0 @I2@ INDI\n1 NAME Otto /Fremd/\r\n1 SOUR @S2@\n"
            // Renamed lines keep their line ends. @M9@ named nothing in
            // input file 2 and still names nothing.
            "0 @S1@ SOUR\n1 TITL Kirchenbuch\r\n1 REPO @R1_3@\r\n2 CALN 12\r\n1 OBJE @M9_2@\r\n"
            "0 @S2@ SOUR\n1 TITL Zivilstand\r\n1 REPO @R1_3@\r\n"
            "0 @R1_3@ REPO\n1 NAME Pfarrarchiv Linz\r\n1 NOTE @NI2@\r\n"
            "0 @NI2@ NOTE Nur mit Voranmeldung\n"
            "0 TRLR\n");
  EXPECT_TRUE(run.Problems(output).empty()) << JoinProblems(run.Problems(output));
}

TEST(CarriedRecordsTest, StreamedLinesBelowLevelOneAreCopiedAsTheyStand) {
  CarryRun run;
  const std::string file1 =
      "0 HEAD\n"
      "0 @I1@ INDI\n1 NAME Josef /Maier/\n1 SEX M\n1 FAMS @F1@\n"
      "0 @I2@ INDI\n1 NAME Maria /Maier/\n1 SEX F\n1 FAMS @F1@\n"
      "0 @I3@ INDI\n1 NAME Karl /Maier/\n1 SEX M\n1 FAMC @F1@\n1 ADOP\n2 FAMC @F1@\n"
      "3 ADOP BOTH\n1 FAMS @F1@\n"
      "0 @F1@ FAM\n1 HUSB @I1@\n1 MARR\n2 HUSB\n3 AGE 25\n2 WIFE\n3 AGE 22\n"
      "1 WIFE @I2@\n1 CHIL @I3@\n"
      "0 TRLR\n";
  std::string output = run.Run(file1, "0 HEAD\n0 @I1@ INDI\n1 NAME Zeno /Zorn/\n0 TRLR\n");
  // Only Karl's FAMS line names no family he is a spouse in; Zeno comes last.
  std::string expected = file1;
  expected.erase(expected.find("1 FAMS @F1@\n0 @F1@"), 12);
  expected.insert(expected.find("0 TRLR"), "0 @I4@ INDI\n1 NAME Zeno /Zorn/\n");
  EXPECT_EQ(output, expected);
}

}  // namespace
}  // namespace kw::test
