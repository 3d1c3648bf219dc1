#include "match/phonetic.h"

#include <array>

namespace kw {

namespace {

// The nine letter groups; a group's position plus one is its digit.
constexpr const char* kGroups[9] = {
    "pfPF", "bvBV", "cszkCSZK\xDF", "gjqGJQ", "dtDT", "lL", "mM", "nN", "rRxX",
};

// The groups do not overlap, so each byte has at most one class and a
// lookup table answers in one step what a search through the groups would.
constexpr std::array<unsigned char, 256> BuildClassTable() {
  std::array<unsigned char, 256> table{};
  for (int group = 0; group < 9; ++group) {
    for (const char* letter = kGroups[group]; *letter != '\0'; ++letter) {
      table[static_cast<unsigned char>(*letter)] = static_cast<unsigned char>(group + 1);
    }
  }
  return table;
}

constexpr std::array<unsigned char, 256> kClassOf = BuildClassTable();

constexpr int kMaxDigits = 5;

// Coding starts at a byte from 'A' to 'z' read as a signed byte, so every
// byte from 0x80 up (umlauts, ß) is passed over at the start.
bool StartsCode(char c) {
  signed char value = static_cast<signed char>(c);
  return value >= 0x41 && value <= 0x7A;
}

}  // namespace

int PhoneticClass(unsigned char c) { return kClassOf[c]; }

const char* PhoneticCode(ScratchRing& ring, const char* name) {
  char* code = ring.Take(10);
  if (name == nullptr) return code;

  const char* c = name;
  while (*c != '\0' && !StartsCode(*c)) ++c;

  bool used[10] = {};
  int length = 0;
  for (; *c != '\0' && length < kMaxDigits; ++c) {
    int digit = PhoneticClass(static_cast<unsigned char>(*c));
    if (digit == 0 || used[digit]) continue;
    used[digit] = true;
    code[length++] = static_cast<char>('0' + digit);
  }
  return code;
}

}  // namespace kw
