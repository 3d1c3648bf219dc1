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
// when both are large enough to be worth a thread. A slot put in name order
// while the loads ran leaves both cores to the other.
void SortBothSlots(Store& store) {
  InputSlot& slot0 = store.slots[0];
  InputSlot& slot1 = store.slots[1];
  if (!slot0.sortedByName && !slot1.sortedByName) {
    SideBySide(
        std::min(slot0.personCount, slot1.personCount) >= kWorthAThread,
        [&slot0] { SortAllPersons(slot0, false); }, [&slot1] { SortAllPersons(slot1, false); });
    return;
  }
  for (InputSlot* slot : {&slot0, &slot1}) {
    if (!slot->sortedByName) SortAllPersons(*slot, slot->personCount >= kWorthAThread);
  }
}

}  // namespace

int MergePass(Store& store, MergeLog& log, Reporter& reporter, MergeTiming* timing,
              PersonLines* lines, ReportPreparation* report) {
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
  // The walk waits on memory on one core; the lines of the persons and the
  // report's dates are made on the other.
  SideBySide(
      (lines != nullptr || report != nullptr) &&
          store.slots[0].personCount + store.slots[1].personCount >= kWorthAThread,
      [&] { MergeWalk(store, log, reporter, state, timing); },
      [&store, lines, report, timing] {
        Clock::time_point start = Clock::now();
        if (lines != nullptr) lines->Make(store);
        if (report != nullptr) report->ReadDates(false);
        if (timing != nullptr) timing->besideSeconds += SecondsSince(start);
      });

  ShowStatus(reporter, 1, "%d Verschmelzungen", state.mergeCount);
  log.Flush();
  return state.mergeCount;
}

}  // namespace kw
