// Person comparison: the one place that decides whether a person of slot 0
// and a person of slot 1 are the same human being, and records a positive
// decision at once by linking the two and counting the merge.
//
// Besides "same", the name walk reads from a verdict which of its two
// cursors moves on. The first person is always the slot-0 one; several
// tests are one-sided.
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

// What a comparison found.
enum class Verdict {
  kSame,    // both are now linked (partner) and the merge counter grew
  kLinked,  // p or q was linked already; nothing was looked at
  // Not the same, nothing changed. In the name walk: p sorts first, its
  // cursor moves on.
  kSlot0Before,
  // Not the same, nothing changed. In the name walk: q sorts first.
  kSlot1Before,
};

// Compares person p of slot 0 with person q of slot 1. In the family modes
// the two "not the same" verdicts mean the same.
Verdict ComparePersons(Store& store, Reporter& reporter, MatchState& state, int32_t p, int32_t q,
                       int mode);

}  // namespace kw

#endif  // KINWEAVE_MATCH_COMPARE_H_
