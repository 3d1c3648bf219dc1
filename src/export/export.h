// The export: writes the one merged GEDCOM file. Input file 1 is streamed
// and copied with its link lines regenerated from the repaired tables;
// matched persons and families are rebuilt from both inputs; the relatives
// from input file 2 are added under new numbers; then the notes, the
// sources and the trailer.
#ifndef KINWEAVE_EXPORT_EXPORT_H_
#define KINWEAVE_EXPORT_EXPORT_H_

#include <string>

#include "base/merge_log.h"
#include "base/reporter.h"
#include "store/store.h"

namespace kw {

// Writes the merged file to `outputPath` (native bytes), after the merge
// pass. Adds the persons and families taken over from input file 2 to
// slot 0 and raises its counts. Returns 1 when the output was written, 0
// when a file could not be opened (the error box "kann %s nicht öffnen"
// has been shown and nothing was written) or could not be written to its
// end (the error box "kann %s nicht schreiben"; what was written stays).
int ExportGedcom(Store& store, MergeLog& log, Reporter& reporter, const std::string& outputPath);

}  // namespace kw

#endif  // KINWEAVE_EXPORT_EXPORT_H_
