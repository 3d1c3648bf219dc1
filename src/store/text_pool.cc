#include "store/text_pool.h"

#include <cstring>

#include "base/reporter.h"

namespace kw {

namespace {
const char kEmptyText[1] = {0};
}

const char* TextPool::EmptyText() { return kEmptyText; }

TextPool::TextPool() : bytes_(new char[kPoolCapacity]()) {}

void TextPool::Clear() { std::memset(bytes_.get(), 0, kPoolCapacity); }

const char* TextPool::Add(const char* text, Reporter& reporter) {
  if (text == nullptr || text[0] == '\0') return EmptyText();
  while (*text == ' ') ++text;
  while (*text == '\r' || *text == '\n') ++text;
  size_t length = std::strcspn(text, "\r\n");
  if (length == 0) return EmptyText();
  if (static_cast<int64_t>(fill_) + static_cast<int64_t>(length) + 1 >= kPoolCapacity) {
    reporter.ShowError("\r\r\n\r\n\r\n\n!!!! Buffer overflow! !!!!\r\r\n\r\n\n");
    return nullptr;
  }
  char* copy = bytes_.get() + fill_;
  std::memcpy(copy, text, length);
  copy[length] = '\0';
  fill_ += static_cast<int32_t>(length) + 1;
  return copy;
}

}  // namespace kw
