#include "import/date.h"

#include <gtest/gtest.h>

namespace kw {
namespace {

struct Case {
  const char* token;
  int value;
};

TEST(DateTokens, MonthNumberWholeAbbreviationsThenFirstLetter) {
  const Case cases[] = {
      {"Apr", 4}, {"APR", 4}, {"apr", 4}, {"\xC4PR", 4},  // ÄPR folds to apr
      {"Mar", 3}, {"M\xC4R", 3}, {"Jan", 1}, {"jun", 6},
      {"April", 8}, {"M\xE4rz", 5}, {"Juni", 7}, {"Mai", 5}, {"MAY", 5},
      {"DEC", 12}, {"nov", 11}, {"Okt", 10}, {"Sept", 9}, {"AUG", 8},
      {"JUL", 7}, {"FEB", 2}, {"Xyz", 0}, {"1900", 0}, {"", 0}, {nullptr, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MonthNumber(c.token), c.value) << (c.token ? c.token : "(null)");
  }
}

TEST(DateTokens, QualifierCodeWholeTokenAnyCase) {
  const Case cases[] = {
      {"BEF", 1}, {"vor", 1}, {"AFT", 2}, {"Nac", 2}, {"ABT", 3}, {"ung", 3},
      {"CAL", 4}, {"BER", 4}, {"BEFORE", 0}, {"BE", 0}, {"EST", 0}, {"", 0}, {nullptr, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(QualifierCode(c.token), c.value) << (c.token ? c.token : "(null)");
  }
}

struct DateCase {
  const char* text;
  int result;
  int qualifier, day, month, year, span;
};

void ExpectDate(const DateCase& c) {
  PackedDate date = 0xFFFFFFFF;  // overwritten in every case
  EXPECT_EQ(ParseDate(date, c.text), c.result) << c.text;
  EXPECT_EQ(DateQualifier(date), c.qualifier) << c.text;
  EXPECT_EQ(DateDay(date), c.day) << c.text;
  EXPECT_EQ(DateMonth(date), c.month) << c.text;
  EXPECT_EQ(DateYear(date), c.year) << c.text;
  EXPECT_EQ(DateSpan(date), c.span) << c.text;
  EXPECT_EQ(DateIncomplete(date), c.result == 0) << c.text;
}

TEST(ParseDate, TableOfFormsNumbersAndTokenEdges) {
  const DateCase cases[] = {
      // text, result, qualifier, day, month, year, span
      {"12 JAN 1900", 1, 0, 12, 1, 1900, 0},
      {"ABT 12 JAN 1900", 1, 3, 12, 1, 1900, 0},
      {"BEF JAN 1900", 1, 1, 0, 1, 1900, 0},
      {"VOR 1850", 1, 1, 0, 0, 1850, 0},
      {"JAN 1900", 1, 0, 0, 1, 1900, 0},
      {"1900", 1, 0, 0, 0, 1900, 0},
      {"MAY", 1, 0, 0, 5, 0, 0},
      {"12 Mai 1900", 1, 0, 12, 5, 1900, 0},
      {"12 M\xC4R 1900", 1, 0, 12, 3, 1900, 0},
      {"12 M\xE4rz 1900", 1, 0, 12, 5, 1900, 0},
      {"12 April 1900", 1, 0, 12, 8, 1900, 0},
      {"1 Juni 1900", 1, 0, 1, 7, 1900, 0},
      {"24.12.1899", 1, 0, 24, 12, 1899, 0},
      {"5.1900", 1, 0, 0, 5, 1900, 0},
      {"1.13.1900", 1, 0, 1, 13, 1900, 0},
      {"31 FEB 1900", 0, 0, 31, 2, 1900, 0},
      {"29 FEB 1900", 1, 0, 29, 2, 1900, 0},
      {"31 APR 1900", 0, 0, 31, 4, 1900, 0},
      {"2150", 0, 0, 0, 0, 2150, 0},
      {"2100", 1, 0, 0, 0, 2100, 0},
      {"5000", 1, 0, 0, 0, 904, 0},
      {"45 JAN 1900", 1, 0, 13, 1, 1900, 0},
      {"ABT 1900/1905", 1, 3, 0, 0, 1900, 5},
      {"1900/1910", 1, 0, 0, 0, 1900, 10},
      {"1750/51", 0, 0, 0, 0, 1750, 93},
      {"BET 1900 AND 1910", 1, 0, 12, 8, 1910, 0},
      {"FROM 1900 TO 1910", 0, 0, 12, 0, 0, 0},
      {"12 XYZ", 0, 0, 12, 0, 0, 0},
      {"", 1, 0, 0, 0, 0, 0},
      {"   ", 1, 0, 0, 0, 0, 0},
      // Tokens are read whole: a long first token does not shift the rest.
      {"ABOUTABOUTABOUTABOUT 12 JAN 1900", 1, 0, 12, 1, 1900, 0},
      {"12 JANUARYJANUARYJANUARY 1900", 1, 0, 12, 7, 1900, 0},  // J gives 7
      // Only four tokens are read; the fifth does not count.
      {"ABT 12 JAN 1900 extra", 1, 3, 12, 1, 1900, 0},
      // A token without digits counts 0; a sign is allowed.
      {"XX JAN 1900", 1, 0, 0, 1, 1900, 0},
      {"ABT -1", 0, 3, 0, 0, 4095, 0},  // -1 keeps its low 12 bits: above 2100
      {"  12\tJAN   1900  ", 1, 0, 12, 1, 1900, 0},
      {"1900abc", 1, 0, 0, 0, 1900, 0},
      // Dotted texts: the dot must follow the number directly.
      {"24. 12.1899", 0, 0, 24, 0, 0, 0},
      {"24 .12.1899", 0, 0, 24, 0, 0, 0},
      {".1900", 0, 0, 0, 0, 0, 0},
      {"1899.", 1, 0, 0, 0, 1899, 0},
      {"24.12.1899.7", 1, 0, 24, 12, 1899, 0},
      // The span reads the number after the first "/".
      {"1900/1902/1950", 1, 0, 0, 0, 1900, 2},
      {"1900/", 0, 0, 0, 0, 1900, 20},  // (0 - 1900) modulo 128
      {"1900/+1908", 1, 0, 0, 0, 1900, 8},
  };
  for (const DateCase& c : cases) ExpectDate(c);
}

TEST(ParseDate, NullTextLeavesTargetAlone) {
  PackedDate date = 1234;
  EXPECT_EQ(ParseDate(date, nullptr), 0);
  EXPECT_EQ(date, 1234u);
}

}  // namespace
}  // namespace kw
