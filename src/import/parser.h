// The record parser: reads one GEDCOM file, line by line, into a slot.
// Persons, families, their links, names, sex, the dates of birth,
// christening, death, burial and marriage, and the positions of person,
// family, note and source records; everything else is left in the file for
// the export to copy.
#ifndef KINWEAVE_IMPORT_PARSER_H_
#define KINWEAVE_IMPORT_PARSER_H_

#include <cstdint>

#include "base/reporter.h"
#include "store/store.h"

namespace kw {

struct ParseResult {
  // Level-0 lines of a header, person or family record: none means the file
  // holds no GEDCOM at all (empty, a picture, a letter).
  int gedcomRecords = 0;
  // Lines that did not begin with a level number (skipped, counted).
  int skippedLines = 0;
};

// Prepares the slot and reads its file's bytes (InputSlot::bytes) to their
// end, the trailer line or a limit, with a progress step per hundredth.
ParseResult ParseGedcom(Store& store, Reporter& reporter, int slot);

}  // namespace kw

#endif  // KINWEAVE_IMPORT_PARSER_H_
