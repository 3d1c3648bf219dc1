// The cross-references of records, both ways: which number a name stands
// for, and which name a number's record has in its file. A slot keeps here
// only the records whose name is not the plain "@I<n>@" ("@F<n>@") of
// their number; a file of a million persons can have most of its records
// named so (numbers from 250,000 up), so the names live in one block and
// two flat tables rather than in a node per name.
#ifndef KINWEAVE_STORE_RECORD_NAMES_H_
#define KINWEAVE_STORE_RECORD_NAMES_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kw {

class RecordNames {
 public:
  void Clear();
  // Makes room for `count` names without growing the tables again.
  void Reserve(size_t count);

  // Remembers that record `number` is named `name`: the last name given to
  // a number is its name, and a name stands for the last number given it.
  void Add(std::string_view name, int32_t number);
  // Record `number` is written in the plain form again: NameOf gives "".
  void Forget(int32_t number);

  // The number of the record named `name`, or -1.
  int32_t NumberOf(std::string_view name) const;
  // The name of record `number`, or "" when it has none here.
  std::string_view NameOf(int32_t number) const;

  // Every name that still stands for its number.
  std::vector<std::string_view> Names() const;

  size_t size() const { return entries_.size(); }
  bool empty() const { return entries_.empty(); }

 private:
  struct Entry {
    uint32_t offset;  // of the name in names_
    uint32_t size;
    int32_t number;
  };

  std::string_view Name(const Entry& entry) const {
    return std::string_view(names_).substr(entry.offset, entry.size);
  }
  void Grow(size_t count);
  // The place in byName_ where `name` is or would go.
  size_t NamePlace(std::string_view name, uint64_t hash) const;
  size_t NumberPlace(int32_t number) const;

  std::string names_;
  std::vector<Entry> entries_;
  // Open addressing; 0 is an empty place, otherwise an entry index + 1.
  std::vector<uint32_t> byName_;
  std::vector<uint32_t> byNumber_;
};

// The number a log line shows for a record named `name` whose number is
// `number`: the digits of its name (@I152733931767@ shows 152733931767), or
// `number` when the name has none or they are 0.
long long DisplayNumber(std::string_view name, int32_t number);

}  // namespace kw

#endif  // KINWEAVE_STORE_RECORD_NAMES_H_
