// The re-reading of records as trees of lines, and the skip to the next
// record.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "export/line_node.h"
#include "export/record_io.h"
#include "export/tree_support.h"
#include "support/table.h"

namespace kw::test {
namespace {

// tests/tables/record-shapes.txt
TEST(ReadGEDTest, PlacesLinesByTheirLevels) {
  for (const TableRow& row : ReadTable("record-shapes", 3)) {
    TreeReader r;
    EXPECT_EQ(Shape(r.Read(row.Bytes(0))), row.Bytes(1)) << row;
    const std::vector<std::string> none, box = {row.Bytes(2)};
    EXPECT_EQ(r.reporter.errors, row.Bytes(2).empty() ? none : box) << row;
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
