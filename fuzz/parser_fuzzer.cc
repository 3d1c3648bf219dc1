// Fuzz target: the record parser and the checks of one slot. Any bytes are
// the file of input file 1: read into slot 0, checked and repaired, with the
// log written into this process's temporary folder. Checked: the counts and
// ends stay within the tables, the name order holds only numbers of
// records, every link names an entry of its table, and records start inside
// the file.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "base/merge_log.h"
#include "check/checks.h"
#include "fuzz_support.h"
#include "import/parser.h"
#include "store/store.h"
#include "support/recording_reporter.h"

namespace {

using namespace kw;

void CheckLinks(const RefList& list, size_t tableSize) {
  for (int32_t n : list) FUZZ_CHECK(n >= 0 && static_cast<size_t>(n) < tableSize);
}

void CheckSlotTables(const InputSlot& slot) {
  const int64_t size = static_cast<int64_t>(slot.bytes.size());
  const size_t persons = slot.persons.size();
  const size_t families = slot.families.size();
  FUZZ_CHECK(slot.personCount >= 0 && static_cast<size_t>(slot.personCount) <= slot.sortIndex.size());
  FUZZ_CHECK(slot.personEnd >= 0 && static_cast<size_t>(slot.personEnd) <= persons);
  FUZZ_CHECK(slot.familyEnd >= 0 && static_cast<size_t>(slot.familyEnd) <= families);
  for (int32_t i = 0; i < slot.personCount; ++i) {
    FUZZ_CHECK(slot.sortIndex[i] >= 1 && slot.sortIndex[i] < slot.personEnd);
  }
  for (int32_t p = 1; p < slot.personEnd; ++p) {
    const Person& person = slot.persons[p];
    FUZZ_CHECK(person.number == 0 || person.number == p);
    FUZZ_CHECK(person.recordPos >= 0 && person.recordPos <= size);
    CheckLinks(person.spouseFamilies, families);
    CheckLinks(person.parentFamilies, families);
  }
  for (int32_t f = 1; f < slot.familyEnd; ++f) {
    const Family& family = slot.families[f];
    FUZZ_CHECK(family.number == 0 || family.number == f);
    FUZZ_CHECK(family.recordPos >= 0 && family.recordPos <= size);
    FUZZ_CHECK(family.husband >= 0 && static_cast<size_t>(family.husband) < persons);
    FUZZ_CHECK(family.wife >= 0 && static_cast<size_t>(family.wife) < persons);
    CheckLinks(family.children, persons);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::ProcessFolder folder;
  auto store = std::make_unique<Store>();
  InputSlot& slot = store->slots[0];
  slot.filePath = folder.File("datei1.ged");
  slot.bytes.assign(reinterpret_cast<const char*>(data), size);
  RecordingReporter reporter;
  {
    MergeLog log(slot.filePath, reporter);
    ParseResult parsed = ParseGedcom(slot, 0, reporter);
    FUZZ_CHECK(parsed.gedcomRecords >= 0 && parsed.skippedLines >= 0);
    CheckSlotTables(slot);
    CheckSlot(*store, log, 0);
    CheckSlotTables(slot);
  }
  // The log is the only file the checks write, beside input file 1.
  for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
    FUZZ_CHECK(entry.path().filename() == "log");
  }
  return 0;
}
