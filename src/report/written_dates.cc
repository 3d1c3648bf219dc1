#include "report/written_dates.h"

#include "base/gedcom_line.h"
#include "check/describe.h"
#include "import/date.h"

namespace kw {

namespace {

constexpr uint32_t kBirt = TagCode("BIRT");
constexpr uint32_t kChr = TagCode("CHR");
constexpr uint32_t kDeat = TagCode("DEAT");
constexpr uint32_t kBuri = TagCode("BURI");
constexpr uint32_t kMarr = TagCode("MARR");
constexpr uint32_t kDate = TagCode("DATE");

// The value without its line end and the blanks before it.
std::string_view Trimmed(std::string_view value) {
  while (!value.empty() && IsGedcomSpace(value.back())) value.remove_suffix(1);
  return value;
}

// What was not found again is shown as the log shows it.
void FallBack(ScratchRing& ring, PackedDate date, std::string& text) {
  if (!text.empty() || date == 0) return;
  const char* shown = DateText(ring, date);
  if (shown != nullptr) text = shown;
}

}  // namespace

// The events are told apart as the import tells them: a level-1 line ends
// the event before it, and the first DATE that gives a year counts.
void WrittenDates::Scan(int slot, int64_t position, const bool wanted[3], std::string* found[3]) {
  const InputSlot& s = store_.slots[slot];
  LineReader reader(s.bytes, s.encoding);
  reader.Seek(position);
  int missing = wanted[0] + wanted[1] + wanted[2];
  Event event = kNone;
  std::string_view raw;
  while (missing > 0 && reader.Next(raw)) {
    ScannedLine line = ScanLine(ScanText(s.encoding, raw, storage_));
    if (!line.hasLevel) continue;
    if (line.level == 0) break;
    if (line.level == 1) event = kNone;
    switch (TagCode(line.token2)) {
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
      case kDate: {
        if (event == kNone || !wanted[event] || !found[event]->empty()) break;
        value_.assign(Trimmed(line.value));
        PackedDate date = 0;
        ParseDate(date, value_.c_str());
        if (DateYear(date) == 0) break;
        *found[event] = value_;
        --missing;
        break;
      }
      default:
        break;
    }
  }
}

void WrittenDates::OfPerson(int slot, int32_t person, std::string& birth, std::string& death) {
  birth.clear();
  death.clear();
  const Person& p = store_.slots[slot].persons[person];
  bool wanted[3] = {DateYear(p.birth) != 0, DateYear(p.death) != 0, false};
  std::string* found[3] = {&birth, &death, nullptr};
  if (wanted[0] || wanted[1]) Scan(slot, p.recordPos, wanted, found);
  FallBack(store_.ring, p.birth, birth);
  FallBack(store_.ring, p.death, death);
}

void WrittenDates::OfFamily(int slot, int32_t family, std::string& marriage) {
  marriage.clear();
  const Family& f = store_.slots[slot].families[family];
  bool wanted[3] = {false, false, DateYear(f.marriage) != 0};
  std::string* found[3] = {nullptr, nullptr, &marriage};
  if (wanted[2]) Scan(slot, f.recordPos, wanted, found);
  FallBack(store_.ring, f.marriage, marriage);
}

}  // namespace kw
