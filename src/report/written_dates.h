// Dates as the input files write them ("12 MAY 1850", "ABT 1850"), for the
// report: the store keeps only the packed date, so the record is read again
// at its position, up to the DATE lines wanted.
#ifndef KINWEAVE_REPORT_WRITTEN_DATES_H_
#define KINWEAVE_REPORT_WRITTEN_DATES_H_

#include <cstdint>
#include <string>

#include "store/store.h"

namespace kw {

class WrittenDates {
 public:
  explicit WrittenDates(Store& store) : store_(store) {}

  // The birth and death dates of a person of the slot as Windows-1252
  // text: the value of the DATE line the import took (the first under BIRT
  // or CHR, DEAT or BURI that gives a year). "" when the store knows no
  // such date; the store's date in the log's form when the line is not
  // found again.
  void OfPerson(int slot, int32_t person, std::string& birth, std::string& death);
  // The marriage date of a family of the slot, likewise.
  void OfFamily(int slot, int32_t family, std::string& marriage);

 private:
  enum Event { kNone = -1, kBirth = 0, kDeath = 1, kMarriage = 2 };

  // Reads the record from `position` up to the next level-0 line; fills
  // found[e] for every event e with wanted[e] set.
  void Scan(int slot, int64_t position, const bool wanted[3], std::string* found[3]);

  Store& store_;
  std::string storage_;
  std::string value_;
};

}  // namespace kw

#endif  // KINWEAVE_REPORT_WRITTEN_DATES_H_
