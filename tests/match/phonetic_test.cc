#include "match/phonetic.h"

#include <gtest/gtest.h>

#include <string>

namespace kw {
namespace {

TEST(PhoneticClass, NineGroupsOnRawBytes) {
  const char* groups[9] = {"pfPF", "bvBV", "cszkCSZK\xDF", "gjqGJQ", "dtDT",
                           "lL",   "mM",   "nN",           "rRxX"};
  for (int digit = 1; digit <= 9; ++digit) {
    for (const char* c = groups[digit - 1]; *c != '\0'; ++c) {
      EXPECT_EQ(PhoneticClass(static_cast<unsigned char>(*c)), digit) << *c;
    }
  }
  // Vowels, h w y, umlauts and accents (no folding), digits, blanks: none.
  for (unsigned char c : std::string("aeiouAEIOUhwyHWY09 -.\xE4\xF6\xFC\xC4\xE9\xC7")) {
    EXPECT_EQ(PhoneticClass(c), 0) << static_cast<int>(c);
  }
  int classed = 0;
  for (int c = 0; c < 256; ++c) classed += PhoneticClass(static_cast<unsigned char>(c)) != 0;
  EXPECT_EQ(classed, 37);  // exactly the bytes of the nine groups
}

std::string Code(const char* name) {
  ScratchRing ring;
  return PhoneticCode(ring, name);
}

// Names that sound alike share a code of at most five digits, never padded.
TEST(PhoneticCode, NamesThatSoundAlikeShareACode) {
  for (const char* name : {"Meier", "Maier", "Mayer", "Meyer"}) EXPECT_EQ(Code(name), "79");
  for (const char* name : {"M\xFCller", "Mueller", "Miller"}) EXPECT_EQ(Code(name), "769");
  EXPECT_EQ(Code("Schmidt"), "375");
  EXPECT_EQ(Code("Schmitt"), "375");
  EXPECT_EQ(Code("Strau\xDF"), "359");
  EXPECT_EQ(Code("Pfeiffer"), "19");
  EXPECT_EQ(Code("Zimmermann"), "3798");
  EXPECT_EQ(Code("Brandenburg"), "29854");
  EXPECT_EQ(Code("Abcdfgjklmnpr"), "23514");
}

TEST(PhoneticCode, StartSkipsBytesOutsideAToZ) {
  EXPECT_EQ(Code("\xD6LBERG"), "6294");  // Ö is passed over
  EXPECT_EQ(Code("von Berg"), "2894");   // the blank codes nothing
  EXPECT_EQ(Code("12Peter"), "159");
  // ß at the start is passed over; after the start it is class 3.
  EXPECT_EQ(Code("\xDF" "er"), "9");
  EXPECT_EQ(Code("A\xDF" "er"), "39");
  // '[' (0x5B) lies between 'A' and 'z', so coding starts there.
  EXPECT_EQ(Code("[\xDF"), "3");
  // Names without classes give the empty code.
  for (const char* name : {static_cast<const char*>(nullptr), "", "123", "\xDF", "Aue", "   "}) {
    EXPECT_EQ(Code(name), "") << (name == nullptr ? "null" : name);
  }
}

TEST(PhoneticCode, ResultsComeFromTheRing) {
  ScratchRing ring;
  const char* first = PhoneticCode(ring, "Meier");
  const char* second = PhoneticCode(ring, "Schmidt");
  EXPECT_NE(first, second);
  EXPECT_STREQ(first, "79");
  EXPECT_STREQ(second, "375");
  // Every slot is 10 bytes, all zero after the digits.
  for (int k = 2; k < 10; ++k) EXPECT_EQ(first[k], '\0');

  for (int call = 3; call <= 999; ++call) PhoneticCode(ring, "x");
  EXPECT_EQ(ring.cursor(), 9990);
  EXPECT_EQ(PhoneticCode(ring, "Pfeiffer"), first);  // the 1000th reuses the first
}

}  // namespace
}  // namespace kw
