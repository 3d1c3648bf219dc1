// Records of input file 2 that the output carries over because a line it
// takes from input file 2 points at them: repositories, multimedia,
// submitters, user-defined records, and notes and sources the import could
// not number (@SOURCE1@). Persons, families and numbered notes and sources
// have their own numbering and are not carried here.
//
// Every cross-reference that such a line uses gets one output name: its
// own when the output has no record of that name, otherwise the name with
// a suffix ("@R1@" -> "@R1_2@", then "@R1_3@" ...) that no record of the
// output uses. A pointer that named nothing in input file 2 is named the
// same way, so it still names nothing and never lands on a record of input
// file 1. Names are handed out in the order they are first asked for: the
// same inputs always give the same output.
#ifndef KINWEAVE_EXPORT_CARRIED_H_
#define KINWEAVE_EXPORT_CARRIED_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "store/store.h"

namespace kw {

class CarriedRecords {
 public:
  struct Record {
    std::string name;  // the cross-reference the output writes it under
    int64_t position;  // first byte after its level-0 line in input file 2
  };

  explicit CarriedRecords(const Store& store) : store_(store) {}

  // The output name of input file 2's cross-reference `xref`. The first
  // call for a record of input file 2 queues the record for writing.
  const std::string& NameFor(std::string_view xref);

  // The queued records, in the order they were first named. Writing one
  // may queue more; the queue only grows.
  size_t count() const { return queue_.size(); }
  Record at(size_t i) const { return queue_[i]; }

 private:
  bool Taken(const std::string& name) const;

  const Store& store_;
  std::unordered_map<std::string, std::string> names_;  // input name -> output name
  std::unordered_set<std::string> used_;                 // output names handed out
  std::vector<Record> queue_;
};

}  // namespace kw

#endif  // KINWEAVE_EXPORT_CARRIED_H_
