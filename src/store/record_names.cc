#include "store/record_names.h"

#include <functional>

namespace kw {

namespace {

uint64_t HashOf(std::string_view name) { return std::hash<std::string_view>()(name); }

uint64_t HashOf(int32_t number) {
  uint64_t x = static_cast<uint32_t>(number) * 0x9E3779B97F4A7C15ull;
  return x ^ (x >> 29);
}

}  // namespace

void RecordNames::Clear() {
  names_.clear();
  entries_.clear();
  byName_.clear();
  byNumber_.clear();
}

void RecordNames::Reserve(size_t count) {
  entries_.reserve(count);
  if (byName_.size() < 2 * count) Grow(count);
}

// Tables of at least twice as many places as names keep the probes short.
void RecordNames::Grow(size_t count) {
  size_t places = 16;
  while (places < 2 * count) places *= 2;
  byName_.assign(places, 0);
  byNumber_.assign(places, 0);
  for (uint32_t i = 0; i < entries_.size(); ++i) {
    const Entry& entry = entries_[i];
    if (entry.size != 0) byName_[NamePlace(Name(entry), HashOf(Name(entry)))] = i + 1;
    // Later entries of a number are its later names.
    byNumber_[NumberPlace(entry.number)] = i + 1;
  }
}

size_t RecordNames::NamePlace(std::string_view name, uint64_t hash) const {
  size_t mask = byName_.size() - 1;
  for (size_t place = hash & mask;; place = (place + 1) & mask) {
    uint32_t at = byName_[place];
    if (at == 0 || Name(entries_[at - 1]) == name) return place;
  }
}

size_t RecordNames::NumberPlace(int32_t number) const {
  size_t mask = byNumber_.size() - 1;
  for (size_t place = HashOf(number) & mask;; place = (place + 1) & mask) {
    uint32_t at = byNumber_[place];
    if (at == 0 || entries_[at - 1].number == number) return place;
  }
}

void RecordNames::Add(std::string_view name, int32_t number) {
  if (2 * (entries_.size() + 1) > byName_.size()) Grow(entries_.size() + 1);
  size_t place = NamePlace(name, HashOf(name));
  uint32_t index;
  if (byName_[place] != 0) {
    index = byName_[place] - 1;
    entries_[index].number = number;
  } else {
    entries_.push_back({static_cast<uint32_t>(names_.size()), static_cast<uint32_t>(name.size()),
                        number});
    names_.append(name);
    index = static_cast<uint32_t>(entries_.size() - 1);
    byName_[place] = index + 1;
  }
  byNumber_[NumberPlace(number)] = index + 1;
}

void RecordNames::Forget(int32_t number) {
  if (byNumber_.empty() || byNumber_[NumberPlace(number)] == 0) return;
  // An entry without a name stands for the plain form.
  if (2 * (entries_.size() + 1) > byName_.size()) Grow(entries_.size() + 1);
  entries_.push_back({0, 0, number});
  byNumber_[NumberPlace(number)] = static_cast<uint32_t>(entries_.size());
}

int32_t RecordNames::NumberOf(std::string_view name) const {
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
  if (byNumber_.empty()) return {};
  uint32_t at = byNumber_[NumberPlace(number)];
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
