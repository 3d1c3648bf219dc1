#include "match/sort.h"

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#include "base/fold.h"
#include "base/large_pages.h"

namespace kw {

namespace {

// A present text sorts before an absent one; two absent texts are equal.
int CompareNames(const char* x, const char* y) {
  if (x != nullptr && y != nullptr) return FoldCompare(x, y, 1000);
  if (x == nullptr && y == nullptr) return 0;
  return x == nullptr ? -1 : 1;
}

// The partition only asks "before" and "equal", and a slot can hold 250,000
// persons whose records and names lie all over memory. So the sort works on
// an array of its own that holds, beside each person number, both names and
// their first eight folded bytes packed into one number (first byte highest,
// padded with the end value 0x20). Most comparisons are settled by those
// numbers without leaving the array; the answers are exactly those of
// CompareSortKeys, so the arrangement is the same.
struct SortEntry {
  uint64_t surnameHead;
  uint64_t givenHead;
  const char* surname;
  const char* givenNames;
  int32_t number;
};

constexpr int kHeadBytes = 8;
constexpr int kEndValue = 0x20;  // the folded end of a text, lower than any other value

uint64_t FoldedHead(const char* text) {
  if (text == nullptr) return 0;
  uint64_t head = 0;
  bool ended = false;
  for (int k = 0; k < kHeadBytes; ++k) {
    int folded = ended ? kEndValue : FoldByte(static_cast<unsigned char>(text[k]));
    ended = ended || folded == kEndValue;
    head = (head << 8) | static_cast<uint64_t>(folded);
  }
  return head;
}

// The sign of CompareNames, settled by the heads where they differ or where
// both texts end inside them.
int CompareHeaded(uint64_t headX, const char* x, uint64_t headY, const char* y) {
  if (x == nullptr || y == nullptr) return CompareNames(x, y);
  if (headX != headY) return headX < headY ? 1 : -1;
  if ((headX & 0xFF) == kEndValue) return 0;
  return FoldCompare(x + kHeadBytes, y + kHeadBytes, 1000 - kHeadBytes);
}

int Compare(const SortEntry& x, const SortEntry& y) {
  int result = CompareHeaded(x.surnameHead, x.surname, y.surnameHead, y.surname);
  if (result != 0) return result;
  return CompareHeaded(x.givenHead, x.givenNames, y.givenHead, y.givenNames);
}

bool Before(const SortEntry& x, const SortEntry& y) { return Compare(x, y) > 0; }
bool Equal(const SortEntry& x, const SortEntry& y) { return Compare(x, y) == 0; }

struct Split {
  int leftEnd;     // the lower keys now fill l ... leftEnd
  int rightStart;  // the higher keys now fill rightStart ... r
};

// One partition of a[l..r] around the pivot a[r]. Keys equal to the pivot
// are gathered at both ends while scanning and then swapped into the
// middle. The swap-back loops stop short of a[p] and a[q], so one pivot-equal
// entry stays on each side when any were gathered; the order is still right,
// and this is what decides where persons with equal keys end up.
Split Partition(SortEntry* a, int l, int r) {
  const SortEntry v = a[r];
  int i = l - 1, j = r, p = l - 1, q = r;
  for (;;) {
    while (Before(a[++i], v)) {
    }
    while (Before(v, a[--j])) {
      if (j == l) break;
    }
    if (i >= j) break;
    std::swap(a[i], a[j]);
    if (Equal(a[i], v)) std::swap(a[++p], a[i]);
    if (Equal(v, a[j])) std::swap(a[--q], a[j]);
  }
  std::swap(a[i], a[r]);
  j = i - 1;
  i = i + 1;
  for (int k = l; k < p; ++k, --j) std::swap(a[k], a[j]);
  for (int k = r - 1; k > q; --k, ++i) std::swap(a[i], a[k]);
  return Split{j, i};
}

// How deep ranges may nest before the quicksort gives up on them: files in
// name order (as many programs export them) split every range lopsidedly,
// and partitioning all the way down would take quadratic time. Below this
// depth the arrangement is the quicksort's own, so every file that does not
// nest this deep (all files up to about 4,500 persons among them) comes out
// as it always did.
int DepthLimit(int n) {
  int log2 = 0;
  while ((n >> (log2 + 1)) > 0) ++log2;
  return std::max(8 * log2, 20000000 / n);
}

// The two ranges of a split are disjoint and sorting one does not change
// the other, so the smaller is sorted by recursion and the larger by going
// round again: the nesting of calls stays logarithmic. Each part of a
// partitioned range lies one level deeper than the range; a range deeper
// than the limit is put in key order by a stable sort instead, equal keys
// keeping the order they have at that moment.
void SortRange(SortEntry* a, int l, int r, int depth, int limit) {
  while (r > l) {
    if (depth > limit) {
      std::stable_sort(a + l, a + r + 1, Before);
      return;
    }
    Split split = Partition(a, l, r);
    ++depth;
    if (split.leftEnd - l < r - split.rightStart) {
      SortRange(a, l, split.leftEnd, depth, limit);
      l = split.rightStart;
    } else {
      SortRange(a, split.rightStart, r, depth, limit);
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
  std::vector<SortEntry> entries;
  ReserveOnLargePages(entries, static_cast<size_t>(last - first + 1));
  for (int k = first; k <= last; ++k) {
    const Person& p = slot.persons[slot.sortIndex[k]];
    entries.push_back(SortEntry{FoldedHead(p.surname), FoldedHead(p.givenNames), p.surname,
                                p.givenNames, slot.sortIndex[k]});
  }
  const int n = last - first + 1;
  SortRange(entries.data(), 0, last - first, 0, DepthLimit(n));
  for (int k = first; k <= last; ++k) slot.sortIndex[k] = entries[k - first].number;
}

}  // namespace kw
