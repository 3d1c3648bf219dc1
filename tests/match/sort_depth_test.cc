// The name sort on the lists real files bring: exports in name order, or in
// the reverse, which nest the quicksort as deep as they are long.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "match/sort.h"
#include "store/store.h"

namespace kw {
namespace {

// A slot of `n` persons whose names come in name order ("Name000000",
// "Name000001", ...) or in the reverse; every tenth pair shares a name, so
// equal keys must end up side by side too.
void FillSlot(InputSlot& slot, int n, bool reversed) {
  PrepareSlot(slot, n + 1, 1);
  for (int k = 0; k < n; ++k) {
    int32_t number = k + 1;
    int rank = reversed ? n - 1 - k : k;
    if (rank % 10 == 1) --rank;
    char name[16];
    std::snprintf(name, sizeof name, "Name%06d", rank);
    Person& p = slot.persons[number];
    p.number = number;
    p.surname = slot.pool.Add(name);
    p.givenNames = slot.pool.Add("Anna");
    slot.sortIndex.push_back(number);
  }
  slot.personCount = n;
  slot.personEnd = n + 1;
}

TEST(SortDepth, NameOrderedAndReversedFilesOfAQuarterMillionSortInOrder) {
  const int n = 250000;
  for (bool reversed : {false, true}) {
    SCOPED_TRACE(reversed ? "reversed" : "in order");
    InputSlot slot;
    FillSlot(slot, n, reversed);
    SortPersons(slot, 0, n - 1);
    std::vector<bool> seen(n + 1, false);
    for (int k = 0; k < n; ++k) {
      int32_t number = slot.sortIndex[k];
      ASSERT_FALSE(seen[number]) << number;
      seen[number] = true;
      if (k > 0) {
        const Person& before = slot.persons[slot.sortIndex[k - 1]];
        ASSERT_GE(CompareSortKeys(before, slot.persons[number]), 0) << k;
      }
    }
  }
}

// In name order, each range the quicksort partitions sheds its last entry
// (the pivot), so the range at depth d ends at n - 1 - d. Two persons with
// one name at its end are swapped by the partition; a range deeper than the
// limit is sorted stably and keeps them as they stand. n = 5,000 takes the
// limit 20,000,000 / n = 4,000, n = 250,000 the limit 8 * 17 = 136.
// Sorted on two cores, the parts split off first keep their depth.
TEST(SortDepth, TheRangeAtTheLimitIsStillPartitionedTheOneBelowItNot) {
  for (auto [n, limit] : {std::pair{5000, 4000}, std::pair{250000, 136}}) {
    for (int depth : {limit, limit + 1}) {
      for (bool twoCores : {false, true}) {
        InputSlot slot;
        FillSlot(slot, n, false);
        const int32_t second = n - depth;  // its entry ends the range at that depth
        for (int32_t number = 1; number <= n; ++number) {
          char name[16];
          std::snprintf(name, sizeof name, "Name%06d", number == second ? number - 1 : number);
          slot.persons[number].surname = slot.pool.Add(name);
        }
        SortAllPersons(slot, twoCores);
        const std::vector<int32_t>& order = slot.sortIndex;
        EXPECT_EQ(std::find(order.begin(), order.end(), second) <
                      std::find(order.begin(), order.end(), second - 1),
                  depth == limit)
            << n << " persons, depth " << depth << (twoCores ? ", two cores" : "");
      }
    }
  }
}

}  // namespace
}  // namespace kw
