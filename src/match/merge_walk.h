// The name walk: the merge-join over both slots' name-sorted person lists.
// Side by side, it lets the person comparison judge each pair of current
// persons and hands every match to the pair merge, which goes on to their
// relatives. What it leaves behind is the `partner` links the export reads.
#ifndef KINWEAVE_MATCH_MERGE_WALK_H_
#define KINWEAVE_MATCH_MERGE_WALK_H_

#include "base/merge_log.h"
#include "base/reporter.h"
#include "match/compare.h"
#include "store/store.h"

namespace kw {

// Where the time of a merge pass went, for benchmarks. `walkSeconds` covers
// the whole walk, `pairMergeSeconds` the part of it spent in MergePair.
struct MergeTiming {
  double sortSeconds = 0;
  double walkSeconds = 0;
  double pairMergeSeconds = 0;
  double besideSeconds = 0;  // the work the merge pass does beside the walk
};

// The walk over both slots' sortIndex as they stand (sorted). A person that
// is linked already has its cursor moved on, so the walk never stands still
// on a person the pair merge has taken.
void MergeWalk(Store& store, MergeLog& log, Reporter& reporter, MatchState& state,
               MergeTiming* timing = nullptr);

}  // namespace kw

#endif  // KINWEAVE_MATCH_MERGE_WALK_H_
