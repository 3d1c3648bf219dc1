// Loading a file into its slot, as the "Suchen" buttons do once the file
// chooser has returned a path: open, check the extension, measure, show the
// progress, import, and report.
#ifndef KINWEAVE_UI_LOAD_H_
#define KINWEAVE_UI_LOAD_H_

#include <string>

#include "store/store.h"
#include "ui/merge_log.h"
#include "ui/reporter.h"

namespace kw {

// Loads `path` (native bytes) into the slot. Returns 1 when loaded, 0 when
// refused with an error box ("kann %s nicht öffnen", "Dateierweiterung .ged
// fehlt in %s") or when the file held no header, person or family record
// ("%s enthält keine GEDCOM-Daten", after reading it: the slot is empty). The
// slot's path is set in every case. After a load of slot 0 the caller hands
// the counters over (HandOverCounters).
int LoadSlot(Store& store, MergeLog& log, Reporter& reporter, int slot, const std::string& path);

// A native path as Windows-1252 text for messages and the log.
std::string DisplayPath(const std::string& path);

}  // namespace kw

#endif  // KINWEAVE_UI_LOAD_H_
