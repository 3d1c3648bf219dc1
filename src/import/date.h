// Date parsing: the value of a DATE line (English GEDCOM keywords, their
// German counterparts, or dotted numeric dates) becomes a PackedDate.
#ifndef KINWEAVE_IMPORT_DATE_H_
#define KINWEAVE_IMPORT_DATE_H_

#include "store/records.h"

namespace kw {

// Month number 1..12 of a month token, 0 when it is none. "Apr", "Mar",
// "Jan" and "Jun" are matched whole (folded); otherwise the first letter
// decides, searched from DEZ down to JAN.
int MonthNumber(const char* token);

// Qualifier code 1..4 of a token (BEF/VOR 1, AFT/NAC 2, ABT/UNG 3,
// CAL/BER 4, whole token, any case), 0 when it is none.
int QualifierCode(const char* token);

// Reads a date text into `target`. Returns 1 when accepted, 0 when rejected;
// a rejected date keeps the fields stored before the rejection and its
// incomplete flag. A null text leaves the target unchanged and returns 0.
int ParseDate(PackedDate& target, const char* text);

}  // namespace kw

#endif  // KINWEAVE_IMPORT_DATE_H_
