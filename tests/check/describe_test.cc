// Date texts the loaded files of the golden cases do not show: the date
// pieces alone, qualifiers and months the import never stores, the longest
// text. Person and family descriptions are shown end to end by the golden
// cases family-findings and person-findings; the person lines made ahead
// for the export must be those descriptions.
#include "check/describe.h"

#include <gtest/gtest.h>

#include <string>

#include "support/load_fixture.h"
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

TEST(PersonLines, AreTheDescriptionsOfEveryPersonOfBothSlots) {
  test::LoadSetup s;
  s.Load(0, "eins.ged",
         "0 HEAD\n0 @I1@ INDI\n1 NAME Hans /Huber/\n1 BIRT\n2 DATE 1850\n1 DEAT\n2 DATE 1910\n"
         "0 @I0003@ INDI\n1 NAME /Zorn/\n1 DEAT\n2 DATE 1920\n"
         "0 @I4@ INDI\n1 NAME Anna //\n1 BIRT\n2 DATE ABT 1799\n0 @I5@ INDI\n0 TRLR\n");
  s.Load(1, "zwei.ged",
         "0 HEAD\n0 @X1@ INDI\n1 NAME Zeno\n0 @I7@ INDI\n1 NAME Eva /Ost/\n0 TRLR\n");
  PersonLines lines;
  lines.Make(*s.store);
  for (int slot = 0; slot < 2; ++slot) {
    const InputSlot& in = s.slot(slot);
    for (size_t n = 1; n < in.persons.size(); ++n) {
      MergeLog described;
      if (in.persons[n].number != 0) DescribePerson(*s.store, described, slot, n);
      EXPECT_EQ(lines.Of(slot, n), described.TakeHeld()) << slot << ": " << n;
    }
    EXPECT_EQ(lines.Of(slot, in.persons.size()), "");
  }
  EXPECT_EQ(lines.Of(0, 1), "     1 Hans Huber 1850 -1910\n");
  EXPECT_EQ(lines.Of(0, 2), "");  // no record
}

}  // namespace
}  // namespace kw
