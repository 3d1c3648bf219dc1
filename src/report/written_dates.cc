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

void WrittenDates::Locate(int slot) {
  const InputSlot& s = store_.slots[slot];
  // Where the dates stand is gathered in one pass over the table, then
  // sorted by record position: a slot's numbers need not follow its file.
  std::vector<Wanted> wanted;
  ReserveOnLargePages(wanted, s.persons.size());
  for (size_t k = 0; k < s.persons.size(); ++k) {
    const Person& p = s.persons[k];
    if (p.birthDatePos == 0 && p.deathDatePos == 0) continue;
    wanted.push_back({p.recordPos, static_cast<int32_t>(k), {p.birthDatePos, p.deathDatePos}});
  }
  std::sort(wanted.begin(), wanted.end());

  SlotDates& dates = slots_[slot];
  dates.kept.assign(s.persons.size(), {});
  dates.longTexts.clear();
  std::string birth, death;
  for (const Wanted& w : wanted) {
    birth.clear();
    death.clear();
    AppendValue(slot, w.lines[kBirth], birth);
    AppendValue(slot, w.lines[kDeath], death);
    Keep(birth, dates, dates.kept[w.person][kBirth]);
    Keep(death, dates, dates.kept[w.person][kDeath]);
  }
}

void WrittenDates::OfLocated(int slot, int32_t person, std::string& birth, std::string& death,
                             ScratchRing& ring) const {
  const SlotDates& dates = slots_[slot];
  const Person& p = store_.slots[slot].persons[person];
  Take(dates, dates.kept[person][kBirth], p.birth, ring, birth);
  Take(dates, dates.kept[person][kDeath], p.death, ring, death);
}

void WrittenDates::Prefetch(int slot, int32_t person) const {
  __builtin_prefetch(&slots_[slot].kept[person]);
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
