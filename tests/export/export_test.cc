// The export of small hand-written pairs of files, against the whole
// expected output.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/codec.h"
#include "export/export.h"
#include "run/merge_pass.h"
#include "support/gedcom_integrity.h"
#include "support/load_fixture.h"

namespace kw::test {
namespace {

struct ExportRun {
  LoadSetup s;
  std::string outputPath = s.dir.File("merged.ged");

  // Loads both files, runs the merge pass and the export; returns the output.
  std::string Run(const std::string& file1, const std::string& file2) {
    s.Load(0, "eins.ged", file1);
    s.Load(1, "zwei.ged", file2);
    MergePass(*s.store, s.log, s.reporter);
    EXPECT_EQ(ExportGedcom(*s.store, s.log, s.reporter, outputPath), 1);
    return ReadFile(outputPath);
  }
  std::vector<std::string> Problems(const std::string& output) {
    return IntegrityProblems(output, s.slot(0).encoding, UnwrittenNoteAndSourceRefs(*s.store));
  }
};

std::string Recode(const std::string& utf8, InputEncoding to) {
  std::u32string text;
  DecodeToUnicode(kEncodingUtf8, utf8, text);
  std::string out;
  EncodeFromUnicode(to, text, out);
  return out;
}

TEST(ExportTest, StreamsInputFileOneAndPutsNotesAndSourcesAfterTheFamilies) {
  ExportRun run;
  std::string output = run.Run(
      "0 HEAD\r\n1 SOUR TEST\r\n1 CHAR ANSI\r\n"
      "0 @N7@ NOTE Erste Zeile\r\n1 CONT zweite\r\n"
      "0 @I1@ INDI\r\n1 NAME Hans /Huber/\r\n1 SEX M\r\n1 FAMS @F1@\r\n1 NOTE @N7@\r\n"
      "0 @I2@ INDI\r\n1 NAME Anna /Huber/\r\n1 SEX F\r\n1 FAMS @F1@\r\n1 FAMS @F2@\r\n"
      "1 SOUR @S3@\r\n2 PAGE 12%\r\n"
      "\r\n"
      "0 @F1@ FAM\r\n1 HUSB @I1@\r\n1 WIFE @I2@\r\n1 CHIL @I3@\r\n1 MARR\r\n"
      "2 _X y\r\n3 DATE z\r\n2 DATE 1900\r\n1 _UID 7\r\n"
      "0 @F2@ FAM\r\n1 HUSB @I9@\r\n1 WIFE @I2@\r\n"
      "0 @I3@ INDI\r\n1 NAME Karl /Huber/\r\n1 FAMC @F1@\r\n"
      "0 @R1@ REPO\r\n1 NAME Archiv\r\n1 NOTE @N7@\r\n"
      "0 @S3@ SOUR\r\n1 TITL Kirchenbuch\r\n"
      "0 @SOURCE1@ SOUR\r\n1 TITL Ohne Nummer\r\n"
      "0 @O1@ OBJE\r\n1 FILE x.jpg\r\n",
      "0 HEAD\n0 @I1@ INDI\n1 NAME Zeno /Zorn/\n1 SEX M\n0 TRLR\n");
  EXPECT_EQ(output,
            "0 HEAD\r\n1 SOUR TEST\r\n1 CHAR ANSI\r\n"
            "0 @I1@ INDI\r\n1 NAME Hans /Huber/\r\n1 SEX M\r\n1 FAMS @F1@\n1 NOTE @N1@\n"
            "0 @I2@ INDI\r\n1 NAME Anna /Huber/\r\n1 SEX F\r\n1 FAMS @F1@\n1 FAMS @F2@\n"
            "1 SOUR @S1@\n2 PAGE 12%\r\n"
            "\r\n"
            "0 @F1@ FAM\r\n1 HUSB @I1@\n1 WIFE @I2@\n1 CHIL @I3@\n1 MARR\r\n"
            "2 DATE 1900\r\n1 _UID 7\r\n"
            "0 @F2@ FAM\r\n1 WIFE @I2@\n"  // the checks removed the husband I9
            "0 @I3@ INDI\r\n1 NAME Karl /Huber/\r\n1 FAMC @F1@\n"
            "0 @R1@ REPO\r\n1 NAME Archiv\r\n1 NOTE @N1@\n"
            "0 @SOURCE1@ SOUR\r\n1 TITL Ohne Nummer\r\n"
            "0 @O1@ OBJE\r\n1 FILE x.jpg\r\n"
            "0 @I4@ INDI\n1 NAME Zeno /Zorn/\n1 SEX M\n"
            "0 @N1@ NOTE Erste Zeile\n1 CONT zweite\r\n"
            "0 @S1@ SOUR\n1 TITL Kirchenbuch\r\n"
            "0 TRLR\n");
  EXPECT_TRUE(run.Problems(output).empty()) << JoinProblems(run.Problems(output));

  std::vector<std::string> steps;
  for (const std::string& entry : run.s.reporter.statusHistory) {
    if (entry.rfind("0:", 0) == 0 && entry.find("export") != std::string::npos) steps.push_back(entry);
  }
  EXPECT_EQ(steps, (std::vector<std::string>{
                       "0:Personen exportieren...", "0:Hinzugef\xFCgte exportieren...",
                       "0:Familien exportieren...", "0:Hinzugef\xFCgte exportieren...",
                       "0:Notizen exportieren...", "0:Quellen exportieren..."}));
  EXPECT_EQ(run.s.reporter.status[1], "100% erledigt");
}

TEST(ExportTest, RebuildsMatchedRecordsAndAddsTheRelativesOfInputFileTwo) {
  ExportRun run;
  std::string output = run.Run(
      "0 HEAD\n"
      "0 @I1@ INDI\n1 NAME Josef /Maier/\n1 SEX M\n1 BIRT\n2 DATE 1850\n1 FAMS @F1@\n"
      "0 @I2@ INDI\n1 NAME Maria /Maier/\n1 SEX F\n1 FAMS @F1@\n"
      "0 @F1@ FAM\n1 HUSB @I1@\n1 WIFE @I2@\n"
      "0 TRLR\n",
      "0 HEAD\n"
      "0 @I5@ INDI\n1 NAME Josef /Maier/\n1 SEX M\n1 BIRT\n2 DATE 12 MAR 1850\n2 PLAC Wien\n"
      "1 NOTE @N1@\n1 FAMS @F3@\n"
      "0 @I6@ INDI\n1 NAME Maria /Maier/\n1 SEX F\n1 FAMS @F3@\n"
      "0 @I7@ INDI\n1 NAME Peter /Maier/\n1 SEX M\n1 FAMC @F3@\n1 FAMS @F4@\n"
      "0 @I8@ INDI\n1 NAME Eva /Berg/\n1 SEX F\n1 FAMS @F4@\n"
      "0 @I9@ INDI\n1 NAME Otto /Fremd/\n1 SEX M\n"
      "0 @F3@ FAM\n1 HUSB @I5@\n1 WIFE @I6@\n1 CHIL @I7@\n"
      "0 @F4@ FAM\n1 HUSB @I7@\n1 WIFE @I8@\n"
      "0 @N1@ NOTE\n1 CONC Notiz aus Datei 2\n"
      "0 TRLR\n");
  ASSERT_EQ(run.s.person(0, 1).partner, 5);
  ASSERT_EQ(run.s.person(0, 2).partner, 6);
  EXPECT_EQ(output,
            "0 HEAD\n"
            // B's BIRT is merged (the longer DATE); its PLAC lies beyond the
            // end of A's list there. B's NOTE is missing in A and inserted.
            "0 @I1@ INDI\n1 NAME Josef /Maier/\n1 SEX M\n1 BIRT\n2 DATE 12 MAR 1850\n"
            "1 FAMS @F1@\n1 NOTE @N1@\n"
            "0 @I2@ INDI\n1 NAME Maria /Maier/\n1 SEX F\n1 FAMS @F1@\n"
            "0 @I3@ INDI\n1 NAME Peter /Maier/\n1 SEX M\n1 FAMS @F2@\n1 FAMC @F1@\n"
            "0 @I4@ INDI\n1 NAME Eva /Berg/\n1 SEX F\n1 FAMS @F2@\n"
            "0 @F1@ FAM\n1 HUSB @I1@\n1 WIFE @I2@\n1 CHIL @I3@\n"
            // Otto is in no family with anyone reached: added last of all.
            "0 @I5@ INDI\n1 NAME Otto /Fremd/\n1 SEX M\n"
            "0 @F2@ FAM\n1 HUSB @I3@\n1 WIFE @I4@\n"
            "0 @N1@ NOTE\n1 CONC Notiz aus Datei 2\n"
            "0 TRLR\n");
  EXPECT_EQ(run.s.slot(0).personCount, 5);
  EXPECT_EQ(run.s.slot(0).familyCount, 2);
  std::string log = run.s.LogText();
  EXPECT_NE(log.find("     1 Josef Maier 1850 \n     5 Josef Maier 1850 \nverschmolzen\n\n"),
            std::string::npos);
  EXPECT_NE(log.find("     7 Peter Maier \nhinzugef\xFCgt (RIN 3)\n\n"), std::string::npos);
  EXPECT_NE(log.find("     9 Otto Fremd \nhinzugef\xFCgt (RIN 5)\n\n"), std::string::npos);
}

TEST(ExportTest, NamesRecordsByTheirOwnCrossReferences) {
  ExportRun run;
  std::string output = run.Run(
      "0 HEAD\n"
      "0 @I001@ INDI\n1 NAME Josef /Maier/\n1 SEX M\n1 BIRT\n2 DATE 1900\n1 FAMS @F01@\n"
      "0 @I002@ INDI\n1 NAME Paul /Maier/\n1 SEX M\n1 FAMC @F01@\n"
      "0 @F01@ FAM\n1 HUSB @I001@\n1 CHIL @I002@\n"
      "0 TRLR\n",
      "0 HEAD\n"
      "0 @I1@ INDI\n1 NAME Josef /Maier/\n1 SEX M\n1 BIRT\n2 DATE 1900\n1 FAMS @F1@\n"
      "0 @I2@ INDI\n1 NAME Lisa /Maier/\n1 SEX F\n1 FAMC @F1@\n"
      "0 @F1@ FAM\n1 HUSB @I1@\n1 CHIL @I2@\n"
      "0 TRLR\n");
  ASSERT_EQ(run.s.person(0, 1).partner, 1);
  EXPECT_EQ(output,
            "0 HEAD\n"
            "0 @I001@ INDI\n1 NAME Josef /Maier/\n1 SEX M\n1 BIRT\n2 DATE 1900\n1 FAMS @F01@\n"
            "0 @I002@ INDI\n1 NAME Paul /Maier/\n1 SEX M\n1 FAMC @F01@\n"
            "0 @I3@ INDI\n1 NAME Lisa /Maier/\n1 SEX F\n1 FAMC @F01@\n"
            "0 @F01@ FAM\n1 HUSB @I001@\n1 CHIL @I002@\n1 CHIL @I3@\n"
            "0 TRLR\n");
}

TEST(ExportTest, Utf8OutputKeepsItsBytesAndTranscodesWindows1252Lines) {
  ExportRun run;
  std::string output = run.Run(
      "\xEF\xBB\xBF" "0 HEAD\n1 CHAR UTF-8\n"
      "0 @I1@ INDI\n1 NAME \xC5\x81ukasz /Nowak/\n1 SEX M\n1 BIRT\n2 DATE 1900\n1 NOTE \xE2\x80\x9EZitat\xE2\x80\x9C\n"
      "0 TRLR\n",
      "0 HEAD\n1 CHAR ANSI\n"
      "0 @I4@ INDI\n1 NAME \xA3ukasz /Nowak/\n1 SEX M\n1 BIRT\n2 DATE 1900\n1 DEAT\n2 PLAC K\xF6ln\n"
      "0 TRLR\n");
  // Ł is not in Windows-1252: both names fold to "?ukasz" and match.
  ASSERT_EQ(run.s.person(0, 1).partner, 4);
  EXPECT_EQ(output,
            "\xEF\xBB\xBF" "0 HEAD\n1 CHAR UTF-8\n"
            "0 @I1@ INDI\n1 NAME \xC5\x81ukasz /Nowak/\n1 SEX M\n1 BIRT\n2 DATE 1900\n"
            "1 NOTE \xE2\x80\x9EZitat\xE2\x80\x9C\n1 DEAT\n2 PLAC K\xC3\xB6ln\n"
            "0 TRLR\n");
}

TEST(ExportTest, Utf16OutputTakesAnselLinesAndGeneratedLinesInItsByteOrder) {
  ExportRun run;
  std::string file1 = "\xFF\xFE" + Recode("0 HEAD\r\n1 CHAR UNICODE\r\n"
                                          "0 @I1@ INDI\r\n1 NAME Jörg /Weiß/\r\n1 SEX M\r\n"
                                          "1 BIRT\r\n2 DATE 1900\r\n0 TRLR\r\n", kEncodingUtf16Le);
  std::string output = run.Run(
      file1,
      "0 HEAD\n1 CHAR ANSEL\n"
      "0 @I2@ INDI\n1 NAME J\xE8org /Wei\xCF/\n1 NOTE @N1@\n1 SEX M\n1 BIRT\n2 DATE 1900\n"
      "0 @N1@ NOTE Gr\xE8u\xCF" "e\n"
      "0 TRLR\n");
  ASSERT_EQ(run.s.person(0, 1).partner, 2);
  EXPECT_EQ(output, "\xFF\xFE" + Recode("0 HEAD\r\n1 CHAR UNICODE\r\n"
                                        "0 @I1@ INDI\n1 NAME Jörg /Weiß/\r\n1 SEX M\r\n"
                                        "1 NOTE @N1@\n1 BIRT\r\n2 DATE 1900\r\n"
                                        "0 @N1@ NOTE Grüße\n"
                                        "0 TRLR\n", kEncodingUtf16Le));
  EXPECT_TRUE(run.Problems(output).empty()) << JoinProblems(run.Problems(output));
}

TEST(ExportTest, AnInputThatCannotBeOpenedWritesNothing) {
  LoadSetup s;
  s.Load(0, "eins.ged", "0 HEAD\n0 TRLR\n");
  s.slot(1).filePath = s.dir.File("fehlt.ged");
  std::string outputPath = s.dir.File("merged.ged");
  EXPECT_EQ(ExportGedcom(*s.store, s.log, s.reporter, outputPath), 0);
  ASSERT_FALSE(s.reporter.errors.empty());
  EXPECT_EQ(s.reporter.errors.back(), "kann " + s.dir.File("fehlt.ged") + " nicht \xF6" "ffnen");
  EXPECT_FALSE(std::filesystem::exists(outputPath));
}

}  // namespace
}  // namespace kw::test
