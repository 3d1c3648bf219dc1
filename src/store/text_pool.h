// The text pool: where the name texts of a slot live, each NUL-terminated.
// Texts are never moved or freed while the pool lives, so Person records
// point straight into it; the pool grows in blocks as names arrive.
#ifndef KINWEAVE_STORE_TEXT_POOL_H_
#define KINWEAVE_STORE_TEXT_POOL_H_

#include <cstddef>
#include <memory>
#include <vector>

namespace kw {

class TextPool {
 public:
  TextPool() = default;
  TextPool(const TextPool&) = delete;
  TextPool& operator=(const TextPool&) = delete;
  // Moving keeps every text where it is.
  TextPool(TextPool&&) = default;
  TextPool& operator=(TextPool&&) = default;

  // Copies a text into the pool and returns the copy. Leading blanks and
  // leading line-end characters are skipped, and the text ends at the next
  // CR or LF. An empty result is the shared empty text (never in the pool).
  const char* Add(const char* text);

  // Bytes held, counting each text's NUL.
  size_t fill() const { return fill_; }
  // Forgets every text; only for a slot whose records go with them.
  void Clear();

  static const char* EmptyText();

 private:
  // Blocks start small, for the many small files, and double up to 1 MiB.
  static constexpr size_t kFirstBlockBytes = 1 << 12;
  static constexpr size_t kBlockBytes = 1 << 20;

  std::vector<std::unique_ptr<char[]>> blocks_;
  size_t blockFree_ = 0;  // bytes left in the last block
  size_t lastBlockBytes_ = 0;
  char* next_ = nullptr;  // where the next text goes in the last block
  size_t fill_ = 0;
};

}  // namespace kw

#endif  // KINWEAVE_STORE_TEXT_POOL_H_
