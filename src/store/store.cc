#include "store/store.h"

#include <algorithm>

#include "base/gedcom_line.h"
#include "base/reporter.h"

namespace kw {

// A reload keeps the ends of the earlier load, and the checks visit every
// number below them: the tables reach at least that far.
void PrepareSlot(InputSlot& slot, int32_t personTable, int32_t familyTable) {
  int32_t persons = std::max({personTable, slot.personEnd, 1});
  int32_t families = std::max({familyTable, slot.familyEnd, 1});
  slot.persons.assign(static_cast<size_t>(persons), Person{});
  slot.families.assign(static_cast<size_t>(families), Family{});
  slot.sortIndex.clear();
  slot.pool.Clear();
  slot.personCount = 0;
  slot.familyCount = 0;
  slot.personXref.clear();
  slot.familyXref.clear();
  slot.personByXref.clear();
  slot.familyByXref.clear();
  slot.personLogNumber.clear();
  slot.familyLogNumber.clear();
  slot.otherRecordPos.clear();
  slot.xrefs.clear();
}

Person& PersonEntry(InputSlot& slot, int32_t n) {
  if (static_cast<size_t>(n) >= slot.persons.size()) slot.persons.resize(static_cast<size_t>(n) + 1);
  return slot.persons[n];
}

Family& FamilyEntry(InputSlot& slot, int32_t n) {
  if (static_cast<size_t>(n) >= slot.families.size()) {
    slot.families.resize(static_cast<size_t>(n) + 1);
  }
  return slot.families[n];
}

namespace {
int32_t Sequence(const std::vector<int32_t>& sequences, int32_t m) {
  return m >= 0 && static_cast<size_t>(m) < sequences.size() ? sequences[m] : 0;
}
}  // namespace

int32_t NoteSequence(const InputSlot& slot, int32_t m) { return Sequence(slot.noteSeq, m); }
int32_t SourceSequence(const InputSlot& slot, int32_t m) { return Sequence(slot.sourceSeq, m); }

namespace {
std::string Xref(const std::unordered_map<int32_t, std::string>& kept, char letter, int32_t n) {
  auto it = kept.find(n);
  if (it != kept.end()) return it->second;
  return "@" + std::string(1, letter) + std::to_string(n) + "@";
}
}  // namespace

std::string PersonXref(const InputSlot& slot, int32_t person) {
  return Xref(slot.personXref, 'I', person);
}

std::string FamilyXref(const InputSlot& slot, int32_t family) {
  return Xref(slot.familyXref, 'F', family);
}

namespace {
// A name the slot keeps, or "@<letter><digits>@" below the capacity, the
// form a record keeps its number in; -1 for every other form.
int32_t NumberOf(const std::unordered_map<std::string, int32_t>& named, char letter,
                 int32_t capacity, std::string_view xref) {
  auto it = named.find(std::string(xref));
  if (it != named.end()) return it->second;
  return static_cast<int32_t>(XrefNumber(xref, letter, capacity));
}
}  // namespace

int32_t PersonNumberOf(const InputSlot& slot, std::string_view xref) {
  return NumberOf(slot.personByXref, 'I', kKeptPersonLimit, xref);
}

int32_t FamilyNumberOf(const InputSlot& slot, std::string_view xref) {
  return NumberOf(slot.familyByXref, 'F', kKeptFamilyLimit, xref);
}

bool HasRecordNamed(const InputSlot& slot0, const std::string& xref) {
  if (slot0.xrefs.count(xref) != 0) return true;
  int32_t n = PersonNumberOf(slot0, xref);
  if (n >= 0 && static_cast<size_t>(n) < slot0.persons.size() && slot0.persons[n].recordPos != 0 &&
      PersonXref(slot0, n) == xref) {
    return true;
  }
  n = FamilyNumberOf(slot0, xref);
  return n >= 0 && static_cast<size_t>(n) < slot0.families.size() &&
         slot0.families[n].recordPos != 0 && FamilyXref(slot0, n) == xref;
}

long long LogPersonNumber(const InputSlot& slot, int32_t person) {
  auto it = slot.personLogNumber.find(person);
  return it == slot.personLogNumber.end() ? person : it->second;
}

long long LogFamilyNumber(const InputSlot& slot, int32_t family) {
  auto it = slot.familyLogNumber.find(family);
  return it == slot.familyLogNumber.end() ? family : it->second;
}

void HandOverCounters(Store& store) {
  store.slots[1].noteCount = store.slots[0].noteCount;
  store.slots[1].sourceCount = store.slots[0].sourceCount;
}

int32_t RefAt(const RefList& list, int position, Reporter& reporter) {
  if (position >= 0 && position < list.count()) return list.entries[position];
  ShowError(reporter, "Error: [%d] %d", position, list.count());
  return list.entries.empty() ? 0 : list.entries[0];
}

}  // namespace kw
