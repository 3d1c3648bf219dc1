// The text pool: one block of 20,000,000 bytes that holds every name text of
// both slots, each NUL-terminated, one after the other. Texts are never moved
// or freed while the pool lives, so Person records point straight into it.
#ifndef KINWEAVE_STORE_TEXT_POOL_H_
#define KINWEAVE_STORE_TEXT_POOL_H_

#include <cstdint>
#include <memory>

namespace kw {

class Reporter;

constexpr int32_t kPoolCapacity = 20000000;

class TextPool {
 public:
  TextPool();

  // Copies a text into the pool and returns the copy. Leading blanks and
  // leading line-end characters are skipped, and the text ends at the next
  // CR or LF. An empty result is the shared empty text (never in the pool).
  // When the text does not fit, the error box shows the overflow message and
  // the result is null.
  const char* Add(const char* text, Reporter& reporter);

  // Offset of the next free byte; starts at 1 so offset 0 never holds a text.
  int32_t fill() const { return fill_; }
  // Clears all bytes; only done while the pool holds no text.
  void Clear();
  // Test hook: pretend the pool holds `fill` bytes already.
  void SetFillForTest(int32_t fill) { fill_ = fill; }

  static const char* EmptyText();

 private:
  std::unique_ptr<char[]> bytes_;
  int32_t fill_ = 1;
};

}  // namespace kw

#endif  // KINWEAVE_STORE_TEXT_POOL_H_
