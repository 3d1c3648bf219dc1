// Dates as the input files write them ("12 MAY 1850", "ABT 1850"), for the
// report: the store keeps the packed date and where its DATE line starts,
// and the line is read again from the file's bytes.
//
// The report asks for the dates of a quarter of a million persons; Locate
// reads their DATE lines in file order, so that the reading walks each file
// forward instead of jumping about it.
#ifndef KINWEAVE_REPORT_WRITTEN_DATES_H_
#define KINWEAVE_REPORT_WRITTEN_DATES_H_

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "store/store.h"

namespace kw {

class WrittenDates {
 public:
  explicit WrittenDates(Store& store) : store_(store) {}

  // Reads the birth and death dates of these persons of the slot now; entry
  // k of the slot holds those of persons[k]. Locate of one slot and of the
  // other may run at the same time: each touches only its own slot.
  void Locate(int slot, const std::vector<int32_t>& persons);
  // Locate in two steps. Gather notes where the dates of the persons stand
  // (it reads the persons' table); Scan reads them from the file and reads
  // nothing else of the store, so it may run while the export adds records
  // to the tables.
  void Gather(int slot, const std::vector<int32_t>& persons);
  void Scan(int slot);
  // The dates of entry k of the slot, as OfPerson gives them; a date in the
  // log's form is made in `ring`. Threads may ask at the same time, each
  // with a ring of its own.
  void OfEntry(int slot, size_t k, std::string& birth, std::string& death,
               ScratchRing& ring) const;

  // The birth and death dates of a person of the slot as Windows-1252
  // text: the value of the DATE line the import took the date from. ""
  // when the store knows no such date; the store's date in the log's form
  // when it knows no line.
  void OfPerson(int slot, int32_t person, std::string& birth, std::string& death);
  // The marriage date of a family of the slot, likewise.
  void OfFamily(int slot, int32_t family, std::string& marriage);

 private:
  // A date kept by Locate: short texts in place, so that the entries are
  // read in order without a jump; a longer one in `longTexts`.
  struct Kept {
    static constexpr uint8_t kLong = 255;
    uint8_t length = 0;
    char text[15] = {};
  };

  // Where Gather found a person's DATE lines.
  struct Wanted {
    int64_t position;  // of the record, whose DATE lines follow it
    uint32_t entry;
    int64_t lines[2];  // birth, death
    bool operator<(const Wanted& other) const { return position < other.position; }
  };

  // What Locate keeps of one slot.
  struct SlotDates {
    std::vector<std::array<Kept, 2>> kept;  // by entry: birth, death
    std::vector<int32_t> persons;           // by entry
    std::vector<std::string> longTexts;
    std::string storage;
    std::vector<Wanted> wanted;  // from Gather to Scan, in file order
  };

  // The value of the DATE line at `start` (none for 0), appended as
  // Windows-1252.
  void AppendValue(int slot, int64_t start, std::string& text);
  static void Keep(const std::string& text, SlotDates& dates, Kept& kept);
  static void Take(const SlotDates& dates, const Kept& kept, PackedDate date, ScratchRing& ring,
                   std::string& text);

  Store& store_;
  SlotDates slots_[2];
};

}  // namespace kw

#endif  // KINWEAVE_REPORT_WRITTEN_DATES_H_
