// The numbering of the merged output. Slot 0's tables are the output's
// tables: a person or family of input file 1 keeps its number and its
// cross-reference; one of input file 2 takes the number of its matched
// counterpart or is added to slot 0 under the next free number. Notes and
// sources carry the sequence numbers the import handed out.
//
// Renumbering copies the relatives of matched persons from input file 2
// into slot 0 (MapPerson, AddFamily, CompleteMergedFamily,
// TakeOverFamilies) and writes re-read records with every reference in the
// output's numbering and the family link lines generated from slot 0's
// tables (WriteRecordTree). Lines of input file 2 that point at other
// records of their file are written with the output's name of what they
// point at: a person or family it holds, or a record carried over.
#ifndef KINWEAVE_EXPORT_RENUMBER_H_
#define KINWEAVE_EXPORT_RENUMBER_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/merge_log.h"
#include "base/reporter.h"
#include "check/describe.h"
#include "export/carried.h"
#include "export/line_node.h"
#include "export/record_io.h"
#include "export/record_plan.h"
#include "store/store.h"

namespace kw {

class Renumbering {
 public:
  // `lines`, when given, are the persons' lines for the log (see
  // PersonLines); they must outlive this object.
  Renumbering(Store& store, MergeLog& log, Reporter& reporter, GedcomOutput& output,
              const PersonLines* lines = nullptr)
      : store_(store), log_(log), reporter_(reporter), output_(output), lines_(lines),
        carried_(store) {}

  // The slot-0 number of slot-1 person `p` (0 for 0 and for an absent
  // person), adding the person to slot 0 when it has none yet; the addition
  // is logged with the person's description and "hinzugefügt (RIN %d)".
  // The tables grow as persons are added; only when no number is left in
  // the index type is nothing added, 0 returned and an error box shown.
  int32_t MapPerson(int32_t p);

  // Adds slot-1 family `g` (unmatched) to slot 0 with its husband, wife and
  // children mapped; returns the new number, or 0 when `g` is absent or no
  // number is left.
  int32_t AddFamily(int32_t g);

  // Reserves room in slot 0's tables for every record input file 2 could
  // add, so that references into them stay valid through the export.
  void MakeRoomForAdditions();

  // Notes which persons of input file 2 can still bring families, so that
  // TakeOverFamilies passes the others at once. Before the first record is
  // taken over; without it, TakeOverFamilies looks at every person's
  // families.
  void FindWhoBringsFamilies();

  // The number note (`letter` 'N') or source ('S') of sequence number
  // `sequence` is written under: the sequence number, unless records of
  // input file 1 keep names of that form (a repository @S1@); then the
  // sequence-th number whose name no such record has.
  int32_t OutputNumber(char letter, int32_t sequence);

  // Brings the unmatched members of slot-1 family `g` (matched) into its
  // slot-0 partner family.
  void CompleteMergedFamily(int32_t g);

  // For slot-1 person `p`: every present family it is a child in, then
  // every one it is a spouse in, is completed (matched) or added.
  void TakeOverFamilies(int32_t p);

  // Writes a re-read record (not its level-0 line) of the output's person
  // or family `number` of kind INDI or FAM (a TagCode), or of a note,
  // source or carried record (its type's TagCode). In a person or family
  // record the level-1 HUSB, WIFE and CHIL lines of a family, FAMS and FAMC
  // lines of a person are generated once from slot 0's tables, at the first
  // such line or after the last line (and left out in a record of the other
  // kind); deeper lines with these tags are ordinary lines. NOTE and SOUR
  // references are renumbered by the numbering of the input each line came
  // from; a line with a user-defined tag ("_") is left out with its
  // subordinates. Every other line of input file 1 is copied. A line of
  // input file 2 whose value is a pointer names the output's record instead:
  // a person's or family's output name, the record being added to the
  // output at this moment when it is not there yet (logged as any
  // addition); or the name of a record carried over (see CarriedRecords);
  // or, when it named nothing in its input, a name that names nothing in
  // the output either. A pointer to a person or family the checks deleted
  // is left out with its subordinates, and the log gets "\r\n### Verweis
  // auf %s nicht übernommen".
  void WriteRecordTree(const LineNode* tree, int32_t number, uint32_t kind);
  // WriteRecordTree for a record planned already (RecordPlans::Plan, for
  // this output's encoding).
  void WritePlannedRecord(const RecordPlans& plans, RecordPlans::Range range, int32_t number,
                          uint32_t kind);

  // When `text` is a NOTE or SOUR line whose value is a reference the
  // import numbered, writes "%d NOTE @N%d@\n" (or SOUR, @S) with the
  // sequence number of the line's input and returns true.
  bool WriteReference(const LineText& text);

  // False when `text` is a line of input file 1 whose whole value points at
  // a person or family of that file the output does not hold (the checks
  // deleted it): the line is to be left out with its subordinates, and the
  // log got "\r\n### Verweis auf %s nicht übernommen\r\n".
  bool KeepsPointer(const LineText& text);

  // The records of input file 2 that written lines pointed at.
  CarriedRecords& carried() { return carried_; }

  // Whether the output holds slot 0's person or family with this number.
  bool PersonInOutput(int32_t n) const;
  bool FamilyInOutput(int32_t f) const;
  // The cross-reference the output writes slot 0's record under.
  std::string PersonRef(int32_t n) const { return PersonXref(store_.slots[0], n); }
  std::string FamilyRef(int32_t f) const { return FamilyXref(store_.slots[0], f); }

  // The link lines of a person: all FAMS, then all FAMC, to families the
  // output holds.
  void WritePersonLinks(int32_t n);
  // The link lines of a family, each part unless written already.
  void WriteHusband(int32_t f);
  void WriteWife(int32_t f);
  void WriteChildren(int32_t f);

 private:
  struct WrittenFlags {
    bool husband = false;
    bool wife = false;
    bool children = false;
    bool familyLinks = false;
  };

  bool WriteNode(uint32_t tagCode, const LineText& text, int32_t number, uint32_t kind);
  bool IsLinkLine(uint32_t tagCode, const LineText& text, uint32_t kind) const;
  void WriteLinkLine(uint32_t tag, int32_t number, uint32_t kind);
  bool WriteOrdinaryLine(const LineText& text);
  void LogLeftOut(std::string_view pointer);
  bool WritePointerLine(const LineText& text, std::string_view pointer);
  void WriteRenamed(const LineText& text, std::string_view pointer, const std::string& name);
  void SkipTakenNames(int32_t& end, char letter) const;
  bool PersonIsAbsent(int slot, int32_t p) const;
  bool FamilyIsAbsent(int slot, int32_t f) const;

  Store& store_;
  MergeLog& log_;
  Reporter& reporter_;
  GedcomOutput& output_;
  const PersonLines* lines_;  // may be null
  CarriedRecords carried_;
  WrittenFlags written_;
  RecordPlans plans_;  // of the record WriteRecordTree writes
  bool numbersUsedUpShown_ = false;
  // The numbers of the names "@N<k>@" and "@S<k>@" that records of input
  // file 1 keep in the output, sorted; found at the first OutputNumber.
  bool takenFound_ = false;
  std::vector<int32_t> takenNotes_, takenSources_;
  std::vector<bool> completed_;  // slot-1 families CompleteMergedFamily has done
  // Slot-1 persons with a family that may still be completed or added;
  // empty until FindWhoBringsFamilies.
  std::vector<bool> bringsFamilies_;
};

// Whether the entry at `k` of the list stands at an earlier place too.
bool ListedBefore(const RefList& list, size_t k);

}  // namespace kw

#endif  // KINWEAVE_EXPORT_RENUMBER_H_
