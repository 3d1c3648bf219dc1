#include "match/sort.h"

#include <utility>

#include "store/fold.h"

namespace kw {

namespace {

// A present text sorts before an absent one; two absent texts are equal.
int CompareNames(const char* x, const char* y) {
  if (x != nullptr && y != nullptr) return FoldCompare(x, y, 1000);
  if (x == nullptr && y == nullptr) return 0;
  return x == nullptr ? -1 : 1;
}

// The order of a slot's person numbers, as the partition reads it.
class KeyOrder {
 public:
  explicit KeyOrder(const InputSlot& slot) : persons_(slot.persons) {}
  bool Before(int32_t x, int32_t y) const { return Compare(x, y) > 0; }
  bool Equal(int32_t x, int32_t y) const { return Compare(x, y) == 0; }

 private:
  int Compare(int32_t x, int32_t y) const { return CompareSortKeys(persons_[x], persons_[y]); }
  const std::vector<Person>& persons_;
};

struct Split {
  int leftEnd;     // the lower keys now fill l ... leftEnd
  int rightStart;  // the higher keys now fill rightStart ... r
};

// One partition of a[l..r] around the pivot a[r]. Keys equal to the pivot
// are gathered at both ends while scanning and then swapped into the
// middle. The swap-back loops stop short of a[p] and a[q], so one pivot-equal
// entry stays on each side when any were gathered; the order is still right,
// and this is what decides where persons with equal keys end up.
Split Partition(int32_t* a, const KeyOrder& order, int l, int r) {
  const int32_t v = a[r];
  int i = l - 1, j = r, p = l - 1, q = r;
  for (;;) {
    while (order.Before(a[++i], v)) {
    }
    while (order.Before(v, a[--j])) {
      if (j == l) break;
    }
    if (i >= j) break;
    std::swap(a[i], a[j]);
    if (order.Equal(a[i], v)) std::swap(a[++p], a[i]);
    if (order.Equal(v, a[j])) std::swap(a[--q], a[j]);
  }
  std::swap(a[i], a[r]);
  j = i - 1;
  i = i + 1;
  for (int k = l; k < p; ++k, --j) std::swap(a[k], a[j]);
  for (int k = r - 1; k > q; --k, ++i) std::swap(a[i], a[k]);
  return Split{j, i};
}

// The two ranges of a split are disjoint and sorting one does not change
// the other, so the smaller is sorted by recursion and the larger by going
// round again: the nesting stays logarithmic even where the pivot makes
// every split lopsided.
void SortRange(int32_t* a, const KeyOrder& order, int l, int r) {
  while (r > l) {
    Split split = Partition(a, order, l, r);
    if (split.leftEnd - l < r - split.rightStart) {
      SortRange(a, order, l, split.leftEnd);
      l = split.rightStart;
    } else {
      SortRange(a, order, split.rightStart, r);
      r = split.leftEnd;
    }
  }
}

}  // namespace

int CompareSortKeys(const Person& x, const Person& y) {
  int result = CompareNames(x.surname, y.surname);
  if (result != 0) return result;
  return CompareNames(x.givenNames, y.givenNames);
}

void SortPersons(InputSlot& slot, int first, int last) {
  if (last <= first) return;
  SortRange(slot.sortIndex.data(), KeyOrder(slot), first, last);
}

}  // namespace kw
