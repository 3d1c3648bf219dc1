#include "report/written_dates.h"

#include <algorithm>
#include <cstring>

#include "base/gedcom_line.h"
#include "base/gedcom_tags.h"
#include "check/describe.h"

namespace kw {

namespace {

enum Event { kNone = -1, kBirth = 0, kDeath = 1, kMarriage = 2 };

// Whether the value holds the year as a number of its own ("12 MAY 1850",
// "24.12.1850", "BET 1850 AND 1860" for 1850). The import keeps the first
// date of an event that gives a year, so the first value holding that year
// is the one it read.
bool HoldsYear(std::string_view value, int year) {
  char digits[8] = {};
  int length = 0;
  for (int rest = year; rest > 0 && length < 8; rest /= 10) digits[length++] = '0' + rest % 10;
  std::reverse(digits, digits + length);
  std::string_view wanted(digits, static_cast<size_t>(length));
  auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
  for (size_t at = value.find(wanted); at != std::string_view::npos;
       at = value.find(wanted, at + 1)) {
    bool before = at > 0 && isDigit(value[at - 1]);
    bool after = at + wanted.size() < value.size() && isDigit(value[at + wanted.size()]);
    if (!before && !after) return true;
  }
  return false;
}

// The level and the tag of a line as ScanLine reads them, and no more: the
// report looks at a quarter of a million records for a few DATE lines.
// False for a line without a level (and for a signed one, which names no
// event either).
bool LevelAndTag(std::string_view text, int& level, uint32_t& tag) {
  size_t i = 0;
  const size_t n = text.size();
  while (i < n && IsGedcomSpace(text[i])) ++i;
  if (i >= n || text[i] < '0' || text[i] > '9') return false;
  level = 0;
  for (; i < n && text[i] >= '0' && text[i] <= '9'; ++i) {
    if (level < 1000) level = level * 10 + (text[i] - '0');
  }
  while (i < n && IsGedcomSpace(text[i])) ++i;
  size_t start = i;
  while (i < n && !IsGedcomSpace(text[i])) ++i;
  tag = TagCode(text.substr(start, i - start));
  return true;
}

// What was not found again is shown as the log shows it.
void FallBack(ScratchRing& ring, PackedDate date, std::string& text) {
  if (!text.empty() || date == 0) return;
  const char* shown = DateText(ring, date);
  if (shown != nullptr) text = shown;
}

}  // namespace

// The events are told apart as the import tells them: a level-1 line ends
// the event before it.
WrittenDates::Lines WrittenDates::Scan(int slot, int64_t position, const int years[3]) {
  Lines lines = {-1, -1, -1};
  const InputSlot& s = store_.slots[slot];
  const bool wide = IsUtf16(s.encoding);
  LineReader reader(s.bytes, s.encoding);
  reader.Seek(position);
  const char* const bytes = s.bytes.data();
  const char* const end = bytes + s.bytes.size();
  const char* next = bytes + std::min<int64_t>(position, static_cast<int64_t>(s.bytes.size()));
  // The next line's start and its text. In the byte encodings level and tag
  // are ASCII, so the raw bytes up to the line end show them as the line's
  // Windows-1252 reading would; a short line is quicker to walk than to
  // search, and a run of line ends only skips empty lines.
  int64_t start = 0;
  std::string_view text;
  auto nextLine = [&]() {
    if (wide) {
      start = reader.position();
      std::string_view raw;
      if (!reader.Next(raw)) return false;
      text = ScanText(s.encoding, raw, slots_[slot].storage);
      return true;
    }
    if (next >= end) return false;
    start = next - bytes;
    const char* stop = next;
    while (stop < end && *stop != '\n' && *stop != '\r') ++stop;
    text = std::string_view(next, static_cast<size_t>(stop - next));
    next = stop;
    while (next < end && (*next == '\n' || *next == '\r')) ++next;
    return true;
  };

  int missing = (years[0] != 0) + (years[1] != 0) + (years[2] != 0);
  Event event = kNone;
  while (missing > 0 && nextLine()) {
    int level = 0;
    uint32_t tag = 0;
    if (!LevelAndTag(text, level, tag)) continue;
    if (level == 0) break;
    if (level == 1) event = kNone;
    switch (tag) {
      case kBirt:
      case kChr:
        event = kBirth;
        break;
      case kDeat:
      case kBuri:
        event = kDeath;
        break;
      case kMarr:
        event = kMarriage;
        break;
      case kDate:
        if (event != kNone && years[event] != 0 && lines[event] < 0 &&
            HoldsYear(ScanLine(text).value, years[event])) {
          lines[event] = start;
          --missing;
        }
        break;
      default:
        break;
    }
  }
  return lines;
}

void WrittenDates::Keep(const std::string& text, SlotDates& dates, Kept& kept) {
  if (text.size() <= sizeof(kept.text)) {
    kept.length = static_cast<uint8_t>(text.size());
    text.copy(kept.text, text.size());
    return;
  }
  kept.length = Kept::kLong;
  uint32_t index = static_cast<uint32_t>(dates.longTexts.size());
  std::memcpy(kept.text, &index, sizeof(index));
  dates.longTexts.push_back(text);
}

void WrittenDates::Take(const SlotDates& dates, const Kept& kept, PackedDate date,
                        std::string& text) const {
  if (kept.length != Kept::kLong) {
    text.assign(kept.text, kept.length);
  } else {
    uint32_t index;
    std::memcpy(&index, kept.text, sizeof(index));
    text = dates.longTexts[index];
  }
  FallBack(store_.ring, date, text);
}

void WrittenDates::Locate(int slot, const std::vector<int32_t>& persons) {
  const InputSlot& s = store_.slots[slot];
  // What the scan needs of each person is gathered in one pass, then
  // sorted by record position; the persons' table is not read again.
  struct Wanted {
    int64_t position;
    uint32_t entry;
    int years[3];
    bool operator<(const Wanted& other) const { return position < other.position; }
  };
  std::vector<Wanted> wanted;
  wanted.reserve(persons.size());
  constexpr size_t kAhead = 16;
  for (size_t k = 0; k < persons.size(); ++k) {
    if (k + kAhead < persons.size()) __builtin_prefetch(&s.persons[persons[k + kAhead]]);
    const Person& p = s.persons[persons[k]];
    if (p.birth == 0 && p.death == 0) continue;
    wanted.push_back(
        {p.recordPos, static_cast<uint32_t>(k), {DateYear(p.birth), DateYear(p.death), 0}});
  }
  std::sort(wanted.begin(), wanted.end());
  SlotDates& dates = slots_[slot];
  dates.persons = persons;
  dates.kept.assign(persons.size(), {});
  dates.longTexts.clear();
  std::string birth, death;
  for (const Wanted& w : wanted) {
    birth.clear();
    death.clear();
    Lines lines = Scan(slot, w.position, w.years);
    if (lines[kBirth] >= 0) AppendValue(slot, lines[kBirth], birth);
    if (lines[kDeath] >= 0) AppendValue(slot, lines[kDeath], death);
    Keep(birth, dates, dates.kept[w.entry][kBirth]);
    Keep(death, dates, dates.kept[w.entry][kDeath]);
  }
}

void WrittenDates::OfEntry(int slot, size_t k, std::string& birth, std::string& death) const {
  const SlotDates& dates = slots_[slot];
  const Person& p = store_.slots[slot].persons[dates.persons[k]];
  Take(dates, dates.kept[k][kBirth], p.birth, birth);
  Take(dates, dates.kept[k][kDeath], p.death, death);
}

void WrittenDates::AppendValue(int slot, int64_t start, std::string& text) {
  const InputSlot& s = store_.slots[slot];
  size_t length = RawLineLength(s.bytes, static_cast<size_t>(start), s.encoding);
  std::string_view raw = std::string_view(s.bytes).substr(static_cast<size_t>(start), length);
  std::string_view value = ScanLine(ScanText(s.encoding, raw, slots_[slot].storage)).value;
  while (!value.empty() && IsGedcomSpace(value.back())) value.remove_suffix(1);
  text.append(value);
}

void WrittenDates::OfPerson(int slot, int32_t person, std::string& birth, std::string& death) {
  birth.clear();
  death.clear();
  const Person& p = store_.slots[slot].persons[person];
  if (p.birth != 0 || p.death != 0) {
    int years[3] = {DateYear(p.birth), DateYear(p.death), 0};
    Lines lines = Scan(slot, p.recordPos, years);
    if (lines[kBirth] >= 0) AppendValue(slot, lines[kBirth], birth);
    if (lines[kDeath] >= 0) AppendValue(slot, lines[kDeath], death);
  }
  FallBack(store_.ring, p.birth, birth);
  FallBack(store_.ring, p.death, death);
}

void WrittenDates::OfFamily(int slot, int32_t family, std::string& marriage) {
  marriage.clear();
  const Family& f = store_.slots[slot].families[family];
  int years[3] = {0, 0, DateYear(f.marriage)};
  if (years[kMarriage] != 0) {
    Lines lines = Scan(slot, f.recordPos, years);
    if (lines[kMarriage] >= 0) AppendValue(slot, lines[kMarriage], marriage);
  }
  FallBack(store_.ring, f.marriage, marriage);
}

}  // namespace kw
