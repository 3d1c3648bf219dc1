// The names of records both ways, through the growth of their tables.
#include "store/record_names.h"

#include <gtest/gtest.h>

#include <string>

namespace kw {
namespace {

TEST(RecordNames, NamesAndNumbersBothWaysThroughGrowth) {
  RecordNames names;
  EXPECT_EQ(names.NumberOf("@P1@"), -1);
  EXPECT_EQ(names.NameOf(1), "");
  for (int n = 1; n <= 5000; ++n) names.Add("@P" + std::to_string(n) + "@", n + 250000);
  for (int n = 1; n <= 5000; ++n) {
    ASSERT_EQ(names.NumberOf("@P" + std::to_string(n) + "@"), n + 250000) << n;
    ASSERT_EQ(names.NameOf(n + 250000), "@P" + std::to_string(n) + "@") << n;
  }
  EXPECT_EQ(names.NumberOf("@P5001@"), -1);
  EXPECT_EQ(names.NumberOf("@P1"), -1);
  // A number written in the plain form again has no name; the old name
  // still stands for it.
  names.Forget(250007);
  EXPECT_EQ(names.NameOf(250007), "");
  EXPECT_EQ(names.NumberOf("@P7@"), 250007);
  names.Add("@I00012@", 12);
  names.Add("@I012@", 12);  // the last name a number is given is its name
  EXPECT_EQ(names.NameOf(12), "@I012@");
  EXPECT_EQ(names.NumberOf("@I00012@"), 12);
  names.Clear();
  EXPECT_EQ(names.NumberOf("@P2@"), -1);
}

TEST(RecordNames, DisplayNumberIsTheNamesDigitsOrTheNumber) {
  EXPECT_EQ(DisplayNumber("@I152733931767@", 3), 152733931767LL);
  EXPECT_EQ(DisplayNumber("@FATHER@", 9), 9);
  EXPECT_EQ(DisplayNumber("@I0@", 4), 4);
  EXPECT_EQ(DisplayNumber("@I99999999999999999999999@", 5), 5);  // beyond 64 bits
}

}  // namespace
}  // namespace kw
