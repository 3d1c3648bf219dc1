// The merge pass, the tool's main loop: orders the persons of both slots by
// name, walks the two ordered lists side by side, lets the person comparison
// decide for each pair of current persons whether they are the same, and
// hands every match to the pair merge, which goes on to their relatives.
// It runs once per merge run, after both files are loaded; what it leaves
// behind is the `partner` links the export reads.
#ifndef KINWEAVE_UI_MERGE_PASS_H_
#define KINWEAVE_UI_MERGE_PASS_H_

#include "match/compare.h"
#include "store/store.h"
#include "ui/merge_log.h"
#include "ui/reporter.h"

namespace kw {

// Where the time of a pass went, for benchmarks. `walkSeconds` covers the
// whole merge-join, `pairMergeSeconds` the part of it spent in MergePair.
struct MergeTiming {
  double sortSeconds = 0;
  double walkSeconds = 0;
  double pairMergeSeconds = 0;
};

// The whole pass: the banner "kinweave! V1.1.5" to the log, status
// "Sortierung...", both sorts, the one-second pause (Reporter::Wait),
// status "Verschmelzung...", the walk, then "%d Verschmelzungen" in status
// part 1. Returns the merge counter. `timing`, when given, is filled in.
int MergePass(Store& store, MergeLog& log, Reporter& reporter, MergeTiming* timing = nullptr);

// The merge-join alone, over both slots' sortIndex as they stand (sorted).
// A result of 2 moves on the cursor of each person that is linked already,
// so the walk never stands still on a person the pair merge has taken.
void MergeWalk(Store& store, MergeLog& log, Reporter& reporter, MatchState& state,
               MergeTiming* timing = nullptr);

}  // namespace kw

#endif  // KINWEAVE_UI_MERGE_PASS_H_
