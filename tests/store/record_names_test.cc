// The names of records both ways, through the growth of their tables.
#include "store/record_names.h"

#include <gtest/gtest.h>

#include <string>

namespace kw {
namespace {

// Four kinds of name, added in turns so that each table grows while the
// others hold names: numbers of the first letter met (kept by their
// number), of another letter, numbers far beyond the count of names, and
// names that are no number at all.
std::string NameOfKind(int kind, int n) {
  switch (kind) {
    case 0: return "@P" + std::to_string(n) + "@";
    case 1: return "@Q" + std::to_string(n) + "@";
    case 2: return "@P" + std::to_string(n + 1000000000000LL) + "@";
    default: return "@X" + std::to_string(n) + "x@";
  }
}

TEST(RecordNames, NamesAndNumbersBothWaysThroughGrowth) {
  RecordNames names;
  EXPECT_EQ(names.NumberOf("@P1@"), -1);
  EXPECT_EQ(names.NameOf(1), "");
  for (int n = 1; n <= 3000; ++n) {
    for (int kind = 0; kind < 4; ++kind) names.Add(NameOfKind(kind, n), 250000 + 4 * n + kind);
  }
  for (int n = 1; n <= 3000; ++n) {
    for (int kind = 0; kind < 4; ++kind) {
      ASSERT_EQ(names.NumberOf(NameOfKind(kind, n)), 250000 + 4 * n + kind) << kind << " " << n;
      ASSERT_EQ(names.NameOf(250000 + 4 * n + kind), NameOfKind(kind, n)) << kind << " " << n;
    }
  }
  EXPECT_EQ(names.NumberOf("@P3001@"), -1);
  EXPECT_EQ(names.NumberOf("@Q0@"), -1);
  EXPECT_EQ(names.NumberOf("@P1"), -1);
  EXPECT_EQ(names.NumberOf("@P01@"), -1);  // leading zero: another name than @P1@
  // A name given again stands for its last number, in every table, also
  // after the tables grew again.
  for (int kind = 0; kind < 4; ++kind) names.Add(NameOfKind(kind, 9), 7 + kind);
  for (int n = 3001; n <= 9000; ++n) names.Add(NameOfKind(1, n), 100000 + n);
  for (int n = 3001; n <= 9000; ++n) names.Add(NameOfKind(3, n), 200000 + n);
  for (int kind = 0; kind < 4; ++kind) {
    EXPECT_EQ(names.NumberOf(NameOfKind(kind, 9)), 7 + kind) << kind;
    EXPECT_EQ(names.NameOf(7 + kind), NameOfKind(kind, 9)) << kind;
  }
  // A number written in the plain form again has no name; the old name
  // still stands for it.
  names.Forget(250000 + 4 * 7);
  EXPECT_EQ(names.NameOf(250000 + 4 * 7), "");
  EXPECT_EQ(names.NumberOf("@P7@"), 250000 + 4 * 7);
  names.Add("@I00012@", 12);
  names.Add("@I012@", 12);  // the last name a number is given is its name
  EXPECT_EQ(names.NameOf(12), "@I012@");
  EXPECT_EQ(names.NumberOf("@I00012@"), 12);
  names.Clear();
  EXPECT_EQ(names.NumberOf("@P2@"), -1);
  EXPECT_EQ(names.NameOf(250008), "");
  names.Add("@Q2@", 5);  // after Clear, any letter may be the first
  EXPECT_EQ(names.NumberOf("@Q2@"), 5);
}

// A file numbering its records on from one offset is looked up by bits;
// a name given another number, or a name off that offset, must still win.
TEST(RecordNames, NamesOnOneOffsetThenOff) {
  RecordNames names;
  auto name = [](int n) { return "@I" + std::to_string(n) + "@"; };
  for (int n = 1000; n < 4000; ++n) {
    if (n % 7 != 0) names.Add(name(n), n - 3);
  }
  for (int round = 0; round < 2; ++round) {
    for (int n = 990; n < 4010; ++n) {
      int32_t expected = n % 7 != 0 && n >= 1000 && n < 4000 ? n - 3 : -1;
      if (round == 1 && n == 1001) expected = 5;
      ASSERT_EQ(names.NumberOf(name(n)), expected) << round << " " << n;
    }
    EXPECT_EQ(names.NumberOf("@F1001@"), -1);
    names.Add(name(1001), 5);
    names.Add(name(5000), 5000);  // another offset
  }
  EXPECT_EQ(names.NumberOf(name(5000)), 5000);
}

TEST(RecordNames, DisplayNumberIsTheNamesDigitsOrTheNumber) {
  EXPECT_EQ(DisplayNumber("@I152733931767@", 3), 152733931767LL);
  EXPECT_EQ(DisplayNumber("@FATHER@", 9), 9);
  EXPECT_EQ(DisplayNumber("@I0@", 4), 4);
  EXPECT_EQ(DisplayNumber("@I99999999999999999999999@", 5), 5);  // beyond 64 bits
}

}  // namespace
}  // namespace kw
