// The store: everything the tool knows about the two GEDCOM files while it
// runs. Slot 0 holds input file 1 ("Datei1"), slot 1 input file 2. Each slot
// has tables indexed directly by record number, sized from its file (the
// merge adds records to slot 0 at their ends), and a text pool for its
// names; the program keeps the positions of note and source records by
// sequence number, and the scratch ring.
//
// A Store is one plain object owned by whoever runs a load or a merge (the
// dialog, the command line, a test); nothing of it is global.
#ifndef KINWEAVE_STORE_STORE_H_
#define KINWEAVE_STORE_STORE_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "base/codec.h"
#include "base/large_pages.h"
#include "store/provenance.h"
#include "store/record_names.h"
#include "store/records.h"
#include "store/scratch_ring.h"
#include "store/text_pool.h"

namespace kw {

class Reporter;

// The tables of a slot, by record number: the largest blocks of a run,
// laid on large pages where the system offers them.
using PersonTable = std::vector<Person, LargePageAllocator<Person>>;
using FamilyTable = std::vector<Family, LargePageAllocator<Family>>;

// A record named @I<n>@ (@F<n>@) with n below this keeps n as its number;
// every other record is numbered above the highest kept one.
constexpr int32_t kKeptPersonLimit = 250000;
constexpr int32_t kKeptFamilyLimit = 100000;
// Notes and sources numbered from this up are not numbered by the import
// (nine-digit numbers of online services): they keep their names.
constexpr int32_t kNoteNumberLimit = 200000;

struct InputSlot {
  PersonTable persons;    // by number; entry 0 is never a record
  FamilyTable families;   // by number; entry 0 is never a record
  std::vector<int32_t> sortIndex; // person numbers in file order, personCount of them
  // The sortIndex has been put in name order for the merge pass already.
  bool sortedByName = false;
  int32_t personCount = 0;        // INDI records read
  int32_t familyCount = 0;        // FAM records read
  int32_t personEnd = 0;          // one more than the highest person number stored
  int32_t familyEnd = 0;          // one more than the highest family number stored
  // Note number -> sequence number, 0 = unreferenced; as long as the highest
  // number referenced (see NoteSequence).
  std::vector<int32_t> noteSeq;
  std::vector<int32_t> sourceSeq; // the same for sources
  int32_t noteCount = 0;          // last note sequence number handed out
  int32_t sourceCount = 0;        // last source sequence number handed out
  // The cross-reference a person or family record is written under in its
  // file, kept only where it differs from "@I<number>@" / "@F<number>@"
  // (zero-padded numbers such as @I00122@, letters after the number, and
  // every name whose number the import handed out), both ways.
  RecordNames personNames;
  RecordNames familyNames;
  // Where each other level-0 record with a cross-reference starts (the
  // first byte after its level-0 line), by its whole cross-reference:
  // REPO, OBJE, SUBM, SUBN, user-defined records, and notes and sources
  // the import could not number (@SOURCE1@). The first of a repeated name.
  std::unordered_map<std::string, int64_t> otherRecordPos;
  // Slot 0 only: the cross-references of input file 1's level-0 lines
  // other than persons, families and the notes and sources the import
  // numbered: the names these records keep in the output. Ask
  // HasRecordNamed.
  std::unordered_set<std::string> xrefs;
  std::string filePath;           // the input file, native path bytes
  // The input file as it was read, whole: the import reads its records from
  // it and the export reads them again, at the positions the import noted.
  std::string bytes;
  InputEncoding encoding = kEncodingPlain;  // as the slot's import ended
  TextPool pool;                  // the names of the slot's persons

  bool prepared() const { return !persons.empty(); }
};

struct Store {
  InputSlot slots[2];
  std::vector<int64_t> notePos;    // by note sequence number; 0 = not read
  std::vector<int64_t> sourcePos;  // by source sequence number
  ScratchRing ring;
  Provenance provenance;  // what the merge report tells; see provenance.h
};

// Fresh person and family tables for a slot with room for the numbers below
// the given sizes and below the slot's ends (at least entry 0), an empty
// sort index (not in name order) and name pool;
// counts to 0. The ends, the note and source maps and their counters, the
// path and the bytes stay.
void PrepareSlot(InputSlot& slot, int32_t personTable = 1, int32_t familyTable = 1);

// The person (family) entry `n`, the table grown to hold it first.
Person& PersonEntry(InputSlot& slot, int32_t n);
Family& FamilyEntry(InputSlot& slot, int32_t n);

// Whether `n` is a number the slot's table holds (present or not).
inline bool HoldsPerson(const InputSlot& slot, int32_t n) {
  return n > 0 && static_cast<size_t>(n) < slot.persons.size();
}
inline bool HoldsFamily(const InputSlot& slot, int32_t n) {
  return n > 0 && static_cast<size_t>(n) < slot.families.size();
}

// The sequence number of note (source) `m` of the slot, 0 when none.
int32_t NoteSequence(const InputSlot& slot, int32_t m);
int32_t SourceSequence(const InputSlot& slot, int32_t m);

// The cross-reference of a person or family as its file writes it.
std::string PersonXref(const InputSlot& slot, int32_t person);
std::string FamilyXref(const InputSlot& slot, int32_t family);

// The number of the slot's person or family record written under `xref`,
// or -1 when the slot has no such record name.
int32_t PersonNumberOf(const InputSlot& slot, std::string_view xref);
int32_t FamilyNumberOf(const InputSlot& slot, std::string_view xref);

// Whether input file 1 (slot 0) has a level-0 record of this name, so a
// record carried over from input file 2 must not take it.
bool HasRecordNamed(const InputSlot& slot0, const std::string& xref);

// The number a log line shows for a person or family of the slot.
long long LogPersonNumber(const InputSlot& slot, int32_t person);
long long LogFamilyNumber(const InputSlot& slot, int32_t family);

// After a load of slot 0: slot 1 numbers its notes and sources on from
// where slot 0's end.
void HandOverCounters(Store& store);

// The entry at `position`; a position beyond the count shows
// "Error: [%d] %d" and gives the first entry.
int32_t RefAt(const RefList& list, int position, Reporter& reporter);

}  // namespace kw

#endif  // KINWEAVE_STORE_STORE_H_
