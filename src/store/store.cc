#include "store/store.h"

#include <algorithm>
#include <charconv>

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
  slot.sortedByName = false;
  slot.pool.Clear();
  slot.personCount = 0;
  slot.familyCount = 0;
  slot.personNames.Clear();
  slot.familyNames.Clear();
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

// Every link the export writes asks for a name: built in place, not from
// four strings.
std::string Xref(const RecordNames& names, char letter, int32_t n) {
  std::string_view name = names.NameOf(n);
  if (!name.empty()) return std::string(name);
  char text[16] = {'@', letter};
  char* end = std::to_chars(text + 2, text + sizeof text - 1, n).ptr;
  *end++ = '@';
  return std::string(text, end);
}

// A name the slot keeps, or "@<letter><digits>@" below the kept limit, the
// form a record keeps its number in; -1 for every other form. From the
// kept limit up, the import numbers records on in file order, and a record
// can come to the very number its name carries ("@I250000@" the first after
// @I249999@): its name is then the plain one and is not kept, so such a
// name stands for that number too when the slot's table (`tableSize`
// entries) holds it and gives it no other name.
int32_t NumberOf(const RecordNames& names, char letter, int32_t limit, size_t tableSize,
                 std::string_view xref) {
  int32_t n = names.NumberOf(xref);
  if (n >= 0) return n;
  int64_t plain = XrefNumber(xref, letter, std::max<int64_t>(limit, tableSize));
  if (plain < limit) return static_cast<int32_t>(plain);
  if (!names.NameOf(static_cast<int32_t>(plain)).empty()) return -1;
  return static_cast<int32_t>(plain);
}

}  // namespace

std::string PersonXref(const InputSlot& slot, int32_t person) {
  return Xref(slot.personNames, 'I', person);
}

std::string FamilyXref(const InputSlot& slot, int32_t family) {
  return Xref(slot.familyNames, 'F', family);
}

int32_t PersonNumberOf(const InputSlot& slot, std::string_view xref) {
  return NumberOf(slot.personNames, 'I', kKeptPersonLimit, slot.persons.size(), xref);
}

int32_t FamilyNumberOf(const InputSlot& slot, std::string_view xref) {
  return NumberOf(slot.familyNames, 'F', kKeptFamilyLimit, slot.families.size(), xref);
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

// A kept number's other name only pads it with zeros: its digits are the
// number itself.
long long LogPersonNumber(const InputSlot& slot, int32_t person) {
  std::string_view name = slot.personNames.NameOf(person);
  return name.empty() ? person : DisplayNumber(name, person);
}

long long LogFamilyNumber(const InputSlot& slot, int32_t family) {
  std::string_view name = slot.familyNames.NameOf(family);
  return name.empty() ? family : DisplayNumber(name, family);
}

void HandOverCounters(Store& store) {
  store.slots[1].noteCount = store.slots[0].noteCount;
  store.slots[1].sourceCount = store.slots[0].sourceCount;
}

int32_t RefAt(const RefList& list, int position, Reporter& reporter) {
  if (position >= 0 && position < list.count()) return list[position];
  ShowError(reporter, "Error: [%d] %d", position, list.count());
  return list.empty() ? 0 : list[0];
}

}  // namespace kw
