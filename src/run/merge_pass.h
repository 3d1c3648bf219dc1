// The merge pass, the tool's main loop: orders the persons of both slots by
// name, walks the two ordered lists side by side, lets the person comparison
// decide for each pair of current persons whether they are the same, and
// hands every match to the pair merge, which goes on to their relatives.
// It runs once per merge run, after both files are loaded; what it leaves
// behind is the `partner` links the export reads.
#ifndef KINWEAVE_RUN_MERGE_PASS_H_
#define KINWEAVE_RUN_MERGE_PASS_H_

#include "base/merge_log.h"
#include "base/reporter.h"
#include "check/describe.h"
#include "match/merge_walk.h"
#include "report/report.h"
#include "store/store.h"

namespace kw {

// The whole pass: the banner "kinweave! V1.1.5" to the log, status
// "Sortierung...", both sorts, the one-second pause (Reporter::Wait),
// status "Verschmelzung...", the walk, then "%d Verschmelzungen" in status
// part 1. Returns the merge counter. `timing`, when given, is filled in.
// `lines` for the export and `report`'s dates, when given, are made beside
// the walk.
int MergePass(Store& store, MergeLog& log, Reporter& reporter, MergeTiming* timing = nullptr,
              PersonLines* lines = nullptr, ReportPreparation* report = nullptr);

}  // namespace kw

#endif  // KINWEAVE_RUN_MERGE_PASS_H_
