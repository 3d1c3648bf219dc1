#include "match/sort.h"

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#include "base/fold.h"
#include "base/large_pages.h"
#include "base/side_by_side.h"

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

namespace {

std::vector<SortEntry> EntriesOf(const InputSlot& slot, int first, int last) {
  std::vector<SortEntry> entries;
  ReserveOnLargePages(entries, static_cast<size_t>(last - first + 1));
  for (int k = first; k <= last; ++k) {
    const Person& p = slot.persons[slot.sortIndex[k]];
    entries.push_back(SortEntry{FoldedHead(p.surname), FoldedHead(p.givenNames), p.surname,
                                p.givenNames, slot.sortIndex[k]});
  }
  return entries;
}

void PutBack(const std::vector<SortEntry>& entries, InputSlot& slot, int first) {
  for (size_t k = 0; k < entries.size(); ++k) slot.sortIndex[first + k] = entries[k].number;
}

// A range still to be sorted, at the depth the sort on one core gives it.
struct Part {
  int l;
  int r;
  int depth;
  int size() const { return r - l + 1; }
};

// Partitions the largest part, as the sort would, until none holds more than
// half of the n entries: the first split alone can be lopsided. A part
// deeper than the limit is not partitioned but sorted stably, so it stays
// whole; so do all parts after a few rounds (a file in name order sheds one
// entry a round).
std::vector<Part> SplitForTwo(SortEntry* a, int n, int limit) {
  constexpr int kRounds = 8;
  std::vector<Part> parts{{0, n - 1, 0}};
  for (int round = 0; round < kRounds; ++round) {
    auto largest = std::max_element(parts.begin(), parts.end(), [](const Part& x, const Part& y) {
      return x.size() < y.size();
    });
    if (largest->size() <= n / 2 || largest->depth > limit) break;
    Part whole = *largest;
    Split split = Partition(a, whole.l, whole.r);
    *largest = Part{whole.l, split.leftEnd, whole.depth + 1};
    parts.push_back(Part{split.rightStart, whole.r, whole.depth + 1});
  }
  return parts;
}

}  // namespace

void SortPersons(InputSlot& slot, int first, int last) {
  if (last <= first) return;
  std::vector<SortEntry> entries = EntriesOf(slot, first, last);
  const int n = last - first + 1;
  SortRange(entries.data(), 0, last - first, 0, DepthLimit(n));
  PutBack(entries, slot, first);
}

void SortAllPersons(InputSlot& slot, bool worthAThread) {
  const int n = slot.personCount;
  slot.sortedByName = true;
  if (!worthAThread || n < 2) return SortPersons(slot, 0, n - 1);
  std::vector<SortEntry> entries = EntriesOf(slot, 0, n - 1);
  SortEntry* a = entries.data();
  const int limit = DepthLimit(n);
  std::vector<Part> parts = SplitForTwo(a, n, limit);
  // The largest parts first, each to the side with less to do.
  std::sort(parts.begin(), parts.end(),
            [](const Part& x, const Part& y) { return x.size() > y.size(); });
  std::vector<Part> sides[2];
  int load[2] = {0, 0};
  for (const Part& part : parts) {
    int side = load[0] <= load[1] ? 0 : 1;
    sides[side].push_back(part);
    load[side] += part.size();
  }
  auto sortParts = [a, limit](const std::vector<Part>& mine) {
    for (const Part& part : mine) SortRange(a, part.l, part.r, part.depth, limit);
  };
  SideBySide(
      true, [&] { sortParts(sides[0]); }, [&] { sortParts(sides[1]); });
  PutBack(entries, slot, 0);
}

}  // namespace kw
