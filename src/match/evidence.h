// The evidence of a match, kept for the report: once two persons are
// declared the same, what they agree in is weighed again and recorded with
// the way the pair was found. It runs once per match, never per comparison.
#ifndef KINWEAVE_MATCH_EVIDENCE_H_
#define KINWEAVE_MATCH_EVIDENCE_H_

#include <cstdint>

#include "store/store.h"

namespace kw {

// What person p of slot 0 and person q of slot 1 agree in: both name
// distances, and which of birth, death and marriage years are known on
// both sides and equal (the marriage year of any own family of each).
MatchEvidence WeighEvidence(Store& store, int32_t p, int32_t q);

// Records the match of p and q in the store's provenance with its
// evidence; `from0` is the slot-0 person of the pair it was spread from (0
// for the name walk).
void RecordMatch(Store& store, int32_t p, int32_t q, FoundBy how, int32_t from0);

}  // namespace kw

#endif  // KINWEAVE_MATCH_EVIDENCE_H_
