// The name order of a slot: the merge-join finds equal persons in one
// forward pass over both slots' person lists, so each list is first put into
// order by folded surname, then folded given name, absent names last.
#ifndef KINWEAVE_MATCH_SORT_H_
#define KINWEAVE_MATCH_SORT_H_

#include "store/store.h"

namespace kw {

// Positive when x sorts before y, negative when after, 0 when both keys are
// equal (the direction of FoldCompare). Surnames decide first, given names
// break ties; an absent (null) name sorts after every present one, an empty
// name before every non-empty one.
int CompareSortKeys(const Person& x, const Person& y);

// Sorts positions first ... last (inclusive) of the slot's sortIndex in
// place; persons themselves are not touched. A range with last <= first is
// left alone.
//
// Equal keys are not ordered among themselves, and the merge-join pairs them
// in the order they end up in, so the arrangement is part of the contract: it
// is that of a three-way (Bentley-McIlroy) quicksort whose pivot is the last
// entry of the range. That pivot makes input already in name order (or in
// reverse order) nest as deep as the list is long; ranges nested deeper than
// max(8 * floor(log2 n), floor(20,000,000 / n)), n the number of persons
// sorted, are put in order by a stable sort instead. The time stays
// O(n log n) for any input, the stack depth logarithmic.
void SortPersons(InputSlot& slot, int first, int last);

// Sorts the slot's whole sortIndex as SortPersons does and marks it in name
// order (sortedByName). Where `worthAThread`, the first partitions are made
// here, as the sort on one core makes them, and the parts, which touch
// nothing in common, are sorted on two threads; the arrangement is the same.
void SortAllPersons(InputSlot& slot, bool worthAThread);

}  // namespace kw

#endif  // KINWEAVE_MATCH_SORT_H_
