#include "base/fold.h"

#include <gtest/gtest.h>

#include "store/scratch_ring.h"

namespace kw {
namespace {

TEST(FoldCompare, FoldsCaseAndAccents) {
  EXPECT_EQ(FoldCompare("Meier", "MEIER", 1000), 0);
  // ü folds to u; then l (first) meets e (second): 0x65 - 0x6C.
  EXPECT_EQ(FoldCompare("M\xFCller", "MUELLER", 1000), -7);
  EXPECT_EQ(FoldCompare("\xC4pfel", "apfel", 1000), 0);       // Ä -> a
  EXPECT_EQ(FoldCompare("Stra\xDF" "e", "strase", 1000), 0);   // ß -> one s
}

TEST(FoldCompare, PositiveMeansFirstSortsBefore) {
  EXPECT_EQ(FoldCompare("Meier", "Meierhof", 1000), 0x68 - 0x20);
  EXPECT_EQ(FoldCompare("Meierhof", "Meier", 1000), -(0x68 - 0x20));
  EXPECT_EQ(FoldCompare("Meier", "Meierhof", 5), 0);
  EXPECT_NE(FoldCompare("Meier", "Meiers", 6), 0);  // differ at position 5
  EXPECT_GT(FoldCompare("Adam", "Bert", 1000), 0);
  EXPECT_LT(FoldCompare("bert", "Adam", 1000), 0);
}

TEST(FoldCompare, AbsentSameAndEmptyTexts) {
  const char* text = "Anna";
  EXPECT_EQ(FoldCompare(nullptr, "Anna", 1000), 0);
  EXPECT_EQ(FoldCompare("Anna", nullptr, 1000), 0);
  EXPECT_EQ(FoldCompare(text, text, 1000), 0);
  for (int limit : {-3, 0, 1, 1000}) EXPECT_EQ(FoldCompare("", "", limit), 0) << limit;
  EXPECT_EQ(FoldCompare("", "A", 0), 65);  // position 0 is always compared
}

TEST(FoldCompare, BlankBeforeDigitBeforeLetter) {
  EXPECT_EQ(FoldByte('1'), 0x51);
  EXPECT_EQ(FoldByte(' '), 0x40);
  EXPECT_EQ(FoldByte('a'), 0x61);
  EXPECT_GT(FoldCompare("a b", "a1", 1000), 0);
  EXPECT_GT(FoldCompare("a1", "aa", 1000), 0);
  // Values from the accent table are not folded again.
  EXPECT_EQ(FoldByte(0xF0), 0x4F);  // ð -> 'O', not 'o'
  EXPECT_EQ(FoldByte(0xD8), 0x30);  // Ø -> digit 0 as 0x30, not 0x50
  EXPECT_NE(FoldCompare("\xF0", "o", 1000), 0);
}

TEST(ScratchRing, WrapsWhenTheNextTextWouldNotFit) {
  ScratchRing ring;
  char* first = ring.Take(26);
  for (int i = 1; i < 384; ++i) ring.Take(26);
  EXPECT_EQ(ring.cursor(), 384 * 26);
  EXPECT_EQ(ring.Take(26), first);  // the 385th starts again

  ScratchRing codes;
  char* firstCode = codes.Take(10);
  for (int i = 1; i < 999; ++i) codes.Take(10);
  EXPECT_EQ(codes.Take(10), firstCode);  // the 1000th reuses the first slot
}

TEST(ScratchRing, HandsOutZeroedBytes) {
  ScratchRing ring;
  char* text = ring.Take(26);
  text[0] = 'x';
  for (int i = 1; i < 384; ++i) ring.Take(26);
  char* again = ring.Take(26);
  ASSERT_EQ(again, text);
  EXPECT_EQ(again[0], '\0');
}

}  // namespace
}  // namespace kw
