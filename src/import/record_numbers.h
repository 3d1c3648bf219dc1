// How the persons and families of a file are numbered. A record whose
// cross-reference is @I<n>@ (a family @F<n>@) with n from 1 to below the
// table's capacity keeps n, as ever. Every other record - @P12@, @FATHER@,
// @I152733931767@, @I12X@, @I0@ - gets the next free number above the
// highest number kept, in file order, so files from programs that name
// their records otherwise load and merge all the same.
#ifndef KINWEAVE_IMPORT_RECORD_NUMBERS_H_
#define KINWEAVE_IMPORT_RECORD_NUMBERS_H_

#include <cstdint>
#include <string>
#include <unordered_map>

#include "base/gedcom_line.h"

namespace kw {

class RecordNumbers {
 public:
  RecordNumbers();

  // Reads the cross-references of all INDI and FAM records of the file's
  // bytes from `start` (after a byte-order mark) to the end and hands out
  // the numbers.
  void Collect(std::string_view bytes, int64_t start, InputEncoding encoding);

  // The number of a person or family record line's cross-reference; may be
  // at or above the capacity (the caller refuses it). A record the
  // collection did not see gets the next free number now.
  int32_t PersonRecord(const std::string& xref) { return Record(persons_, xref); }
  int32_t FamilyRecord(const std::string& xref) { return Record(families_, xref); }

  // The number a FAMS, FAMC, HUSB, WIFE or CHIL pointer names, or -1 when
  // it names nothing the tables can hold: a pointer of another form that no
  // record has, a number beyond the capacity, or a plain number that was
  // handed to a record of another form.
  int32_t PersonReference(const std::string& token) const { return Reference(persons_, token); }
  int32_t FamilyReference(const std::string& token) const { return Reference(families_, token); }

  // Level-0 lines with a cross-reference that the collection saw.
  size_t recordLines() const { return recordLines_; }

  // True when the record's number was handed out rather than kept.
  bool PersonHanded(const std::string& xref) const { return persons_.handed.count(xref) != 0; }
  bool FamilyHanded(const std::string& xref) const { return families_.handed.count(xref) != 0; }

  // The number a log line shows for a record with a handed-out number: the
  // digits of its cross-reference, or the handed number when it has none or
  // they are 0.
  static long long DisplayNumber(const std::string& xref, int32_t handed);

 private:
  struct Kind {
    char letter;
    int32_t capacity;
    int32_t highestKept = 0;
    int32_t nextFree = 1;  // once collected: highestKept + 1 + handed so far
    std::unordered_map<std::string, int32_t> handed;
  };

  static int32_t Record(Kind& kind, const std::string& xref);
  static int32_t Reference(const Kind& kind, const std::string& token);

  Kind persons_;
  Kind families_;
  size_t recordLines_ = 0;
};

}  // namespace kw

#endif  // KINWEAVE_IMPORT_RECORD_NUMBERS_H_
