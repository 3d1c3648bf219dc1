// Date texts the loaded files of the golden cases do not show: the date
// pieces alone, qualifiers and months the import never stores, the longest
// text. Person and family descriptions are shown end to end by the golden
// cases family-findings and person-findings.
#include "check/describe.h"

#include <gtest/gtest.h>

#include <string>

namespace kw {
namespace {

PackedDate Pack(int year, int month = 0, int day = 0, int qualifier = 0, int span = 0) {
  return PackedDate(year) | PackedDate(month) << 12 | PackedDate(day) << 16 |
         PackedDate(qualifier) << 21 | PackedDate(span) << 25;
}

TEST(DateText, WritesEachSetFieldInOrder) {
  ScratchRing ring;
  const struct {
    PackedDate date;
    const char* text;
  } cases[] = {
      {Pack(0, 6), "JUN"},
      {Pack(1801, 0, 12), "12 1801"},
      {Pack(1900, 14), "14 1900"},
      {Pack(0, 15), "15"},
      {Pack(1900, 3, 0, 5), "? MAR 1900"},
      {Pack(4095, 12, 31, 7, 127), "??? 31 DEZ 4095/4222"},
      // Without year and month there is no text, and the ring is not used.
      {0, nullptr},
      {Pack(0, 0, 12, 3, 5), nullptr},
  };
  for (const auto& c : cases) {
    const int cursor = ring.cursor();
    const char* text = DateText(ring, c.date);
    EXPECT_EQ(text == nullptr ? "(none)" : std::string(text), c.text ? c.text : "(none)");
    EXPECT_EQ(ring.cursor() == cursor, text == nullptr) << c.date;
  }
}

}  // namespace
}  // namespace kw
