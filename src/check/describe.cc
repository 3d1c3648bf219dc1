#include "check/describe.h"

#include <charconv>
#include <cstdarg>
#include <cstdio>

#include "base/large_pages.h"

namespace kw {

namespace {

// A person's log line is "%6d " and two names and two years: rarely more.
constexpr size_t kUsualLineBytes = 64;

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

// The pieces "%6lld ", "%s ", "%s ", "%d ", "-%d" and "\n", each left out
// when its value is zero or absent, as the log's rule drops them. A merge
// of a quarter of a million persons describes half a million of them:
// the pieces are put together without printf.
void AppendPersonLine(const InputSlot& slot, int32_t person, std::string& line) {
  const Person& p = slot.persons[person];
  char digits[24];
  if (long long number = LogPersonNumber(slot, person); number != 0) {
    char* end = std::to_chars(digits, digits + sizeof digits, number).ptr;
    for (int pad = 6 - static_cast<int>(end - digits); pad > 0; --pad) line.push_back(' ');
    line.append(digits, end).push_back(' ');
  }
  for (const char* name : {p.givenNames, p.surname}) {
    if (name == nullptr) continue;
    line.append(name).push_back(' ');
  }
  if (int birth = DateYear(p.birth); birth != 0) {
    line.append(digits, std::to_chars(digits, digits + sizeof digits, birth).ptr).push_back(' ');
  }
  if (int death = DateYear(p.death); death != 0) {
    line.push_back('-');
    line.append(digits, std::to_chars(digits, digits + sizeof digits, death).ptr);
  }
  line.push_back('\n');
}

void DescribePerson(Store& store, MergeLog& log, int slot, int person,
                    const PersonLines* lines) {
  std::string_view made = lines != nullptr ? lines->Of(slot, person) : std::string_view();
  if (!made.empty()) {
    log.WriteText(made);
    return;
  }
  std::string line;
  AppendPersonLine(store.slots[slot], person, line);
  log.WriteText(line);
}

void PersonLines::Make(const Store& store) {
  for (int slot = 0; slot < 2; ++slot) {
    const InputSlot& in = store.slots[slot];
    SlotLines& lines = slots_[slot];
    lines.text.clear();
    // Room for every entry's usual line at once; a longer text still grows.
    ReserveOnLargePages(lines.text, in.persons.size() * kUsualLineBytes);
    lines.ends.assign(1, 0);
    lines.ends.reserve(in.persons.size());
    for (size_t n = 1; n < in.persons.size(); ++n) {
      if (in.persons[n].number != 0) AppendPersonLine(in, static_cast<int32_t>(n), lines.text);
      lines.ends.push_back(lines.text.size());
    }
  }
}

std::string_view PersonLines::Of(int slot, int32_t person) const {
  const SlotLines& lines = slots_[slot];
  if (person < 1 || static_cast<size_t>(person) >= lines.ends.size()) return {};
  size_t start = lines.ends[person - 1];
  return std::string_view(lines.text).substr(start, lines.ends[person] - start);
}

// Completes the finding line before it; the next finding's "\r\n" ends it.
void DescribeFamily(Store& store, MergeLog& log, int slot, int family) {
  InputSlot& s = store.slots[slot];
  const Family& f = s.families[family];
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
