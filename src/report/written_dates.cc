#include "report/written_dates.h"

#include <algorithm>
#include <cstring>

#include "base/gedcom_line.h"
#include "base/large_pages.h"
#include "check/describe.h"

namespace kw {

namespace {

enum Event { kBirth = 0, kDeath = 1 };

// What was not found again is shown as the log shows it.
void FallBack(ScratchRing& ring, PackedDate date, std::string& text) {
  if (!text.empty() || date == 0) return;
  const char* shown = DateText(ring, date);
  if (shown != nullptr) text = shown;
}

}  // namespace

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
                        ScratchRing& ring, std::string& text) {
  if (kept.length != Kept::kLong) {
    text.assign(kept.text, kept.length);
  } else {
    uint32_t index;
    std::memcpy(&index, kept.text, sizeof(index));
    text = dates.longTexts[index];
  }
  FallBack(ring, date, text);
}

void WrittenDates::Locate(int slot, const std::vector<int32_t>& persons) {
  Gather(slot, persons);
  Scan(slot);
}

void WrittenDates::Gather(int slot, const std::vector<int32_t>& persons) {
  const InputSlot& s = store_.slots[slot];
  // What the scan needs of each person is gathered in one pass, then
  // sorted by record position; the persons' table is not read again.
  SlotDates& dates = slots_[slot];
  std::vector<Wanted>& wanted = dates.wanted;
  wanted.clear();
  ReserveOnLargePages(wanted, persons.size());
  constexpr size_t kAhead = 16;
  for (size_t k = 0; k < persons.size(); ++k) {
    if (k + kAhead < persons.size()) __builtin_prefetch(&s.persons[persons[k + kAhead]]);
    const Person& p = s.persons[persons[k]];
    if (p.birthDatePos == 0 && p.deathDatePos == 0) continue;
    wanted.push_back({p.recordPos, static_cast<uint32_t>(k), {p.birthDatePos, p.deathDatePos}});
  }
  std::sort(wanted.begin(), wanted.end());
  dates.persons = persons;
}

void WrittenDates::Scan(int slot) {
  SlotDates& dates = slots_[slot];
  dates.kept.assign(dates.persons.size(), {});
  dates.longTexts.clear();
  std::string birth, death;
  for (const Wanted& w : dates.wanted) {
    birth.clear();
    death.clear();
    AppendValue(slot, w.lines[kBirth], birth);
    AppendValue(slot, w.lines[kDeath], death);
    Keep(birth, dates, dates.kept[w.entry][kBirth]);
    Keep(death, dates, dates.kept[w.entry][kDeath]);
  }
  dates.wanted = {};
}

void WrittenDates::OfEntry(int slot, size_t k, std::string& birth, std::string& death,
                           ScratchRing& ring) const {
  const SlotDates& dates = slots_[slot];
  const Person& p = store_.slots[slot].persons[dates.persons[k]];
  Take(dates, dates.kept[k][kBirth], p.birth, ring, birth);
  Take(dates, dates.kept[k][kDeath], p.death, ring, death);
}

void WrittenDates::AppendValue(int slot, int64_t start, std::string& text) {
  if (start <= 0) return;
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
  AppendValue(slot, p.birthDatePos, birth);
  AppendValue(slot, p.deathDatePos, death);
  FallBack(store_.ring, p.birth, birth);
  FallBack(store_.ring, p.death, death);
}

void WrittenDates::OfFamily(int slot, int32_t family, std::string& marriage) {
  marriage.clear();
  const Family& f = store_.slots[slot].families[family];
  AppendValue(slot, f.marriageDatePos, marriage);
  FallBack(store_.ring, f.marriage, marriage);
}

}  // namespace kw
