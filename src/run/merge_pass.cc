#include "run/merge_pass.h"

#include <algorithm>
#include <chrono>

#include "base/side_by_side.h"
#include "base/version.h"
#include "match/merge_walk.h"
#include "match/sort.h"

namespace kw {

namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// Persons a piece of work must reach before a thread of its own pays.
constexpr int32_t kWorthAThread = 4096;

// The two sorts touch nothing in common: slot 1's runs beside slot 0's,
// when both are large enough to be worth a thread.
void SortBothSlots(Store& store) {
  SideBySide(
      std::min(store.slots[0].personCount, store.slots[1].personCount) >= kWorthAThread,
      [&store] { SortPersons(store.slots[0], 0, store.slots[0].personCount - 1); },
      [&store] { SortPersons(store.slots[1], 0, store.slots[1].personCount - 1); });
}

}  // namespace

int MergePass(Store& store, MergeLog& log, Reporter& reporter, MergeTiming* timing,
              PersonLines* lines) {
  MatchState state;
  store.provenance.StartMerge();
  log.Write("\r\nkinweave! V%s\r\n", kProgramVersion);
  ShowStatus(reporter, 0, "Sortierung...");

  Clock::time_point sortStart = Clock::now();
  SortBothSlots(store);
  if (timing != nullptr) timing->sortSeconds += SecondsSince(sortStart);

  reporter.Wait(1000);
  ShowStatus(reporter, 0, "Verschmelzung...");
  log.Write("\r\n", 1);
  // The walk waits on memory on one core; the lines of the persons are made
  // on the other.
  SideBySide(
      lines != nullptr &&
          store.slots[0].personCount + store.slots[1].personCount >= kWorthAThread,
      [&] { MergeWalk(store, log, reporter, state, timing); },
      [&store, lines] {
        if (lines != nullptr) lines->Make(store);
      });

  ShowStatus(reporter, 1, "%d Verschmelzungen", state.mergeCount);
  log.Flush();
  return state.mergeCount;
}

}  // namespace kw
