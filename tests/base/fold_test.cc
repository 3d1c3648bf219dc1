#include "base/fold.h"

#include <gtest/gtest.h>

namespace kw {
namespace {

// Positive when the first text sorts before the second: by how far apart
// the first differing folded bytes are.
TEST(FoldCompare, FoldsCaseAndAccentsAndOrdersByTheFirstDifference) {
  EXPECT_EQ(FoldCompare("Meier", "MEIER", 1000), 0);
  EXPECT_EQ(FoldCompare("\xC4pfel", "apfel", 1000), 0);  // Ä -> a
  EXPECT_EQ(FoldCompare("Stra\xDF"
                        "e",
                        "strase", 1000),
            0);  // ß -> one s
  EXPECT_EQ(FoldCompare("M\xFCller", "MUELLER", 1000), 'e' - 'l');
  EXPECT_EQ(FoldCompare("Meier", "Meierhof", 1000), 'h' - 0x20);  // the end folds to 0x20
  EXPECT_EQ(FoldCompare("Meierhof", "Meier", 1000), 0x20 - 'h');
  EXPECT_EQ(FoldCompare("Meier", "Meierhof", 5), 0);
  EXPECT_NE(FoldCompare("Meier", "Meiers", 6), 0);
  EXPECT_GT(FoldCompare("Adam", "bert", 1000), 0);
  EXPECT_LT(FoldCompare("bert", "Adam", 1000), 0);
  // A blank before a digit before a letter.
  EXPECT_GT(FoldCompare("a b", "a1", 1000), 0);
  EXPECT_GT(FoldCompare("a1", "aa", 1000), 0);
  // Values from the accent table are not folded again: ð to 'O', Ø to '0'.
  EXPECT_EQ(FoldByte(0xF0), 'O');
  EXPECT_EQ(FoldByte(0xD8), '0');
}

// An absent text on either side, or the same text twice, is equal; the
// first position is compared whatever the limit.
TEST(FoldCompare, AbsentSameAndEmptyTexts) {
  const char* text = "Anna";
  EXPECT_EQ(FoldCompare(nullptr, "Anna", 1000) + FoldCompare("Anna", nullptr, 1000), 0);
  EXPECT_EQ(FoldCompare(text, text, 1000), 0);
  for (int limit : {-3, 0, 1, 1000}) EXPECT_EQ(FoldCompare("", "", limit), 0) << limit;
  EXPECT_EQ(FoldCompare("", "A", 0), 'a' - 0x20);
}

}  // namespace
}  // namespace kw
