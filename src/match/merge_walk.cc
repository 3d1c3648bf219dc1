#include "match/merge_walk.h"

#include <chrono>

#include "match/evidence.h"
#include "match/pair_merge.h"

namespace kw {

namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

void TimedMergePair(Store& store, MergeLog& log, Reporter& reporter, MatchState& state,
                    int32_t a, int32_t b, MergeTiming* timing) {
  if (timing == nullptr) return MergePair(store, log, reporter, state, a, b);
  Clock::time_point start = Clock::now();
  MergePair(store, log, reporter, state, a, b);
  timing->pairMergeSeconds += SecondsSince(start);
}

}  // namespace

void MergeWalk(Store& store, MergeLog& log, Reporter& reporter, MatchState& state,
               MergeTiming* timing) {
  Clock::time_point start = Clock::now();
  const InputSlot& slot0 = store.slots[0];
  const InputSlot& slot1 = store.slots[1];
  int i = 0, j = 0;
  while (i < slot0.personCount && j < slot1.personCount) {
    int32_t a = slot0.sortIndex[i];
    int32_t b = slot1.sortIndex[j];
    Verdict verdict = ComparePersons(store, reporter, state, a, b, kNameWalk);
    if (verdict == Verdict::kSame) {
      RecordMatch(store, a, b, FoundBy::kNameWalk, 0);
      TimedMergePair(store, log, reporter, state, a, b, timing);
      ++i, ++j;
    } else if (verdict == Verdict::kLinked) {
      // Moving only the slot-0 cursor would leave the slot-1 cursor on a
      // linked person, and every later comparison would say "linked" again.
      if (slot0.persons[a].partner != 0) ++i;
      if (slot1.persons[b].partner != 0) ++j;
    } else if (verdict == Verdict::kSlot0Before) {
      ++i;
    } else {
      ++j;
    }
  }
  if (timing != nullptr) timing->walkSeconds += SecondsSince(start);
}

}  // namespace kw
