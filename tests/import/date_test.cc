#include "import/date.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "support/table.h"

namespace kw {
namespace {

using test::ReadTable;
using test::TableRow;

TEST(DateTokens, MonthNumbersAndQualifierCodes) {
  for (const TableRow& row : ReadTable("date-tokens", 3)) {
    const int code = row.Raw(0) == "month" ? MonthNumber(row.Text(1)) : QualifierCode(row.Text(1));
    EXPECT_EQ(code, row.Int(2)) << row;
  }
}

// The result of ParseDate and the fields it stored, the incomplete flag
// being set exactly when the date is rejected.
std::string Parsed(const char* text) {
  PackedDate date = 0xFFFFFFFF;  // overwritten in every case
  const int result = ParseDate(date, text);
  EXPECT_EQ(DateIncomplete(date), result == 0) << text;
  char parsed[64];
  std::snprintf(parsed, sizeof(parsed), "%d %d %d %d %d %d", result, DateQualifier(date),
                DateDay(date), DateMonth(date), DateYear(date), DateSpan(date));
  return parsed;
}

TEST(ParseDate, FormsNumbersAndTokenEdges) {
  for (const TableRow& row : ReadTable("dates", 2)) EXPECT_EQ(Parsed(row.Text(0)), row.Bytes(1)) << row;
  PackedDate date = 1234;
  EXPECT_EQ(ParseDate(date, nullptr), 0);  // a null text leaves the target alone
  EXPECT_EQ(date, 1234u);
}

}  // namespace
}  // namespace kw
