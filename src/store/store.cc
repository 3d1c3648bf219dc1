#include "store/store.h"

#include "base/gedcom_line.h"
#include "base/reporter.h"

namespace kw {

Store::Store() : notePos(kNoteCapacity, 0), sourcePos(kNoteCapacity, 0) {
  for (InputSlot& slot : slots) {
    slot.noteSeq.assign(kNoteCapacity, 0);
    slot.sourceSeq.assign(kNoteCapacity, 0);
  }
}

void PrepareSlot(InputSlot& slot) {
  slot.persons.assign(kPersonCapacity, Person{});
  slot.families.assign(kFamilyCapacity, Family{});
  slot.sortIndex.assign(kPersonCapacity, 0);
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
  return NumberOf(slot.personByXref, 'I', kPersonCapacity, xref);
}

int32_t FamilyNumberOf(const InputSlot& slot, std::string_view xref) {
  return NumberOf(slot.familyByXref, 'F', kFamilyCapacity, xref);
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
