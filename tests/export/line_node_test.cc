// The re-reading of records as trees of lines, and the skip to the next
// record.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "export/line_node.h"
#include "export/record_io.h"
#include "export/tree_support.h"

namespace kw::test {
namespace {

TEST(ReadGEDTest, PlacesLinesByTheirLevels) {
  struct Case {
    std::string lines;
    std::string shape;
    std::string error;  // the box shown, if any
  } cases[] = {
      {"1 NAME Anna /Huber/\n2 GIVN Anna\n2 SURN Huber\n1 SEX F\n0 @I2@ INDI\n1 NAME Z\n",
       "NAME[GIVN SURN] SEX", ""},
      // A jump deeper becomes a subordinate; nothing is replaced.
      {"1 BIRT\n3 DATE 1900\n2 PLAC Wien\n1 SOUR @S1@\n2 PAGE 5\n5 CONT x\n1 SEX M\n0 TRLR\n",
       "BIRT[DATE PLAC] SOUR[PAGE[CONT]] SEX", ""},
      {"1 A\n2 B\n10 C\n99 D\n11 E\n1 F\n", "A[B[C[D E]]] F", ""},
      {"3 PAGE 7\n3 QUAY 2\n1 SEX M\n2 X y\n", "PAGE QUAY SEX[X]", ""},
      // No trailer: the record still comes back whole; blank lines drop out.
      {"1 NAME A /B/\n\n   \n1 SEX M", "NAME SEX", ""},
      {"0 @I2@ INDI\n", "-", ""},
      {"", "-", ""},
      {"1 NAME A /B/\n1SEX M\n1 BIRT\n", "NAME", "ReadGED warn 1SEX M\n"},
      {"1 NAME A /B/\n2 GIVN A\n100 X\n1 SEX M\n", "NAME[GIVN]", "ReadGED error 100"},
  };
  for (const Case& c : cases) {
    TreeReader r;
    EXPECT_EQ(Shape(r.Read(c.lines)), c.shape) << c.lines;
    EXPECT_EQ(r.reporter.errors, c.error.empty() ? std::vector<std::string>{}
                                                 : std::vector<std::string>{c.error})
        << c.lines;
  }
}

TEST(ReadGEDTest, KeepsRawBytesOfAnyLengthAndScansTheDecodedText) {
  TreeReader r;
  std::string note(3000, 'x');
  LineNode* tree = r.Read("1 NOTE " + note + "\n1 SEX M\n");
  EXPECT_EQ(LineOf(tree), "1 NOTE " + note);
  tree = r.Read("1 NAME M\xC3\xBCller\r\n1 SEX M\r\n", 1, kEncodingUtf8);
  EXPECT_EQ(tree->text->raw, "1 NAME M\xC3\xBCller\r\n");
  EXPECT_EQ(tree->text->scan, "1 NAME M\xFCller\r\n");
  EXPECT_EQ(tree->text->slot, 1);
  EXPECT_EQ(tree->tagCode, TagCode("NAME"));
}

TEST(SkipRecordTest, PassesLinesWithoutLevelAndStopsAtTheNextRecord) {
  std::string bytes = "2 DATE 1900\n\nno level here\n 0 @I2@ INDI\n1 NAME x\n";
  InputText input(bytes, kEncodingPlain, 0);
  SkipRecord(input);
  std::string_view raw;
  ASSERT_TRUE(input.ReadLine(raw));
  EXPECT_EQ(raw, " 0 @I2@ INDI\n");
  SkipRecord(input);
  EXPECT_EQ(input.position(), input.Size());
}

}  // namespace
}  // namespace kw::test
