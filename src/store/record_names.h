// The cross-references of records, both ways: which number a name stands
// for, and which name a number's record has in its file. A slot keeps here
// only the records whose name is not the plain "@I<n>@" ("@F<n>@") of
// their number; a file of a million persons can have most of its records
// named so (numbers from 250,000 up), so the names live in one block and
// flat tables rather than in a node per name.
//
// Most such names are a letter and a number ("@I612345@"). They are kept
// by that number: in a table indexed by it where the numbers lie close
// together (the usual case, a file numbering its records one after
// another), in a hashed one otherwise. Either holds the record's number
// too, so looking a name up touches one place and no name bytes.
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
  // Makes room for `count` names without moving the entries again.
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

  // Where a name of the form "@<letter><digits>@" is kept: its entry and
  // the number it stands for.
  struct NameCell {
    uint32_t at = 0;  // entry index + 1; 0 is an empty cell
    int32_t number = 0;
  };
  struct NumericPlace {
    uint64_t key = 0;  // the name's number times 256 plus its letter
    NameCell cell;
  };

  std::string_view Name(const Entry& entry) const {
    return std::string_view(names_).substr(entry.offset, entry.size);
  }
  // Makes room for one more name of the given kind in the hashed tables.
  void MakeRoom(bool numericName, bool otherName);
  void Rebuild();
  uint32_t NewEntry(std::string_view name, int32_t number);
  // The cell of a numeric name, or null when the name has none.
  const NameCell* FindNumeric(uint64_t key) const;
  NameCell* FindNumeric(uint64_t key);
  // A new cell for a numeric name that has none.
  NameCell& NewNumericCell(uint64_t key);
  bool InDenseRange(uint64_t key) const;
  // Notes that dense name `n` now stands for `number`.
  void NoteDenseNumber(uint64_t n, int32_t number);
  bool Present(uint64_t n) const {
    return n / 64 < present_.size() && (present_[n / 64] >> (n % 64) & 1) != 0;
  }
  // The place in byName_ (byNumeric_) where a name is or would go.
  size_t NamePlace(std::string_view name, uint64_t hash) const;
  size_t NumericPlaceOf(uint64_t key) const;
  // The entry index + 1 that number `number` has its name in; 0 for none.
  uint32_t EntryOf(int32_t number) const;
  void SetEntry(int32_t number, uint32_t at);

  std::string names_;
  std::vector<Entry> entries_;
  size_t reserved_ = 0;
  size_t denseNames_ = 0;    // names in dense_
  size_t numericNames_ = 0;  // numeric names in byNumeric_
  size_t otherNames_ = 0;    // names in byName_
  // Numeric names of one letter (the first one met) whose numbers are not
  // far beyond the count of names, by their number: a file's names are
  // mostly numbered one after another, and a table indexed by the number
  // is smaller than a hashed one and read in one step.
  bool denseLetterChosen_ = false;
  unsigned char denseLetter_ = 0;
  std::vector<NameCell> dense_;
  // Whether each number has a name in dense_, one bit a number. While every
  // name there stands for its digits plus one offset (a file numbering its
  // records one after another and named so), a lookup needs only its bit:
  // references come in no order, and the bits of a million names fit in
  // the near caches where their cells do not.
  enum class Offset { kNoNameYet, kUniform, kMixed };
  Offset offsetKind_ = Offset::kNoNameYet;
  int64_t offset_ = 0;
  std::vector<uint64_t> present_;
  // Open addressing, at least twice as many places as names; in byName_ 0
  // is an empty place, otherwise an entry index + 1.
  std::vector<uint32_t> byName_;
  std::vector<NumericPlace> byNumeric_;
  // By record number: the entry index + 1 of its name, 0 for none.
  std::vector<uint32_t> byNumber_;
};

// The number a log line shows for a record named `name` whose number is
// `number`: the digits of its name (@I152733931767@ shows 152733931767), or
// `number` when the name has none or they are 0.
long long DisplayNumber(std::string_view name, int32_t number);

}  // namespace kw

#endif  // KINWEAVE_STORE_RECORD_NAMES_H_
