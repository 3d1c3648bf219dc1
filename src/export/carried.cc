#include "export/carried.h"

#include <climits>

#include "base/gedcom_line.h"

namespace kw {

namespace {

// Whether `name` has a form the output writes its own records under:
// "@I%d@" and "@F%d@" for added persons and families (of any number),
// "@N%d@" and "@S%d@" for notes and sources. Such a name is never handed
// to a carried record, whether or not the output ends up using it.
bool GeneratedForm(const std::string& name) {
  if (name.size() < 4 || name[0] != '@' || name.back() != '@') return false;
  int64_t limit = 0;
  switch (name[1]) {
    case 'I':
    case 'F': limit = INT32_MAX; break;
    case 'N':
    case 'S': limit = kNoteNumberLimit; break;
    default: return false;
  }
  std::string_view digits(name.data() + 2, name.size() - 3);
  if (digits == "0") return true;
  if (digits[0] == '0') return false;  // "%d" writes no leading zero
  return XrefNumber(name, name[1], limit) >= 0;
}

}  // namespace

bool CarriedRecords::Taken(const std::string& name) const {
  return used_.count(name) != 0 || HasRecordNamed(store_.slots[0], name) || GeneratedForm(name);
}

const std::string& CarriedRecords::NameFor(std::string_view xref) {
  std::string key(xref);
  auto known = names_.find(key);
  if (known != names_.end()) return known->second;
  std::string name = key;
  for (int suffix = 2; Taken(name); ++suffix) {
    name = key.substr(0, key.size() - 1) + "_" + std::to_string(suffix) + "@";
  }
  used_.insert(name);
  const auto& records = store_.slots[1].otherRecordPos;
  auto record = records.find(key);
  if (record != records.end()) queue_.push_back({name, record->second});
  return names_.emplace(std::move(key), std::move(name)).first->second;
}

}  // namespace kw
