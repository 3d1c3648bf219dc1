#include "check/describe.h"

#include <cstdarg>
#include <cstdio>

namespace kw {

namespace {

// Qualifier names by qualifier value; the import stores only 1 to 4.
const char* const kQualifierNames[8] = {nullptr, "VOR", "NAC", "UNG", "BER", "?", "??", "???"};

// Month names by month value. Months 13 to 15 (dotted dates only) have none.
const char* const kMonthNames[13] = {nullptr, "JAN", "FEB", "MAR", "APR", "MAI", "JUN",
                                     "JUL",   "AUG", "SEP", "OKT", "NOV", "DEZ"};

constexpr int kDateTextSize = 26;

// Appends printf output to the text being built in `text` (kDateTextSize
// bytes); `used` is the current length.
void AppendPiece(char* text, int& used, const char* format, ...)
    __attribute__((format(printf, 3, 4)));

void AppendPiece(char* text, int& used, const char* format, ...) {
  va_list args;
  va_start(args, format);
  int written = std::vsnprintf(text + used, static_cast<size_t>(kDateTextSize - used), format, args);
  va_end(args);
  if (written > 0) used += written;
  if (used > kDateTextSize - 1) used = kDateTextSize - 1;
}

// A missing surname beside stored given names is written as nothing rather
// than as whatever printf makes of a null text.
const char* OrEmpty(const char* text) { return text != nullptr ? text : ""; }

}  // namespace

const char* DateText(ScratchRing& ring, PackedDate date) {
  int year = DateYear(date);
  int month = DateMonth(date);
  if (year == 0 && month == 0) return nullptr;

  char* text = ring.Take(kDateTextSize);
  int used = 0;
  int qualifier = DateQualifier(date);
  int day = DateDay(date);
  int span = DateSpan(date);

  if (qualifier != 0) AppendPiece(text, used, "%s ", kQualifierNames[qualifier]);
  if (day != 0) AppendPiece(text, used, "%d ", day);
  if (month >= 1 && month <= 12) AppendPiece(text, used, "%s", kMonthNames[month]);
  if (month > 12) AppendPiece(text, used, "%d", month);
  if (month != 0 && year != 0) AppendPiece(text, used, " ");
  if (year != 0) AppendPiece(text, used, "%d", year);
  if (span != 0) AppendPiece(text, used, "/%d", year + span);
  return text;
}

// Each piece is one Write: a missing name or a zero year drops out by the
// log's rule that a zero or null first value writes nothing.
void DescribePerson(Store& store, MergeLog& log, int slot, int person) {
  const Person& p = store.slots[slot].persons[person];
  LogUnit unit(log);
  log.Write("%6lld ", LogPersonNumber(store.slots[slot], person));
  log.Write("%s ", p.givenNames);
  log.Write("%s ", p.surname);
  log.Write("%d ", DateYear(p.birth));
  log.Write("-%d", DateYear(p.death));
  log.Write("\n", 1);
}

// Completes the finding line before it; the next finding's "\r\n" ends it.
void DescribeFamily(Store& store, MergeLog& log, int slot, int family) {
  InputSlot& s = store.slots[slot];
  const Family& f = s.families[family];
  LogUnit unit(log);
  log.Write(" Fam [%lld] ", LogFamilyNumber(s, family));
  if (f.husband != 0) {
    const Person& husband = s.persons[f.husband];
    log.Write("%s %s ", husband.givenNames, OrEmpty(husband.surname));
  }
  if (f.wife != 0) {
    const Person& wife = s.persons[f.wife];
    log.Write("- %s %s ", wife.givenNames, OrEmpty(wife.surname));
  }
  if (DateYear(f.marriage) != 0) log.Write(" & %s ", DateText(store.ring, f.marriage));
}

}  // namespace kw
