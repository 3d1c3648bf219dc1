// Dates as the input files write them ("12 MAY 1850", "ABT 1850"), for the
// report: the store keeps the packed date and where its DATE line starts,
// and the line is read again from the file's bytes.
//
// The report asks for the dates of a quarter of a million persons; Locate
// reads the DATE lines of every person in file order, so that the reading
// walks each file forward instead of jumping about it.
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

  // Reads the birth and death dates of every person the slot's table holds
  // now. It reads the table's date fields and the file's bytes and writes
  // nothing of the store. Locate of one slot and of the other may run at
  // the same time: each touches only its own slot.
  void Locate(int slot);
  // The dates of a person Locate read, as OfPerson gives them; a date in
  // the log's form is made in `ring`. Threads may ask at the same time,
  // each with a ring of its own.
  void OfLocated(int slot, int32_t person, std::string& birth, std::string& death,
                 ScratchRing& ring) const;
  // Asks for what OfLocated will read of the person, ahead of time.
  void Prefetch(int slot, int32_t person) const;

  // The birth and death dates of a person of the slot as Windows-1252
  // text: the value of the DATE line the import took the date from. ""
  // when the store knows no such date; the store's date in the log's form
  // when it knows no line.
  void OfPerson(int slot, int32_t person, std::string& birth, std::string& death);
  // The marriage date of a family of the slot, likewise.
  void OfFamily(int slot, int32_t family, std::string& marriage);

 private:
  // A date kept by Locate: short texts in place, so that reading one takes
  // no second jump; a longer one in `longTexts`.
  struct Kept {
    static constexpr uint8_t kLong = 255;
    uint8_t length = 0;
    char text[15] = {};
  };

  // Where a person's DATE lines stand.
  struct Wanted {
    int64_t position;  // of the record, whose DATE lines follow it
    int32_t person;
    int64_t lines[2];  // birth, death
    bool operator<(const Wanted& other) const { return position < other.position; }
  };

  // What Locate keeps of one slot.
  struct SlotDates {
    std::vector<std::array<Kept, 2>> kept;  // by person number: birth, death
    std::vector<std::string> longTexts;
    std::string storage;
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
