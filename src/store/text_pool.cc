#include "store/text_pool.h"

#include <algorithm>
#include <cstring>

namespace kw {

namespace {
const char kEmptyText[1] = {0};
}

const char* TextPool::EmptyText() { return kEmptyText; }

void TextPool::Clear() {
  blocks_.clear();
  blockFree_ = 0;
  lastBlockBytes_ = 0;
  next_ = nullptr;
  fill_ = 0;
}

const char* TextPool::Add(const char* text) {
  if (text == nullptr || text[0] == '\0') return EmptyText();
  while (*text == ' ') ++text;
  while (*text == '\r' || *text == '\n') ++text;
  size_t length = std::strcspn(text, "\r\n");
  if (length == 0) return EmptyText();
  if (length + 1 > blockFree_) {
    size_t size = blocks_.empty() ? kFirstBlockBytes : std::min(kBlockBytes, 2 * lastBlockBytes_);
    if (size < length + 1) size = length + 1;
    lastBlockBytes_ = size;
    // Every byte handed out is written first: no need to clear the block.
    blocks_.push_back(std::make_unique_for_overwrite<char[]>(size));
    next_ = blocks_.back().get();
    blockFree_ = size;
  }
  char* copy = next_;
  std::memcpy(copy, text, length);
  copy[length] = '\0';
  next_ += length + 1;
  blockFree_ -= length + 1;
  fill_ += length + 1;
  return copy;
}

}  // namespace kw
