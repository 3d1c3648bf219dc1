#include "base/fold.h"

namespace kw {

namespace {
// Folded values of the bytes 0xC0 ... 0xFF.
const char kAccentTable[] = "aaaaaaeceeeeiiiidnooooox0uuuuypsaaaaaaeceeeeiiiiOnooooo/0uuuuypy";
}  // namespace

int FoldByte(unsigned char c) {
  if (c <= 0x60) return c + 0x20;
  if (c <= 0xBF) return c;
  return static_cast<unsigned char>(kAccentTable[c - 0xC0]);
}

int FoldCompare(const char* first, const char* second, int limit) {
  if (first == nullptr || second == nullptr || first == second) return 0;
  for (int k = 0;; ++k) {
    int f1 = FoldByte(static_cast<unsigned char>(first[k]));
    int f2 = FoldByte(static_cast<unsigned char>(second[k]));
    if (f1 != f2) return f2 - f1;
    if (f1 == 0x20) return 0;
    if (k + 1 >= limit) return 0;
  }
}

}  // namespace kw
