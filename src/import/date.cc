#include "import/date.h"

#include <cstring>
#include <string>

#include "base/fold.h"
#include "base/gedcom_line.h"

namespace kw {

namespace {

const char* const kMonths[12] = {"JAN", "FEB", "MAR", "APR", "MAI", "JUN",
                                 "JUL", "AUG", "SEP", "OKT", "NOV", "DEZ"};

// Searched in this order; the code is the position modulo 4 plus 1.
const char* const kQualifiers[8] = {"BEF", "AFT", "ABT", "CAL", "VOR", "NAC", "UNG", "BER"};

// February allows 29 days in every year.
const int kDaysInMonth[12] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

constexpr int kMaxYear = 2100;
constexpr int kMaxSpan = 10;

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool EqualIgnoringCase(const char* a, const char* b) {
  for (; *a != '\0' && *b != '\0'; ++a, ++b) {
    if (Upper(*a) != Upper(*b)) return false;
  }
  return *a == *b;
}

// Reads a number as atoi does: leading blanks, an optional sign, the digits.
// The value is kept modulo 2^32, which keeps the low bits every field needs.
// `found` tells whether there was at least one digit; `text` moves past it.
uint32_t ReadNumber(const char*& text, bool& found) {
  const char* p = text;
  while (IsGedcomSpace(*p)) ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') negative = *p++ == '-';
  uint32_t value = 0;
  found = false;
  while (*p >= '0' && *p <= '9') {
    value = value * 10 + static_cast<uint32_t>(*p++ - '0');
    found = true;
  }
  if (found) text = p;
  return negative ? 0u - value : value;
}

uint32_t NumberOf(const char* text) {
  bool found = false;
  return ReadNumber(text, found);
}

// Splits into at most four blank-separated tokens, each read whole; further
// tokens are not read. Returns how many were found.
int SplitTokens(const char* text, std::string tokens[4]) {
  int n = 0;
  const char* p = text;
  while (n < 4) {
    while (IsGedcomSpace(*p)) ++p;
    if (*p == '\0') break;
    const char* start = p;
    while (*p != '\0' && !IsGedcomSpace(*p)) ++p;
    tokens[n++].assign(start, p);
  }
  return n;
}

// The dotted numeric form "%d.%d.%d": how many numbers were read, each a
// number directly followed by the dot before the next one.
int ReadDotted(const char* text, uint32_t numbers[3]) {
  int n = 0;
  const char* p = text;
  while (n < 3) {
    bool found = false;
    numbers[n] = ReadNumber(p, found);
    if (!found) break;
    ++n;
    if (*p != '.') break;
    ++p;
  }
  return n;
}

// Fills the fields by the number of tokens; false when the date is
// rejected. Fields stored before a rejection stay in the target.
bool FillFields(PackedDate& target, const char* text, int n, const std::string t[4]) {
  switch (n) {
    case 0:
      return true;
    case 1: {
      if (std::strchr(text, '.') != nullptr) {
        uint32_t numbers[3];
        int count = ReadDotted(text, numbers);
        if (count == 0) return false;
        if (count == 3) SetDateField(target, kDateDay, numbers[0]);
        if (count >= 2) SetDateField(target, kDateMonth, numbers[count - 2]);
        SetDateField(target, kDateYear, numbers[count - 1]);
        return true;
      }
      int month = MonthNumber(t[0].c_str());
      if (month != 0) {
        SetDateField(target, kDateMonth, month);
      } else {
        SetDateField(target, kDateYear, NumberOf(t[0].c_str()));
      }
      return true;
    }
    case 2: {
      int qualifier = QualifierCode(t[0].c_str());
      if (qualifier != 0) {
        SetDateField(target, kDateQualifier, qualifier);
        SetDateField(target, kDateYear, NumberOf(t[1].c_str()));
        return true;
      }
      int month = MonthNumber(t[0].c_str());
      if (month != 0) {
        SetDateField(target, kDateMonth, month);
        SetDateField(target, kDateYear, NumberOf(t[1].c_str()));
        return true;
      }
      SetDateField(target, kDateDay, NumberOf(t[0].c_str()));
      month = MonthNumber(t[1].c_str());
      if (month == 0) return false;
      SetDateField(target, kDateMonth, month);
      return true;
    }
    case 3: {
      int qualifier = QualifierCode(t[0].c_str());
      if (qualifier != 0) {
        SetDateField(target, kDateQualifier, qualifier);
      } else {
        SetDateField(target, kDateDay, NumberOf(t[0].c_str()));
      }
      int month = MonthNumber(t[1].c_str());
      if (month == 0) return false;
      SetDateField(target, kDateMonth, month);
      SetDateField(target, kDateYear, NumberOf(t[2].c_str()));
      return true;
    }
    default: {
      int qualifier = QualifierCode(t[0].c_str());
      SetDateField(target, kDateQualifier, qualifier);
      SetDateField(target, kDateDay, NumberOf(t[1].c_str()));
      int month = MonthNumber(t[2].c_str());
      if (month == 0) return false;
      SetDateField(target, kDateMonth, month);
      SetDateField(target, kDateYear, NumberOf(t[3].c_str()));
      return true;
    }
  }
}

// The plausibility tests after filling; false when the date is rejected.
bool CheckFields(PackedDate& target, const char* text) {
  int year = DateYear(target);
  if (year > kMaxYear) return false;
  int month = DateMonth(target);
  if (month >= 1 && month <= 12 && DateDay(target) > kDaysInMonth[month - 1]) return false;
  const char* slash = std::strchr(text, '/');
  if (slash == nullptr) return true;
  uint32_t span = (NumberOf(slash + 1) - static_cast<uint32_t>(year)) % 128;
  SetDateField(target, kDateSpan, span);
  return span <= kMaxSpan;
}

}  // namespace

int MonthNumber(const char* token) {
  // A few English abbreviations are recognised whole before the first
  // letter decides ("Mar" would otherwise be May by its M).
  if (token == nullptr) return 0;
  if (FoldCompare(token, "Apr", 1000) == 0) return 4;
  if (FoldCompare(token, "Mar", 1000) == 0) return 3;
  if (FoldCompare(token, "Jan", 1000) == 0) return 1;
  if (FoldCompare(token, "Jun", 1000) == 0) return 6;
  for (int month = 12; month >= 1; --month) {
    if (Upper(token[0]) == kMonths[month - 1][0]) return month;
  }
  return 0;
}

int QualifierCode(const char* token) {
  if (token == nullptr) return 0;
  for (int position = 0; position < 8; ++position) {
    if (EqualIgnoringCase(token, kQualifiers[position])) return position % 4 + 1;
  }
  return 0;
}

int ParseDate(PackedDate& target, const char* text) {
  if (text == nullptr) return 0;
  std::string tokens[4];
  int n = SplitTokens(text, tokens);
  target = kDateIncomplete;
  if (!FillFields(target, text, n, tokens)) return 0;
  if (!CheckFields(target, text)) return 0;
  target &= ~kDateIncomplete;
  return 1;
}

}  // namespace kw
