// Person comparison: the one place that decides whether a person of slot 0
// and a person of slot 1 are the same human being, and records a positive
// decision at once by linking the two and counting the merge.
//
// Besides "same" (0), the name walk reads the sign of a result to know which
// of its two cursors moves on: positive moves the slot-0 cursor, negative the
// slot-1 cursor. The first person is always the slot-0 one; several tests
// are one-sided.
#ifndef KINWEAVE_MATCH_COMPARE_H_
#define KINWEAVE_MATCH_COMPARE_H_

#include <cstdint>
#include <vector>

#include "store/store.h"

namespace kw {

class Reporter;

// What the matching of one merge run keeps: the merge counter and the
// stack of pairs still to be spread through their families.
struct MatchState {
  struct PendingPair {
    int32_t slot0Person;
    int32_t slot1Person;
  };

  // Pairs declared the same in every mode; only ComparePersons raises it.
  int32_t mergeCount = 0;
  // MergePair's pending pairs, last in first out; empty between calls. It
  // grows as needed (up to one entry per person of a slot).
  using PairStack = std::vector<PendingPair>;
  PairStack pairStack;
};

// How much the caller's context already tells about the pair.
enum CompareMode : int {
  kNameWalk = 0,       // two current persons of the name-sorted lists
  kSpouseOrChild = 1,  // relatives of a matched pair: counts the evidence
  kParent = 2,         // fathers or mothers of a matched pair: no year veto
};

// How far apart the surnames are: 0 when p's is q's or a folded prefix of
// it (one-sided), 1 equal phonetic codes, 2 first six folded characters
// agree, 4 first four agree, 8 when either is absent, 15 otherwise.
int SurnameDistance(ScratchRing& ring, const Person& p, const Person& q);

// How far apart the given names are: 0 when p's is q's or a folded prefix
// of it (one-sided), 1 when the whole names have equal phonetic codes, 8
// when either is absent. Otherwise the first four blank-separated words are
// compared position by position, as far as both names have words: each
// position adds 1 for equal codes and 4 when the first three folded
// characters agree, or else 2 when each word occurs in the other's whole
// name; a position with neither gives 15 at once.
int GivenNameDistance(ScratchRing& ring, const Person& p, const Person& q);

// Compares person p of slot 0 with person q of slot 1. Returns
//  0  the same: both are now linked (partner) and the merge counter grew;
//  2  p or q was linked already; nothing was looked at;
//  otherwise not the same and nothing changed. In the name walk that is 1,
//  -1 or the raw FoldCompare difference of the surnames (which may itself
//  be 2); in the family modes 1 or -1.
int ComparePersons(Store& store, Reporter& reporter, MatchState& state, int32_t p, int32_t q,
                   int mode);

}  // namespace kw

#endif  // KINWEAVE_MATCH_COMPARE_H_
