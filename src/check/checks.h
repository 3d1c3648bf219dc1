// Consistency check and repair of a freshly loaded slot: every link between
// persons and families is stated twice in a GEDCOM file, and this makes both
// sides agree. Each contradiction is logged as one "\r\n### " line (mostly
// with a description) and repaired at once.
#ifndef KINWEAVE_CHECK_CHECKS_H_
#define KINWEAVE_CHECK_CHECKS_H_

#include "base/merge_log.h"
#include "store/store.h"

namespace kw {

// Examines and repairs one person; returns the number of counted findings.
int CheckPerson(Store& store, MergeLog& log, int slot, int person);

// Examines and repairs one family; returns the number of counted findings.
int CheckFamily(Store& store, MergeLog& log, int slot, int family);

// The check run of a slot: CheckPerson for 0 .. personEnd - 1, then
// CheckFamily for 0 .. familyEnd - 1. Returns the sum of the counts; the
// caller logs it.
int CheckSlot(Store& store, MergeLog& log, int slot);

}  // namespace kw

#endif  // KINWEAVE_CHECK_CHECKS_H_
