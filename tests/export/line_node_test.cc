// Whole-line input of the export and the re-reading of records as trees.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "export/line_node.h"
#include "export/record_io.h"
#include "export/tree_support.h"
#include "import/line_input.h"
#include "support/test_files.h"

namespace kw::test {
namespace {

std::vector<std::string> ExportLines(const std::string& path, InputEncoding encoding) {
  InputText input;
  EXPECT_TRUE(input.Open(path, encoding, 0));
  std::vector<std::string> lines;
  std::string_view raw;
  while (input.ReadLine(raw)) lines.emplace_back(raw);
  return lines;
}

std::vector<std::string> ImportLines(const std::string& path, InputEncoding encoding) {
  LineInput input;
  EXPECT_TRUE(input.Open(path));
  std::vector<std::string> lines;
  std::string raw;
  while (input.ReadRawLine(encoding, raw)) lines.push_back(raw);
  return lines;
}

TEST(InputTextTest, SplitsLinesAtEveryLineEndAndKeepsThem) {
  TempDir dir;
  std::string path = dir.File("ends.ged");
  WriteFile(path, "0 HEAD\r\n1 A\r2 B\n\r3 C\n\n4 D");
  EXPECT_EQ(ExportLines(path, kEncodingPlain),
            (std::vector<std::string>{"0 HEAD\r\n", "1 A\r", "2 B\n\r", "3 C\n", "\n", "4 D"}));

  std::string utf16;
  for (char c : std::string("0 A\r\n1 B\r2")) utf16 += std::string(1, c) + std::string(1, '\0');
  WriteFile(path, utf16 + "X");
  std::vector<std::string> lines = ExportLines(path, kEncodingUtf16Le);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].size(), 10u);
  EXPECT_EQ(lines[1].size(), 8u);
  EXPECT_EQ(lines[2], std::string("2\0X", 3));  // an odd last byte stays with the last line
}

TEST(InputTextTest, ReadsTheSameLinesAsTheImportInEveryRealFile) {
  if (!RealTestDataPresent()) GTEST_SKIP() << "no real test data at " << KINWEAVE_REAL_TESTDATA;
  for (const auto& entry : std::filesystem::directory_iterator(KINWEAVE_REAL_TESTDATA)) {
    if (entry.path().extension() != ".ged") continue;
    for (InputEncoding encoding : {kEncodingPlain, kEncodingUtf16Le, kEncodingUtf16Be}) {
      SCOPED_TRACE(entry.path().filename().string() + " " + std::to_string(encoding));
      EXPECT_EQ(ExportLines(entry.path().string(), encoding),
                ImportLines(entry.path().string(), encoding));
    }
  }
}

TEST(InputTextTest, FindsTheLineBeforeAPosition) {
  TempDir dir;
  std::string path = dir.File("before.ged");
  std::string text = "0 HEAD\r\n0 @N1@ NOTE first words\r\n1 CONT more\n";
  WriteFile(path, text);
  InputText input;
  ASSERT_TRUE(input.Open(path, kEncodingPlain, 0));
  int64_t sub = static_cast<int64_t>(text.find("1 CONT"));
  EXPECT_EQ(input.LineBefore(sub), "0 @N1@ NOTE first words\r\n");
  EXPECT_EQ(input.LineBefore(8), "0 HEAD\r\n");
  EXPECT_EQ(input.LineBefore(0), "");
  EXPECT_EQ(input.LineBefore(3), "");  // not at the start of a line
}

TEST(SkipRecordTest, PassesLinesWithoutLevelAndStopsAtTheNextRecord) {
  TempDir dir;
  std::string path = dir.File("skip.ged");
  WriteFile(path, "2 DATE 1900\n\nno level here\n 0 @I2@ INDI\n1 NAME x\n");
  InputText input;
  ASSERT_TRUE(input.Open(path, kEncodingPlain, 0));
  SkipRecord(input);
  std::string_view raw;
  ASSERT_TRUE(input.ReadLine(raw));
  EXPECT_EQ(raw, " 0 @I2@ INDI\n");
  SkipRecord(input);
  EXPECT_TRUE(input.AtEnd());
}

TEST(ReadGEDTest, PlacesLinesBySiblingsAndSubordinates) {
  TreeReader r;
  LineNode* tree = r.Read("1 NAME Anna /Huber/\n2 GIVN Anna\n2 SURN Huber\n1 SEX F\n0 @I2@ INDI\n1 NAME Z\n");
  EXPECT_EQ(Shape(tree), "NAME[GIVN SURN] SEX");
  EXPECT_EQ(LineOf(tree), "1 NAME Anna /Huber/");
  EXPECT_EQ(tree->tagCode, TagCode("NAME"));
  EXPECT_EQ(tree->text->slot, 0);
  EXPECT_TRUE(r.reporter.errors.empty());
}

TEST(ReadGEDTest, DeeperJumpsBecomeSubordinatesAndNothingIsReplaced) {
  TreeReader r;
  LineNode* tree = r.Read("1 BIRT\n3 DATE 1900\n2 PLAC Wien\n1 SOUR @S1@\n2 PAGE 5\n5 CONT deep\n1 SEX M\n0 TRLR\n");
  EXPECT_EQ(Shape(tree), "BIRT[DATE PLAC] SOUR[PAGE[CONT]] SEX");
  EXPECT_TRUE(r.reporter.errors.empty());
}

TEST(ReadGEDTest, LevelsUpToNinetyNineWithTwoDigits) {
  TreeReader r;
  LineNode* tree = r.Read("1 A\n2 B\n10 C\n99 D\n11 E\n1 F\n");
  EXPECT_EQ(Shape(tree), "A[B[C[D E]]] F");  // E, at 11, is below C at 10
  EXPECT_TRUE(r.reporter.errors.empty());
}

TEST(ReadGEDTest, AFirstLineDeeperThanOneStartsTheTree) {
  TreeReader r;
  LineNode* tree = r.Read("3 PAGE 7\n3 QUAY 2\n1 SEX M\n2 X y\n");
  EXPECT_EQ(Shape(tree), "PAGE QUAY SEX[X]");
}

TEST(ReadGEDTest, EmptyRecordsBlankLinesAndTheEndOfTheFile) {
  TreeReader r;
  LineNode* empty = r.Read("0 @I2@ INDI\n");
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(empty->tagCode, 0u);
  EXPECT_EQ(empty->text, nullptr);

  // No trailer: the record still comes back whole; blank lines drop out.
  LineNode* last = r.Read("1 NAME A /B/\n\n   \n1 SEX M");
  EXPECT_EQ(Shape(last), "NAME SEX");
  EXPECT_EQ(LineOf(last->next), "1 SEX M");

  LineNode* nothing = r.Read("");
  EXPECT_EQ(nothing->tagCode, 0u);
}

TEST(ReadGEDTest, ReadsLinesOfAnyLength) {
  TreeReader r;
  std::string note(3000, 'x');
  LineNode* tree = r.Read("1 NOTE " + note + "\n1 SEX M\n");
  EXPECT_EQ(LineOf(tree), "1 NOTE " + note);
  EXPECT_EQ(Shape(tree), "NOTE SEX");
}

TEST(ReadGEDTest, WarnsAboutALevelWithoutBlankAndStopsThere) {
  TreeReader r;
  LineNode* tree = r.Read("1 NAME A /B/\n1SEX M\n1 BIRT\n");
  EXPECT_EQ(Shape(tree), "NAME");
  ASSERT_EQ(r.reporter.errors.size(), 1u);
  EXPECT_EQ(r.reporter.errors[0], "ReadGED warn 1SEX M\n");
}

TEST(ReadGEDTest, RefusesALevelAboveNinetyNine) {
  TreeReader r;
  LineNode* tree = r.Read("1 NAME A /B/\n2 GIVN A\n100 X\n1 SEX M\n");
  EXPECT_EQ(Shape(tree), "NAME[GIVN]");
  ASSERT_EQ(r.reporter.errors.size(), 1u);
  EXPECT_EQ(r.reporter.errors[0], "ReadGED error 100");
}

TEST(ReadGEDTest, KeepsRawBytesAndScansTheDecodedText) {
  TreeReader r;
  // UTF-8: "1 NAME Müller" with its line end as in the file.
  LineNode* tree = r.Read("1 NAME M\xC3\xBCller\r\n1 SEX M\r\n", 1, kEncodingUtf8);
  EXPECT_EQ(tree->text->raw, "1 NAME M\xC3\xBCller\r\n");
  EXPECT_EQ(tree->text->scan, "1 NAME M\xFCller\r\n");
  EXPECT_EQ(tree->text->slot, 1);
  EXPECT_EQ(tree->text->encoding, kEncodingUtf8);
}

TEST(TagCodeTest, FirstFourBytesLowestFirst) {
  EXPECT_EQ(TagCode("FAM"), 0x004D4146u);
  EXPECT_EQ(TagCode("BIRTH"), TagCode("BIRT"));
  EXPECT_NE(TagCode("FAMS"), TagCode("FAM"));
  EXPECT_EQ(TagCode(""), 0u);
}

}  // namespace
}  // namespace kw::test
