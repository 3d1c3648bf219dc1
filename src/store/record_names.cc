#include "store/record_names.h"

#include <algorithm>
#include <functional>
#include <utility>

#include "base/gedcom_line.h"

namespace kw {

namespace {

uint64_t HashOf(std::string_view name) { return std::hash<std::string_view>()(name); }

uint64_t HashOf(uint64_t key) {
  uint64_t x = key * 0x9E3779B97F4A7C15ull;
  return x ^ (x >> 29);
}

// "@", one character, then up to 16 digits without a leading zero, "@":
// such a name is its character and its number, and no other name is.
bool NumericKey(std::string_view name, uint64_t* key) {
  constexpr int64_t kBeyondSixteenDigits = 10000000000000000;
  if (name.size() < 4 || name[2] == '0') return false;
  int64_t n = XrefNumber(name, name[1], kBeyondSixteenDigits);
  if (n < 0) return false;
  *key = static_cast<uint64_t>(n) << 8 | static_cast<unsigned char>(name[1]);
  return true;
}

size_t PlacesFor(size_t count) {
  size_t places = 16;
  while (places < 2 * count) places *= 2;
  return places;
}

}  // namespace

void RecordNames::Clear() {
  names_.clear();
  entries_.clear();
  reserved_ = denseNames_ = numericNames_ = otherNames_ = 0;
  denseLetterChosen_ = false;
  denseLetter_ = 0;
  dense_.clear();
  offsetKind_ = Offset::kNoNameYet;
  offset_ = 0;
  present_.clear();
  byName_.clear();
  byNumeric_.clear();
  byNumber_.clear();
}

void RecordNames::Reserve(size_t count) {
  entries_.reserve(count);
  reserved_ = count;
}

// Tables of at least twice as many places as names keep the probes short.
void RecordNames::MakeRoom(bool numericName, bool otherName) {
  if ((numericName && 2 * (numericNames_ + 1) > byNumeric_.size()) ||
      (otherName && 2 * (otherNames_ + 1) > byName_.size())) {
    byNumeric_.assign(PlacesFor(numericNames_ + (numericName ? 1 : 0)), NumericPlace{});
    byName_.assign(PlacesFor(otherNames_ + (otherName ? 1 : 0)), 0);
    Rebuild();
  }
}

// The hashed tables anew; names kept in dense_ stay there.
void RecordNames::Rebuild() {
  for (uint32_t i = 0; i < entries_.size(); ++i) {
    const Entry& entry = entries_[i];
    if (entry.size == 0) continue;
    uint64_t key = 0;
    if (!NumericKey(Name(entry), &key)) {
      byName_[NamePlace(Name(entry), HashOf(Name(entry)))] = i + 1;
      continue;
    }
    const NameCell* dense = FindNumeric(key);
    if (dense != nullptr && dense->at == i + 1) continue;
    byNumeric_[NumericPlaceOf(key)] = {key, {i + 1, entry.number}};
  }
}

size_t RecordNames::NamePlace(std::string_view name, uint64_t hash) const {
  size_t mask = byName_.size() - 1;
  for (size_t place = hash & mask;; place = (place + 1) & mask) {
    uint32_t at = byName_[place];
    if (at == 0 || Name(entries_[at - 1]) == name) return place;
  }
}

size_t RecordNames::NumericPlaceOf(uint64_t key) const {
  size_t mask = byNumeric_.size() - 1;
  for (size_t place = HashOf(key) & mask;; place = (place + 1) & mask) {
    const NumericPlace& numeric = byNumeric_[place];
    if (numeric.cell.at == 0 || numeric.key == key) return place;
  }
}

uint32_t RecordNames::EntryOf(int32_t number) const {
  if (number < 0 || static_cast<size_t>(number) >= byNumber_.size()) return 0;
  return byNumber_[static_cast<size_t>(number)];
}

// Record numbers are handed out one after another from below 250,000 up,
// so a table by number is no larger than the records of the file.
void RecordNames::SetEntry(int32_t number, uint32_t at) {
  if (number < 0) return;
  if (static_cast<size_t>(number) >= byNumber_.size()) byNumber_.resize(number + size_t{1}, 0);
  byNumber_[static_cast<size_t>(number)] = at;
}

uint32_t RecordNames::NewEntry(std::string_view name, int32_t number) {
  entries_.push_back({static_cast<uint32_t>(names_.size()), static_cast<uint32_t>(name.size()),
                      number});
  names_.append(name);
  return static_cast<uint32_t>(entries_.size() - 1);
}

// A number beyond eight times the names (and a little more) would leave
// the indexed table mostly empty: such names are hashed.
bool RecordNames::InDenseRange(uint64_t key) const {
  if (!denseLetterChosen_ || (key & 0xFF) != denseLetter_) return false;
  uint64_t n = key >> 8;
  return n < 8 * std::max(denseNames_ + 1, reserved_) + 65536;
}

const RecordNames::NameCell* RecordNames::FindNumeric(uint64_t key) const {
  uint64_t n = key >> 8;
  if (denseLetterChosen_ && (key & 0xFF) == denseLetter_ && n < dense_.size() &&
      dense_[n].at != 0) {
    return &dense_[n];
  }
  if (byNumeric_.empty()) return nullptr;
  const NumericPlace& place = byNumeric_[NumericPlaceOf(key)];
  return place.cell.at != 0 ? &place.cell : nullptr;
}

RecordNames::NameCell* RecordNames::FindNumeric(uint64_t key) {
  return const_cast<NameCell*>(std::as_const(*this).FindNumeric(key));
}

RecordNames::NameCell& RecordNames::NewNumericCell(uint64_t key) {
  if (!denseLetterChosen_) {
    denseLetterChosen_ = true;
    denseLetter_ = static_cast<unsigned char>(key & 0xFF);
  }
  if (InDenseRange(key)) {
    uint64_t n = key >> 8;
    if (n >= dense_.size()) dense_.resize(n + 1);
    ++denseNames_;
    return dense_[n];
  }
  MakeRoom(true, false);
  NumericPlace& place = byNumeric_[NumericPlaceOf(key)];
  place.key = key;
  ++numericNames_;
  return place.cell;
}

void RecordNames::Add(std::string_view name, int32_t number) {
  uint64_t key = 0;
  uint32_t index;
  if (NumericKey(name, &key)) {
    NameCell* cell = FindNumeric(key);
    if (cell == nullptr) {
      index = NewEntry(name, number);
      cell = &NewNumericCell(key);
      cell->at = index + 1;
    }
    index = cell->at - 1;
    cell->number = number;
    entries_[index].number = number;
    if (cell >= dense_.data() && cell < dense_.data() + dense_.size()) {
      NoteDenseNumber(key >> 8, number);
    }
  } else {
    MakeRoom(false, true);
    size_t place = NamePlace(name, HashOf(name));
    if (byName_[place] != 0) {
      index = byName_[place] - 1;
      entries_[index].number = number;
    } else {
      index = NewEntry(name, number);
      byName_[place] = index + 1;
      ++otherNames_;
    }
  }
  SetEntry(number, index + 1);
}

void RecordNames::NoteDenseNumber(uint64_t n, int32_t number) {
  if (n / 64 >= present_.size()) present_.resize(n / 64 + 1, 0);
  present_[n / 64] |= uint64_t{1} << (n % 64);
  const int64_t offset = number - static_cast<int64_t>(n);
  if (offsetKind_ == Offset::kNoNameYet) {
    offsetKind_ = Offset::kUniform;
    offset_ = offset;
  } else if (offset != offset_) {
    offsetKind_ = Offset::kMixed;
  }
}

void RecordNames::Forget(int32_t number) {
  if (EntryOf(number) == 0) return;
  // An entry without a name stands for the plain form.
  entries_.push_back({0, 0, number});
  SetEntry(number, static_cast<uint32_t>(entries_.size()));
}

int32_t RecordNames::NumberOf(std::string_view name) const {
  uint64_t key = 0;
  if (NumericKey(name, &key)) {
    const uint64_t n = key >> 8;
    if (offsetKind_ == Offset::kUniform && (key & 0xFF) == denseLetter_ && Present(n)) {
      return static_cast<int32_t>(static_cast<int64_t>(n) + offset_);
    }
    const NameCell* cell = FindNumeric(key);
    return cell == nullptr ? -1 : cell->number;
  }
  if (byName_.empty()) return -1;
  uint32_t at = byName_[NamePlace(name, HashOf(name))];
  return at == 0 ? -1 : entries_[at - 1].number;
}

std::vector<std::string_view> RecordNames::Names() const {
  std::vector<std::string_view> names;
  for (const Entry& entry : entries_) {
    if (NameOf(entry.number) == Name(entry)) names.push_back(Name(entry));
  }
  return names;
}

std::string_view RecordNames::NameOf(int32_t number) const {
  uint32_t at = EntryOf(number);
  return at == 0 ? std::string_view() : Name(entries_[at - 1]);
}

long long DisplayNumber(std::string_view name, int32_t number) {
  size_t digit = name.find_first_of("0123456789");
  if (digit == std::string_view::npos) return number;
  long long value = 0;
  for (size_t i = digit; i < name.size() && name[i] >= '0' && name[i] <= '9'; ++i) {
    if (value > (9223372036854775807LL - 9) / 10) return number;  // beyond 64 bits
    value = value * 10 + (name[i] - '0');
  }
  // A log line leaves out a piece whose number is 0, so @I0@ shows the
  // number it was handed.
  return value == 0 ? number : value;
}

}  // namespace kw
