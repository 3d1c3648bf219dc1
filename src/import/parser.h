// The record parser: reads one GEDCOM file, line by line, into a slot.
// Persons, families, their links, names, sex, the dates of birth,
// christening, death, burial and marriage, and the positions of person,
// family, note and source records; everything else is left in the file for
// the export to copy.
#ifndef KINWEAVE_IMPORT_PARSER_H_
#define KINWEAVE_IMPORT_PARSER_H_

#include <cstdint>
#include <utility>
#include <vector>

#include "base/reporter.h"
#include "store/store.h"

namespace kw {

struct ParseResult {
  // Level-0 lines of a header, person or family record: none means the file
  // holds no GEDCOM at all (empty, a picture, a letter).
  int gedcomRecords = 0;
  // Lines that did not begin with a level number (skipped, counted).
  int skippedLines = 0;
  // Where the numbered note and source records start, by sequence number,
  // in file order: the caller enters them into the store's tables
  // (AddRecordPositions), so a parse touches nothing but its slot.
  std::vector<std::pair<int32_t, int64_t>> notePositions;
  std::vector<std::pair<int32_t, int64_t>> sourcePositions;
};

// Prepares the slot and reads its file's bytes (InputSlot::bytes) to their
// end, the trailer line or a limit, with a progress step per hundredth.
// `slotNumber` tells input file 1 (0) from input file 2 (1). Notes and
// sources are numbered on from the slot's counters.
ParseResult ParseGedcom(InputSlot& slot, int slotNumber, Reporter& reporter);

// Enters the parse's note and source positions into the store, their
// sequence numbers raised by `offset`.
void AddRecordPositions(Store& store, const ParseResult& parsed, int32_t noteOffset,
                        int32_t sourceOffset);

}  // namespace kw

#endif  // KINWEAVE_IMPORT_PARSER_H_
