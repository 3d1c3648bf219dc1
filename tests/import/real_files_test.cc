// The real GEDCOM files whose contents were counted by hand give those
// counts, and the encodings of one tree give the same names. (Every file
// loads and merges with itself in the export's real-file sweep.)
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/load_fixture.h"

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

struct Counted {
  const char* file;
  int persons;
  int families;
};

TEST(RealFiles, HandCountedFiles) {
  SKIP_WITHOUT_REAL_DATA();
  // Counted with grep over the level-0 INDI and FAM lines, whatever their
  // cross-references look like (@PERSON1@, @FATHER@, @F00-25@).
  for (Counted c : {Counted{"willis.ged", 761, 293}, Counted{"willis-ansel.ged", 761, 293},
                    Counted{"willis-unicode-littleendian.ged", 761, 293},
                    Counted{"willis-unicode-bigendian.ged", 761, 293},
                    Counted{"TGC551.ged", 15, 7}, Counted{"TGC551LF.ged", 15, 7},
                    Counted{"allged.ged", 8, 4}, Counted{"ansel.ged", 35, 1},
                    Counted{"LTERLF.ged", 3, 1}, Counted{"LTERCR.ged", 3, 1},
                    Counted{"NorseGods.ged", 117, 69}, Counted{"RomanGods.ged", 322, 170},
                    Counted{"Shakespeare.ged", 39, 22}, Counted{"BachFamily.ged", 33, 14},
                    Counted{"Married1200.ged", 1201, 1200}, Counted{"utf8_cr_nobom.ged", 10, 4},
                    Counted{"indented-lines.ged", 1, 0}}) {
    LoadSetup s;
    LoadReal(s, c.file);
    EXPECT_EQ(s.slot(0).personCount, c.persons) << c.file;
    EXPECT_EQ(s.slot(0).familyCount, c.families) << c.file;
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
