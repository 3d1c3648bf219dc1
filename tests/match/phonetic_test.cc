#include "match/phonetic.h"

#include <gtest/gtest.h>

#include <string>

#include "support/table.h"

namespace kw {
namespace {

std::string Code(const char* name) {
  ScratchRing ring;
  return PhoneticCode(ring, name);
}

// tests/tables/phonetic-codes.txt
TEST(PhoneticCode, NamesThatSoundAlikeShareACodeThatStartsAtALetter) {
  for (const test::TableRow& row : test::ReadTable("phonetic-codes", 2)) {
    EXPECT_EQ(Code(row.Text(0)), row.Bytes(1)) << row;
  }
}

}  // namespace
}  // namespace kw
