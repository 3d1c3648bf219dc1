// Record descriptions: persons, families and dates rendered as readable log
// text after a finding line or a merge line.
#ifndef KINWEAVE_CHECK_DESCRIBE_H_
#define KINWEAVE_CHECK_DESCRIBE_H_

#include "base/merge_log.h"
#include "store/store.h"

namespace kw {

// The date as text ("UNG 12 JAN 1900", "1750/1755") in 26 bytes of the
// scratch ring, or null when both year and month are 0. Months 13 to 15,
// which only the dotted form can store, are written as their number.
const char* DateText(ScratchRing& ring, PackedDate date);

// "%6d " number, given names, surname, birth year, "-" death year, "\n".
void DescribePerson(Store& store, MergeLog& log, int slot, int person);

// " Fam [%d] ", husband's and wife's names, " & " marriage date; no line end.
void DescribeFamily(Store& store, MergeLog& log, int slot, int family);

}  // namespace kw

#endif  // KINWEAVE_CHECK_DESCRIBE_H_
