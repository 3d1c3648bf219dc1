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
#include "check/describe.h"
#include "store/store.h"

namespace kw {

// Writes the merged file to `outputPath` (native bytes), after the merge
// pass. Adds the persons and families taken over from input file 2 to
// slot 0 and raises its counts. Returns 1 when the output was written
// whole and has its name; 0 when it could not be created ("kann %s nicht
// öffnen"), writing it failed ("\r\nFehler beim Schreiben von %s: ...") or
// the log could not be written: then no output of that name was written
// and an earlier file of the name is untouched. `lines`, when given, are
// the merge pass's lines of the persons, which the log's descriptions of
// merged and added persons copy; a person without one is described here.
int ExportGedcom(Store& store, MergeLog& log, Reporter& reporter, const std::string& outputPath,
                 const PersonLines* lines = nullptr);

}  // namespace kw

#endif  // KINWEAVE_EXPORT_EXPORT_H_
