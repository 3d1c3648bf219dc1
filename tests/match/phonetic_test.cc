#include "match/phonetic.h"

#include <gtest/gtest.h>

#include <string>

namespace kw {
namespace {

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

// Coding starts at the first byte from 'A' to 'z'; umlauts and ß are passed
// over there, later ß is an s.
TEST(PhoneticCode, CodingStartsAtALetter) {
  EXPECT_EQ(Code("\xD6LBERG"), "6294");
  EXPECT_EQ(Code("von Berg"), "2894");
  EXPECT_EQ(Code("zur Linden"), "39685");
  EXPECT_EQ(Code("12Peter"), "159");
  EXPECT_EQ(Code("\xDF"
                 "er"),
            "9");
  EXPECT_EQ(Code("A\xDF"
                 "er"),
            "39");
  EXPECT_EQ(Code("[\xDF"), "3");  // '[' lies between 'A' and 'z'
  for (const char* name : {static_cast<const char*>(nullptr), "", "123", "\xDF", "Aue", "   "}) {
    EXPECT_EQ(Code(name), "") << ::testing::PrintToString(name);
  }
}

}  // namespace
}  // namespace kw
