// The name sort on the lists real files bring: exports in name order, or in
// the reverse, which nest the quicksort as deep as they are long.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

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

}  // namespace
}  // namespace kw
