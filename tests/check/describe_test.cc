// Date texts the loaded files of the golden cases do not show: the date
// pieces alone, qualifiers and months the import never stores, the longest
// text. Person and family descriptions are shown end to end by the golden
// cases family-findings and person-findings.
#include "check/describe.h"

#include <gtest/gtest.h>

#include <string>

#include "support/table.h"

namespace kw {
namespace {

PackedDate Pack(int year, int month = 0, int day = 0, int qualifier = 0, int span = 0) {
  return PackedDate(year) | PackedDate(month) << 12 | PackedDate(day) << 16 |
         PackedDate(qualifier) << 21 | PackedDate(span) << 25;
}

TEST(DateText, WritesEachSetFieldInOrder) {
  ScratchRing ring;
  for (const test::TableRow& row : test::ReadTable("date-texts", 6)) {
    const PackedDate date = Pack(row.Int(0), row.Int(1), row.Int(2), row.Int(3), row.Int(4));
    const int cursor = ring.cursor();
    const char* text = DateText(ring, date);
    EXPECT_EQ(text == nullptr ? "null" : std::string(text), row.Raw(5)) << row;
    EXPECT_EQ(ring.cursor() == cursor, text == nullptr) << row;
  }
}

}  // namespace
}  // namespace kw
