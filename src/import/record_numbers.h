// How the persons and families of a file are numbered. A record whose
// cross-reference is @I<n>@ (a family @F<n>@) with n from 1 to below
// 250,000 (100,000) keeps n, as ever. Every other record - @P12@,
// @FATHER@, @I152733931767@, @I12X@, @I0@, @I300000@ - gets the next free
// number above the highest number kept, in file order, so files from
// programs that name their records otherwise load and merge all the same.
// The numbers also tell how large the slot's tables must be.
#ifndef KINWEAVE_IMPORT_RECORD_NUMBERS_H_
#define KINWEAVE_IMPORT_RECORD_NUMBERS_H_

#include <cstdint>
#include <string>
#include <vector>

#include "base/gedcom_line.h"
#include "store/record_names.h"

namespace kw {

class RecordNumbers {
 public:
  RecordNumbers();

  // Reads the cross-references of all INDI and FAM records of the file's
  // bytes from `start` (after a byte-order mark) to the end and hands out
  // the numbers.
  void Collect(std::string_view bytes, int64_t start, InputEncoding encoding);

  // The number of a person or family record line's cross-reference. A
  // record the collection did not see gets the next free number now; -1
  // when no number is left in the index type.
  int32_t PersonRecord(std::string_view xref) { return Record(persons_, xref); }
  int32_t FamilyRecord(std::string_view xref) { return Record(families_, xref); }

  // The number a FAMS, FAMC, HUSB, WIFE or CHIL pointer names, or -1 when
  // it names nothing a record could have: a pointer of another form that no
  // record has, a plain number at or above the kept limit, or a plain
  // number that was handed to a record of another form.
  int32_t PersonReference(std::string_view token) const { return Reference(persons_, token); }
  int32_t FamilyReference(std::string_view token) const { return Reference(families_, token); }

  // Level-0 lines with a cross-reference that the collection saw, and of
  // them the INDI lines.
  size_t recordLines() const { return recordLines_; }
  size_t personLines() const { return personLines_; }
  // One more than the highest person (family) number the collection handed
  // out or kept: the size the slot's table needs.
  int32_t personTable() const { return persons_.nextFree; }
  int32_t familyTable() const { return families_.nextFree; }
  // Whether the file has more records than numbers are left.
  bool tooMany() const { return persons_.full || families_.full; }


 private:
  struct Kind {
    char letter;
    int32_t limit;  // plain numbers below it are kept
    int32_t highestKept = 0;
    int32_t nextFree = 1;  // once collected: highestKept + 1 + handed so far
    bool full = false;     // no number was left for a record
    RecordNames handed;
  };

  // Names of other forms met by the collection, in file order.
  struct Others {
    std::vector<std::string> persons;
    std::vector<std::string> families;
  };

  // Counts a level-0 line and keeps its number or name.
  void Look(const ScannedLine& line, Others& others);
  static int32_t Record(Kind& kind, std::string_view xref);
  static int32_t Hand(Kind& kind, std::string_view xref);
  static int32_t Reference(const Kind& kind, std::string_view token);

  Kind persons_;
  Kind families_;
  size_t recordLines_ = 0;
  size_t personLines_ = 0;
};

}  // namespace kw

#endif  // KINWEAVE_IMPORT_RECORD_NUMBERS_H_
