#include "base/fold.h"

#include <gtest/gtest.h>

#include "support/table.h"

namespace kw {
namespace {

// tests/tables/fold-compare.txt
TEST(FoldCompare, FoldsCaseAndAccentsAndOrdersByTheFirstDifference) {
  for (const test::TableRow& row : test::ReadTable("fold-compare", 4)) {
    const int result = FoldCompare(row.Text(0), row.Text(1), row.Int(2));
    const std::string& expected = row.Raw(3);
    if (expected == ">0") EXPECT_GT(result, 0) << row;
    else if (expected == "<0") EXPECT_LT(result, 0) << row;
    else if (expected == "!=0") EXPECT_NE(result, 0) << row;
    else EXPECT_EQ(result, row.Int(3)) << row;
  }
  const char* text = "Anna";
  EXPECT_EQ(FoldCompare(text, text, 1000), 0);
  // Values from the accent table are not folded again: ð to 'O', Ø to '0'.
  EXPECT_EQ(FoldByte(0xF0), 'O');
  EXPECT_EQ(FoldByte(0xD8), '0');
}

}  // namespace
}  // namespace kw
