#include "check/describe.h"

#include <gtest/gtest.h>

#include <string>

#include "support/check_fixture.h"

namespace kw {
namespace {

PackedDate Pack(int year, int month = 0, int day = 0, int qualifier = 0, int span = 0) {
  return static_cast<PackedDate>(year) | static_cast<PackedDate>(month) << 12 |
         static_cast<PackedDate>(day) << 16 | static_cast<PackedDate>(qualifier) << 21 |
         static_cast<PackedDate>(span) << 25;
}

TEST(DateText, WritesEachSetFieldInOrder) {
  ScratchRing ring;
  struct Case {
    PackedDate date;
    const char* text;
  } cases[] = {
      {Pack(1750, 0, 0, 1), "VOR 1750"},
      {Pack(1800, 5, 3), "3 MAI 1800"},
      {Pack(1750, 0, 0, 0, 5), "1750/1755"},
      {Pack(0, 6), "JUN"},
      {Pack(1801, 0, 12), "12 1801"},
      {Pack(1699, 10, 1, 4, 1), "BER 1 OKT 1699/1700"},
      {Pack(1900, 12, 31, 2), "NAC 31 DEZ 1900"},
      {Pack(4095, 12, 31, 7, 127), "??? 31 DEZ 4095/4222"},
      {Pack(1900, 3, 0, 5), "? MAR 1900"},
      // Months without a name are written as their number.
      {Pack(1900, 13, 1), "1 13 1900"},
      {Pack(1900, 14), "14 1900"},
      {Pack(0, 15), "15"},
      // No text without year and month, and nothing taken from the ring.
      {0, "<none>"},
      {Pack(0, 0, 12), "<none>"},
      {Pack(0, 0, 0, 3), "<none>"},
  };
  for (const Case& c : cases) {
    const int before = ring.cursor();
    const char* text = DateText(ring, c.date);
    EXPECT_EQ(std::string(text != nullptr ? text : "<none>"), c.text);
    if (text == nullptr) {
      EXPECT_EQ(ring.cursor(), before) << c.text;
    }
  }
}

TEST(DateText, RingHolds384TextsThenWraps) {
  ScratchRing ring;
  const char* first = DateText(ring, Pack(1900));
  for (int i = 2; i <= 384; ++i) ASSERT_NE(DateText(ring, Pack(1900)), first) << i;
  EXPECT_EQ(DateText(ring, Pack(1901)), first);
  EXPECT_STREQ(first, "1901");
}

using DescribeTest = CheckFixture;

// Missing pieces drop out; a number is right-aligned in six places.
TEST_F(DescribeTest, Persons) {
  Person& p = AddPerson(42, "Johann", "M\xFCller");
  p.birth = Pack(1750, 3, 12);
  p.death = Pack(1810);
  DescribePerson(store(), log(), 0, 42);
  p.birth = 0;
  DescribePerson(store(), log(), 0, 42);
  AddPerson(7);
  AddPerson(249999);
  AddPerson(8, nullptr, "Schmidt").birth = Pack(0, 5, 1);  // no year: no birth piece
  AddPerson(9, "", "Weber");                                // an empty text is still written
  for (int number : {7, 249999, 8, 9, 5}) DescribePerson(store(), log(), 0, number);
  EXPECT_EQ(LogText(),
            "    42 Johann M\xFCller 1750 -1810\n"
            "    42 Johann M\xFCller -1810\n"
            "     7 \n"
            "249999 \n"
            "     8 Schmidt \n"
            "     9  Weber \n"
            "     5 \n");  // absent: described from its empty record
}

TEST_F(DescribeTest, Families) {
  AddPerson(1, "Johann", "M\xFCller");
  AddPerson(2, "Anna", "Schmidt");
  AddPerson(3, nullptr, "Ohnevorname");  // no given names: the whole piece goes
  AddPerson(4, "Anna");                  // given names without a surname
  AddFamily(7, 1, 2).marriage = Pack(1775, 3, 12);
  AddFamily(3, 0, 0).marriage = Pack(0, 6);  // a month alone is not written
  AddFamily(4, 3, 4).marriage = Pack(1800, 0, 0, 3);
  AddFamily(5, 3, 0);
  for (int number : {7, 3, 4, 5}) DescribeFamily(store(), log(), 0, number);
  EXPECT_EQ(LogText(),
            " Fam [7] Johann M\xFCller - Anna Schmidt  & 12 MAR 1775 "
            " Fam [3] " " Fam [4] - Anna   & UNG 1800 " " Fam [5] ");
}

}  // namespace
}  // namespace kw
