#include "base/large_pages.h"

#include <cstdint>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace kw {

namespace {

constexpr uintptr_t kLargePage = uintptr_t{1} << 21;

}  // namespace

void AskForLargePages(void* data, size_t bytes) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
  // Only whole large pages inside the block: the rest may be shared with
  // other blocks of the heap.
  const uintptr_t start = reinterpret_cast<uintptr_t>(data);
  const uintptr_t first = (start + kLargePage - 1) & ~(kLargePage - 1);
  const uintptr_t end = (start + bytes) & ~(kLargePage - 1);
  if (end <= first || end - first < 2 * kLargePage) return;
  madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
#else
  (void)data, (void)bytes, (void)kLargePage;
#endif
}

}  // namespace kw
