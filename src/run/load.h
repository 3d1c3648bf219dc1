// Loading a file into its slot, as the "Suchen" buttons do once the file
// chooser has returned a path: open, check the extension, measure, show the
// progress, read the records, log the summary, run the checks and log the
// sum of their corrections.
#ifndef KINWEAVE_RUN_LOAD_H_
#define KINWEAVE_RUN_LOAD_H_

#include <string>

#include "base/merge_log.h"
#include "base/reporter.h"
#include "store/store.h"

namespace kw {

enum class LoadResult {
  kLoaded,
  // Refused with an error box before reading: "kann %s nicht öffnen",
  // "Dateierweiterung .ged fehlt in %s".
  kRefused,
  // Read, but the file held no header, person or family record ("%s
  // enthält keine GEDCOM-Daten"): the slot is empty.
  kNoGedcomData,
};

// Loads `path` (native bytes) into the slot. The slot's path is set in
// every case. After every load of slot 0, whatever its outcome, slot 1's
// note and source counters are handed over, so that input file 2's notes
// and sources are numbered on from where input file 1's end.
LoadResult LoadSlot(Store& store, MergeLog& log, Reporter& reporter, int slot,
                    const std::string& path);

struct LoadResults {
  LoadResult first = LoadResult::kRefused;
  LoadResult second = LoadResult::kRefused;  // also when file 2 was not loaded
};

// What LoadSlot for slot 0 and then, when that loaded, LoadSlot for slot 1
// do, with the same log, the same boxes and the same results, but faster:
// input file 2 is read and parsed beside the load of input file 1. The
// progress of file 2's parse is not shown. The slot whose file loaded
// first is left in name order (sortedByName), as the merge pass would sort
// it; which one that is varies. When slot 1 has been loaded before, the two
// loads run one after the other.
LoadResults LoadBothSlots(Store& store, MergeLog& log, Reporter& reporter,
                          const std::string& path1, const std::string& path2);

}  // namespace kw

#endif  // KINWEAVE_RUN_LOAD_H_
