// Memory for the few large blocks of a run (the input files' bytes, the
// person and family tables): asked for in 2 MiB pages where the system
// grants them on request. Fresh memory takes a page fault every 4 KiB when
// first written, dear in a virtual machine; and a table read in an order
// far from its own misses the address cache less on large pages.
#ifndef KINWEAVE_BASE_LARGE_PAGES_H_
#define KINWEAVE_BASE_LARGE_PAGES_H_

#include <cstddef>
#include <memory>

namespace kw {

// Asks for large pages for the part of [data, data + bytes) not yet
// written. Only a request: nothing changes where the system does not
// offer it, and blocks under a few large pages are left alone.
void AskForLargePages(void* data, size_t bytes);

// Reserves room for `count` elements of a string or vector and asks for
// large pages for it; what the container held before keeps its pages.
template <typename Container>
void ReserveOnLargePages(Container& container, size_t count) {
  container.reserve(count);
  AskForLargePages(container.data(), container.capacity() * sizeof(*container.data()));
}

// The allocator of the person and family tables: std::allocator's memory,
// asked for in large pages before the table writes into it.
template <typename T>
struct LargePageAllocator {
  using value_type = T;

  LargePageAllocator() = default;
  template <typename U>
  LargePageAllocator(const LargePageAllocator<U>&) {}

  T* allocate(size_t n) {
    T* data = std::allocator<T>().allocate(n);
    AskForLargePages(data, n * sizeof(T));
    return data;
  }
  void deallocate(T* data, size_t n) { std::allocator<T>().deallocate(data, n); }

  template <typename U>
  bool operator==(const LargePageAllocator<U>&) const {
    return true;
  }
};

}  // namespace kw

#endif  // KINWEAVE_BASE_LARGE_PAGES_H_
