// The real GEDCOM files whose contents were counted by hand give those
// counts, and the encodings of one tree give the same names. (Every file
// loads and merges with itself in the export's real-file sweep.)
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/load_fixture.h"
#include "support/table.h"

namespace kw {
namespace {

using test::LoadSetup;

#define SKIP_WITHOUT_REAL_DATA()                                                   \
  if (!test::RealTestDataPresent()) GTEST_SKIP() << "shared real test data absent: " \
                                                 << KINWEAVE_REAL_TESTDATA

// Loads a copy of a real file into slot 0.
void LoadReal(LoadSetup& s, const std::string& name, int slot = 0) {
  std::string copy = s.dir.File(name);
  std::filesystem::copy_file(test::RealTestFile(name), copy,
                             std::filesystem::copy_options::overwrite_existing);
  ASSERT_EQ(s.LoadPath(slot, copy), 1) << name;
}

// tests/tables/real-file-counts.txt
TEST(RealFiles, HandCountedFiles) {
  SKIP_WITHOUT_REAL_DATA();
  for (const test::TableRow& row : test::ReadTable("real-file-counts", 3)) {
    LoadSetup s;
    LoadReal(s, row.Raw(0));
    EXPECT_EQ(s.slot(0).personCount, row.Int(1)) << row;
    EXPECT_EQ(s.slot(0).familyCount, row.Int(2)) << row;
  }
}

TEST(RealFiles, EncodingsOfOneTreeGiveTheSameNames) {
  SKIP_WITHOUT_REAL_DATA();
  LoadSetup reference;
  LoadReal(reference, "willis-ansel.ged");
  for (const char* other : {"willis-ascii.ged", "willis-unicode-littleendian.ged",
                            "willis-unicode-bigendian.ged"}) {
    LoadSetup s;
    LoadReal(s, other);
    int compared = 0;
    for (int n = 0; n < reference.slot(0).personEnd; ++n) {
      const Person& a = reference.person(0, n);
      const Person& b = s.person(0, n);
      ASSERT_EQ(a.number, b.number) << other << " person " << n;
      if (a.surname == nullptr) continue;
      ASSERT_NE(b.surname, nullptr) << other << " person " << n;
      EXPECT_STREQ(a.surname, b.surname) << other;
      EXPECT_STREQ(a.givenNames, b.givenNames) << other;
      EXPECT_EQ(a.birth, b.birth) << other;
      ++compared;
    }
    EXPECT_GT(compared, 700) << other;
  }
}

TEST(RealFiles, CarriageReturnOnlyAndUtf8Names) {
  SKIP_WITHOUT_REAL_DATA();
  LoadSetup s;
  LoadReal(s, "utf8_cr_nobom.ged");
  EXPECT_STREQ(s.person(0, 1).surname, "Gr\xFC" "ber");
  EXPECT_STREQ(s.person(0, 4).surname, "Gro\xDFmann");
  EXPECT_STREQ(s.person(0, 7).surname, "?uar\xF3n");  // C acute has no byte
  LoadSetup m;
  LoadReal(m, "Married1200.ged");
  int most = 0;
  for (int n = 0; n < m.slot(0).personEnd; ++n) {
    most = std::max(most, m.person(0, n).spouseFamilies.count());
  }
  EXPECT_EQ(most, 1200);
}

}  // namespace
}  // namespace kw
