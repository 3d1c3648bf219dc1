#include "import/date.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace kw {
namespace {

struct Case {
  const char* token;
  int value;
};

// A few English abbreviations are matched whole, then the first letter
// decides (ÄPR folds to apr); German month names therefore often miss.
TEST(DateTokens, MonthNumbersAndQualifierCodes) {
  const Case months[] = {{"Apr", 4},    {"APR", 4},  {"apr", 4}, {"\xC4PR", 4}, {"Mar", 3},
                         {"M\xC4R", 3}, {"Jan", 1},  {"jun", 6}, {"April", 8},  {"M\xE4rz", 5},
                         {"Juni", 7},   {"Mai", 5},  {"MAY", 5}, {"DEC", 12},   {"nov", 11},
                         {"Okt", 10},   {"Sept", 9}, {"AUG", 8}, {"JUL", 7},    {"FEB", 2},
                         {"Xyz", 0},    {"1900", 0}, {"", 0},    {nullptr, 0}};
  for (const Case& c : months) EXPECT_EQ(MonthNumber(c.token), c.value) << c.value;
  const Case qualifiers[] = {{"BEF", 1}, {"vor", 1}, {"AFT", 2},  {"Nac", 2},    {"ABT", 3},
                             {"ung", 3}, {"CAL", 4}, {"BER", 4},  {"BEFORE", 0}, {"BE", 0},
                             {"EST", 0}, {"", 0},    {nullptr, 0}};
  for (const Case& c : qualifiers) EXPECT_EQ(QualifierCode(c.token), c.value) << c.value;
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

// Up to four blank-separated tokens, each read whole, or the dotted form
// (the dot right after each number). A rejected date keeps the fields stored
// before the rejection and its incomplete flag. Numbers are read as atoi
// does and keep the low bits of their field ("5000" is 904, "45" days 13);
// the span is read after the first "/" (modulo 128, at most 10).
TEST(ParseDate, FormsNumbersAndTokenEdges) {
  // clang-format off
  const struct {
    const char* text;
    const char* parsed;  // result, qualifier, day, month, year, span
  } cases[] = {
      {"12 JAN 1900", "1 0 12 1 1900 0"}, {"ABT 12 JAN 1900", "1 3 12 1 1900 0"},
      {"BEF JAN 1900", "1 1 0 1 1900 0"}, {"VOR 1850", "1 1 0 0 1850 0"},
      {"JAN 1900", "1 0 0 1 1900 0"}, {"1900", "1 0 0 0 1900 0"}, {"MAY", "1 0 0 5 0 0"},
      {"12 M\xE4rz 1900", "1 0 12 5 1900 0"}, {"1 Juni 1900", "1 0 1 7 1900 0"},
      {"24.12.1899", "1 0 24 12 1899 0"}, {"5.1900", "1 0 0 5 1900 0"},
      {"1.13.1900", "1 0 1 13 1900 0"}, {"31 FEB 1900", "0 0 31 2 1900 0"},
      {"29 FEB 1900", "1 0 29 2 1900 0"}, {"31 APR 1900", "0 0 31 4 1900 0"},
      {"2150", "0 0 0 0 2150 0"}, {"2100", "1 0 0 0 2100 0"}, {"5000", "1 0 0 0 904 0"},
      {"45 JAN 1900", "1 0 13 1 1900 0"}, {"ABT 1900/1905", "1 3 0 0 1900 5"},
      {"1900/1910", "1 0 0 0 1900 10"}, {"1750/51", "0 0 0 0 1750 93"},
      {"BET 1900 AND 1910", "1 0 12 8 1910 0"}, {"FROM 1900 TO 1910", "0 0 12 0 0 0"},
      {"12 XYZ", "0 0 12 0 0 0"}, {"", "1 0 0 0 0 0"}, {"   ", "1 0 0 0 0 0"},
      {"ABT 12 JAN 1900 extra", "1 3 12 1 1900 0"}, {"XX JAN 1900", "1 0 0 1 1900 0"},
      {"ABT -1", "0 3 0 0 4095 0"}, {"  12\tJAN   1900  ", "1 0 12 1 1900 0"},
      {"1900abc", "1 0 0 0 1900 0"}, {"24. 12.1899", "0 0 24 0 0 0"},
      {"24 .12.1899", "0 0 24 0 0 0"}, {".1900", "0 0 0 0 0 0"}, {"1899.", "1 0 0 0 1899 0"},
      {"24.12.1899.7", "1 0 24 12 1899 0"}, {"1900/1902/1950", "1 0 0 0 1900 2"},
      {"1900/", "0 0 0 0 1900 20"}, {"1900/+1908", "1 0 0 0 1900 8"}};
  // clang-format on
  for (const auto& c : cases) EXPECT_EQ(Parsed(c.text), c.parsed) << c.text;
  EXPECT_EQ(Parsed("ABOUTABOUTABOUTABOUT 12 JAN 1900"), "1 0 12 1 1900 0");
  EXPECT_EQ(Parsed("12 JANUARYJANUARYJANUARY 1900"), "1 0 12 7 1900 0");
  PackedDate date = 1234;
  EXPECT_EQ(ParseDate(date, nullptr), 0);  // a null text leaves the target alone
  EXPECT_EQ(date, 1234u);
}

}  // namespace
}  // namespace kw
