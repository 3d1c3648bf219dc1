// Record descriptions: persons, families and dates rendered as readable log
// text after a finding line or a merge line.
#ifndef KINWEAVE_CHECK_DESCRIBE_H_
#define KINWEAVE_CHECK_DESCRIBE_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/merge_log.h"
#include "store/store.h"

namespace kw {

// The date as text ("UNG 12 JAN 1900", "1750/1755") in 26 bytes of the
// scratch ring, or null when both year and month are 0. Months 13 to 15,
// which only the dotted form can store, are written as their number.
const char* DateText(ScratchRing& ring, PackedDate date);

// "%6d " number, given names, surname, birth year, "-" death year, "\n",
// appended to `line`.
void AppendPersonLine(const InputSlot& slot, int32_t person, std::string& line);

// The line of every person of both slots, made ahead of the export, which
// describes every merged and every added person in the log. Made there,
// the lines wait on memory for names scattered over the text pool; made on
// the core the merge pass's walk leaves idle, they cost the export a copy.
//
// Make reads only what the loads left and nothing after them changes: the
// persons' numbers, names and dates. So it may run while the walk links
// the persons. The lines describe the persons as they were then.
class PersonLines {
 public:
  void Make(const Store& store);
  // The person's line, or "" when none was made for it (not in its slot's
  // table when Make ran, or an empty entry).
  std::string_view Of(int slot, int32_t person) const;

 private:
  struct SlotLines {
    std::string text;
    std::vector<size_t> ends;  // person n's line is text[ends[n - 1], ends[n])
  };
  SlotLines slots_[2];
};

// Writes the person's line to the log: copied from `lines` where they hold
// it, made here otherwise.
void DescribePerson(Store& store, MergeLog& log, int slot, int person,
                    const PersonLines* lines = nullptr);

// " Fam [%d] ", husband's and wife's names, " & " marriage date; no line end.
void DescribeFamily(Store& store, MergeLog& log, int slot, int family);

}  // namespace kw

#endif  // KINWEAVE_CHECK_DESCRIBE_H_
