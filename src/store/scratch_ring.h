// A fixed area from which short-lived texts (date texts, phonetic codes) are
// handed out without allocation. A text stays valid until the ring wraps and
// reaches its bytes again, so callers use a result at once.
#ifndef KINWEAVE_STORE_SCRATCH_RING_H_
#define KINWEAVE_STORE_SCRATCH_RING_H_

#include <cstring>

namespace kw {

class ScratchRing {
 public:
  static constexpr int kSize = 10000;

  // Returns n zeroed bytes; goes back to the start when fewer than n + 10
  // bytes are left after the cursor.
  char* Take(int n) {
    if (cursor_ + n + 10 > kSize) cursor_ = 0;
    char* bytes = area_ + cursor_;
    std::memset(bytes, 0, static_cast<size_t>(n));
    cursor_ += n;
    return bytes;
  }
  int cursor() const { return cursor_; }

 private:
  char area_[kSize] = {};
  int cursor_ = 0;
};

}  // namespace kw

#endif  // KINWEAVE_STORE_SCRATCH_RING_H_
