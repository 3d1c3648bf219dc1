#include "store/records.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

namespace kw {

RefList::RefList(std::initializer_list<int32_t> numbers) {
  for (int32_t number : numbers) Append(number);
}

RefList::RefList(const RefList& other) {
  for (int32_t number : other) Append(number);
}

RefList::RefList(RefList&& other) noexcept
    : size_(std::exchange(other.size_, 0)),
      capacity_(std::exchange(other.capacity_, kInPlace)),
      storage_(other.storage_) {}

RefList& RefList::operator=(RefList other) noexcept {
  std::swap(size_, other.size_);
  std::swap(capacity_, other.capacity_);
  std::swap(storage_, other.storage_);
  return *this;
}

RefList::~RefList() {
  if (InBlock()) std::free(storage_.block);
}

void RefList::Append(int32_t number) {
  if (size_ == capacity_) Grow();
  data()[size_++] = number;
}

// Lists grow one entry at a time; doubling keeps that linear.
void RefList::Grow() {
  if (capacity_ > UINT32_MAX / 2) throw std::bad_alloc();
  uint32_t capacity = capacity_ * 2;
  size_t bytes = size_t{capacity} * sizeof(int32_t);
  void* block = InBlock() ? std::realloc(storage_.block, bytes) : std::malloc(bytes);
  if (block == nullptr) throw std::bad_alloc();
  if (!InBlock()) std::memcpy(block, storage_.inPlace, sizeof storage_.inPlace);
  storage_.block = static_cast<int32_t*>(block);
  capacity_ = capacity;
}

void RefList::EraseAt(size_t i) {
  int32_t* entries = data();
  std::copy(entries + i + 1, entries + size_, entries + i);
  --size_;
}

void AddRef(RefList& list, int32_t number) { list.Append(number); }

int HasRef(const RefList& list, int32_t number) {
  return std::find(list.begin(), list.end(), number) != list.end() ? 1 : 0;
}

void RemoveRef(RefList& list, int32_t number) {
  const int32_t* at = std::find(list.begin(), list.end(), number);
  if (at != list.end()) list.EraseAt(static_cast<size_t>(at - list.begin()));
}

}  // namespace kw
