// Records of one GEDCOM file as the tool keeps them: persons, families, the
// small lists that link them, and the packed date word.
//
// A record's number is its index in its table; number 0 marks an empty or
// deleted entry and stands for "no record" in every reference field. Records
// do not carry their GEDCOM text: the export reads it back from the input
// file at `recordPos`.
#ifndef KINWEAVE_STORE_RECORDS_H_
#define KINWEAVE_STORE_RECORDS_H_

#include <cstddef>
#include <cstdint>
#include <initializer_list>

namespace kw {

// A date packed into one word. Bits 0-11 year (0 = none), 12-15 month,
// 16-20 day, 21-23 qualifier, 24 incomplete flag, 25-31 span (second year
// minus year). Zero means no date is known.
using PackedDate = uint32_t;

// Where a field of a PackedDate lies; a stored value keeps only as many low
// bits as its field has.
struct DateField {
  int shift;
  int bits;
};
constexpr DateField kDateYear{0, 12};
constexpr DateField kDateMonth{12, 4};
constexpr DateField kDateDay{16, 5};
constexpr DateField kDateQualifier{21, 3};
constexpr DateField kDateSpan{25, 7};
constexpr PackedDate kDateIncomplete = PackedDate{1} << 24;

inline int GetDateField(PackedDate d, DateField field) {
  return static_cast<int>((d >> field.shift) & ((PackedDate{1} << field.bits) - 1));
}
inline void SetDateField(PackedDate& d, DateField field, uint32_t value) {
  PackedDate mask = ((PackedDate{1} << field.bits) - 1) << field.shift;
  d = (d & ~mask) | ((value << field.shift) & mask);
}

inline int DateYear(PackedDate d) { return GetDateField(d, kDateYear); }
inline int DateMonth(PackedDate d) { return GetDateField(d, kDateMonth); }
inline int DateDay(PackedDate d) { return GetDateField(d, kDateDay); }
inline int DateQualifier(PackedDate d) { return GetDateField(d, kDateQualifier); }
inline bool DateIncomplete(PackedDate d) { return (d & kDateIncomplete) != 0; }
inline int DateSpan(PackedDate d) { return GetDateField(d, kDateSpan); }

// Numbers of records of the same slot, in the order they were added. The list
// has no fixed limit; it owns its storage.
//
// Two numbers are kept in the list itself, more in a block of their own:
// nearly every person has at most two families of each kind, so a table of
// a million persons needs no block for them, and the merge pass and the
// checks find a person's families beside the person.
class RefList {
 public:
  RefList() = default;
  RefList(std::initializer_list<int32_t> numbers);
  RefList(const RefList& other);
  RefList(RefList&& other) noexcept;
  RefList& operator=(RefList other) noexcept;
  ~RefList();

  int count() const { return static_cast<int>(size_); }
  size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  int32_t operator[](size_t i) const { return data()[i]; }
  const int32_t* begin() const { return data(); }
  const int32_t* end() const { return data() + size_; }

  void Append(int32_t number);
  // Removes the entry at `i`; later entries move down.
  void EraseAt(size_t i);

 private:
  static constexpr uint32_t kInPlace = 2;

  void Grow();

  union Storage {
    int32_t inPlace[kInPlace];
    int32_t* block;  // malloc'ed, `capacity_` entries
  };

  bool InBlock() const { return capacity_ > kInPlace; }
  const int32_t* data() const { return InBlock() ? storage_.block : storage_.inPlace; }
  int32_t* data() { return InBlock() ? storage_.block : storage_.inPlace; }

  uint32_t size_ = 0;
  uint32_t capacity_ = kInPlace;
  Storage storage_ = {};
};

// Appends the number; does not look for duplicates.
void AddRef(RefList& list, int32_t number);
// 1 when the number is one of the entries, else 0.
int HasRef(const RefList& list, int32_t number);
// Removes the first entry equal to the number; later entries move down.
void RemoveRef(RefList& list, int32_t number);

struct Person {
  int32_t number = 0;   // equals the index; 0 = empty entry
  int32_t partner = 0;  // matched person of the other slot; 0 = none
  const char* surname = nullptr;     // in the TextPool, the shared empty text, or null
  const char* givenNames = nullptr;  // likewise
  char sex = 0;                      // first character of the SEX value; 0 = none
  RefList spouseFamilies;            // FAMS, file order, no duplicates
  RefList parentFamilies;            // FAMC, file order, no duplicates
  PackedDate birth = 0;              // BIRT or CHR, the first with a year
  PackedDate death = 0;              // DEAT or BURI, the first with a year
  int64_t recordPos = 0;             // first byte after the level-0 line
  // Where the DATE lines of `birth` and `death` start in the file's bytes,
  // so the date can be shown as the file writes it; 0 = none.
  int64_t birthDatePos = 0;
  int64_t deathDatePos = 0;
};

// Asks for a person's record ahead of its reads, so that waits on memory
// overlap instead of coming one after the other. A record can straddle two
// cache lines, so both ends are asked for.
inline void PrefetchPerson(const Person& person) {
  __builtin_prefetch(&person);
  __builtin_prefetch(reinterpret_cast<const char*>(&person) + sizeof(Person) - 1);
}

struct Family {
  int32_t number = 0;
  int32_t partner = 0;
  int32_t husband = 0;
  int32_t wife = 0;
  RefList children;  // CHIL, file order, duplicates kept by the import
  PackedDate marriage = 0;
  int64_t recordPos = 0;
  int64_t marriageDatePos = 0;  // where the DATE line of `marriage` starts; 0 = none
};

}  // namespace kw

#endif  // KINWEAVE_STORE_RECORDS_H_
