// Pair merge: spreads one match of the name walk through both family trees.
// The parents, spouses and children of two matched persons are very likely
// the same people too, even where names or dates alone would not convince
// the name walk, so they are compared in the family modes and every new
// match is followed in turn until none is pending.
//
// Matching changes nothing but `partner` links; contradictions between the
// fathers or the mothers of a matched pair go to the merge log.
#ifndef KINWEAVE_MATCH_PAIR_MERGE_H_
#define KINWEAVE_MATCH_PAIR_MERGE_H_

#include <cstdint>

#include "base/merge_log.h"
#include "base/reporter.h"
#include "match/compare.h"
#include "store/store.h"

namespace kw {

// a (slot 0) and b (slot 1) have just been declared the same. Follows every
// pair reached from them, last found first: for each pair, the fathers and
// mothers of each pair of parent families (mode kParent; a mismatch is
// logged as "Widerspruch bei Vater von:" or "Widerspruch bei Mutter von"),
// then for each pair of own families the spouses (mode kSpouseOrChild; a
// match links the two families) and the children (mode kSpouseOrChild).
//
// Two own families whose spouses are already linked to each other, or that
// have no spouse besides the matched pair, are linked as well when neither
// is linked yet, so that a couple keeps one family in the merged file.
void MergePair(Store& store, MergeLog& log, Reporter& reporter, MatchState& state, int32_t a,
               int32_t b);

}  // namespace kw

#endif  // KINWEAVE_MATCH_PAIR_MERGE_H_
