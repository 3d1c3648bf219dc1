#include "match/compare.h"

#include <gtest/gtest.h>

#include <string>

#include "support/slot_builder.h"

namespace kw::test {
namespace {

using enum Verdict;

class Distances : public SlotBuilder {
 protected:
  int Surnames(const char* p, const char* q) {
    ScratchRing& ring = store().ring;
    return SurnameDistance(ring, PutPerson(0, 1, {"Hans", p}), PutPerson(1, 1, {"Hans", q}));
  }
  int GivenNames(const char* p, const char* q) {
    ScratchRing& ring = store().ring;
    return GivenNameDistance(ring, PutPerson(0, 1, {p, "Meier"}), PutPerson(1, 1, {q, "Meier"}));
  }
};

struct DistanceCase {
  const char* p;
  const char* q;
  int distance;
};

std::string Pair(const DistanceCase& c) {
  return ::testing::PrintToString(c.p) + " / " + ::testing::PrintToString(c.q);
}

// The prefix test is one-sided; an empty name is nobody's prefix here.
TEST_F(Distances, SurnamesFromPrefixToNoAgreement) {
  const DistanceCase cases[] = {
      {"Weber", "Webers", 0},     {"weber", "WEBER", 0},      {"Meier", "Meierhofer", 0},
      {"Schmidt", "Schmitt", 1},  {"Hofmann", "Hoffmann", 1}, {"Schmidtke", "Schmidtbauer", 2},
      {"Hartmann", "Hartwig", 4}, {"Meierhofer", "Meier", 4}, {"Webers", "Weber", 4},
      {"Bauer", "Baumann", 15},   {"", "Weber", 15},          {nullptr, "Bauer", 8},
      {"Bauer", nullptr, 8},
  };
  for (const DistanceCase& c : cases) EXPECT_EQ(Surnames(c.p, c.q), c.distance) << Pair(c);
}

// Whole names first, then the first four words position by position; the
// search of a word in the other name is case-sensitive. Runs of blanks
// separate once, a trailing blank makes no word, a name of more than 100
// bytes is split whole.
TEST_F(Distances, GivenNamesWholeThenWordByWord) {
  const std::string longWord(100, 'a');
  const std::string longName = longWord + " Peter", longOther = longWord + " Xaver",
                    longPrefix = longWord + " Pet";
  // clang-format off
  const DistanceCase cases[] = {
      {"Johann", "Johann Georg", 0}, {"Johann Georg", "Johann", 5}, {"Hans", "Hannes", 1},
      {"Hans", "Peter", 15}, {nullptr, "Hans", 8}, {"Hans", nullptr, 8},
      {"Anna Maria", "Maria Anna", 2}, {"anna Maria", "Maria Anna", 15},
      {"Anna Maria", "Annabel Marianne Kunz", 4}, {"Anna   Maria ", "Annabel Marianne Kunz", 4},
      {"Ada Ida Ola Uta Xaver", "Ada Ida Ola Uta Zacharias", 5},
      {longName.c_str(), longPrefix.c_str(), 5}, {longName.c_str(), longOther.c_str(), 15},
      {longOther.c_str(), longName.c_str(), 15}};
  // clang-format on
  for (const DistanceCase& c : cases) EXPECT_EQ(GivenNames(c.p, c.q), c.distance) << Pair(c);
}

using ComparePersonsTest = SlotBuilder;

// In the name walk "not the same" tells which cursor moves on: the slot-0
// one when p sorts first. The family modes count evidence instead.
TEST_F(ComparePersonsTest, Verdicts) {
  const struct {
    PersonData p, q;
    int mode;
    Verdict verdict;
  } cases[] = {
      {{"Hans", "M\xFCller", 1850, 1910}, {"Hans", "Mueller", 1850}, kNameWalk, kSame},
      {{"Hans", "Meyer", 1800}, {"Hans", "Maier", 1800}, kNameWalk, kSame},
      {{"Hans", "Abel"}, {"Hans", "Bach"}, kNameWalk, kSlot0Before},
      {{"Hans", "Adam"}, {"Hans", "Cramer"}, kNameWalk, kSlot0Before},
      {{"Hans", "Bach"}, {"Hans", "Abel"}, kNameWalk, kSlot1Before},
      // Years: equal births, or equal deaths, and no conflict.
      {{"Hans", "Meier"}, {"Hans", "Meier"}, kNameWalk, kSlot0Before},
      {{"Hans", "Meier", 1850}, {"Hans", "Meier", 1851}, kNameWalk, kSlot0Before},
      {{"Hans", "Meier", 1850, 1900}, {"Hans", "Meier", 1850, 1901}, kNameWalk, kSlot0Before},
      {{"Hans", "Meier", 0, 1900}, {"Hans", "Meier", 1850, 1900}, kNameWalk, kSame},
      {{"Hans", "Meier", 1850}, {"Hans", "Meier", 1850}, kNameWalk, kSame},
      {{"Hans", "Meier", 1850, 1900}, {"Hans", "Meier", 1851, 1900}, kNameWalk, kSlot0Before},
      // Given names and sex.
      {{"Johann", "Meier", 1800}, {"Johann Georg", "Meier", 1800}, kNameWalk, kSame},
      {{"Johann Georg", "Meier", 1800}, {"Johann", "Meier", 1800}, kNameWalk, kSlot1Before},
      {{"Hans", "Meier", 1800}, {"Hans", "Meier", 1800, 0, 'F'}, kNameWalk, kSlot1Before},
      {{"Hans", "Meier", 1800}, {"Hans", "Meier", 1800, 0, 0}, kNameWalk, kSlot1Before},
      // Missing or empty names.
      {{"Hans", ""}, {"Hans", "Meier"}, kNameWalk, kSlot0Before},
      {{"Hans", "Meier"}, {"Hans", nullptr}, kNameWalk, kSlot1Before},
      {{nullptr, "Meier"}, {"Hans", "Meier"}, kNameWalk, kSlot0Before},
      {{"Hans", "Meier"}, {"", "Meier"}, kNameWalk, kSlot1Before},
      // Family modes: related given names alone are evidence enough.
      {{"Hans", "Schmidt"}, {"Hannes", "Schmitt"}, kSpouseOrChild, kSame},
      {{"Anna", "Meier", 0, 0, 'F'}, {"Anna", "Meier"}, kSpouseOrChild, kSlot1Before},
      {{"Anna", "Meier", 0, 0, 'F'}, {"Anna", "Meier"}, kParent, kSlot1Before},
      {{"Karl", "Bauer"}, {"Karl", "Baumann"}, kSpouseOrChild, kSlot0Before},
      {{"Hans", "Meier"}, {"Peter", "Meier"}, kSpouseOrChild, kSlot0Before},
      {{"Hans", "Meier"}, {"Peter", "Meier"}, kParent, kSlot0Before},
      // Differing known years veto a spouse or child, never a parent.
      {{"Hans", "Meier", 1850, 1900}, {"Hans", "Meier", 1850, 1901}, kParent, kSame},
      {{"Hans", "Meier", 1850, 1900}, {"Hans", "Meier", 1850, 1901}, kSpouseOrChild, kSlot0Before},
      {{"Hans", "Meier", 1850, 1900}, {"Peter", "Meier", 1850, 1901}, kSpouseOrChild, kSlot0Before},
      {{"Hans", "Meier", 1850, 1900}, {"Hans", "Meier", 1851, 1900}, kSpouseOrChild, kSlot0Before},
      {{"Hans", "Meier", 1850, 1900}, {"Hans", "Meier", 1851, 1900}, kParent, kSame},
  };
  int same = 0, row = 0;
  for (const auto& c : cases) {
    const int32_t p = AddPerson(0, c.p), q = AddPerson(1, c.q);
    EXPECT_EQ(Compare(p, q, c.mode), c.verdict) << "row " << row++;
    if (c.verdict == kSame) {
      EXPECT_EQ(person(0, p).partner, q);
      EXPECT_EQ(person(1, q).partner, p);
      ++same;
    }
  }
  EXPECT_EQ(state_.mergeCount, same);
}

// Linked persons are taken without a look; deleted ones never match.
TEST_F(ComparePersonsTest, LinkedAndDeletedPersons) {
  auto [p, q] = AddBoth({"Hans", "Meier", 1850});
  ASSERT_EQ(Compare(p, q, kNameWalk), kSame);
  for (int mode : {kNameWalk, kSpouseOrChild, kParent}) EXPECT_EQ(Compare(p, q, mode), kLinked);
  auto [p2, q2] = AddBoth({"Hans", "Meier", 1850});
  person(0, p2).number = 0;
  EXPECT_EQ(Compare(p2, q2, kNameWalk), kSlot0Before);
  EXPECT_EQ(Compare(p2, q2, kSpouseOrChild), kSlot0Before);
  person(0, p2).number = p2;
  person(1, q2).number = 0;
  EXPECT_EQ(Compare(p2, q2, kNameWalk), kSlot1Before);
  EXPECT_EQ(Compare(p2, q2, kParent), kSlot1Before);
  EXPECT_EQ(state_.mergeCount, 1);
}

// With little other evidence a common marriage year decides, two unknown
// years counting as equal; it overrides the veto of differing death years.
TEST_F(ComparePersonsTest, CommonMarriageYear) {
  auto marriedPair = [&](int birth1, int death1, std::initializer_list<int> years1) {
    const int32_t p = AddPerson(0, {"Hans", "Meier", 1850, 1900});
    const int32_t q = AddPerson(1, {"Peter", "Meier", birth1, death1});
    AddFamily(0, p, 0, {}, 1820);
    for (int year : years1) AddFamily(1, q, 0, {}, year);
    return std::pair{p, q};
  };
  auto [p1, q1] = marriedPair(0, 0, {1821, 0});
  EXPECT_EQ(Compare(p1, q1, kParent), kSlot0Before);
  AddFamily(1, q1, 0, {}, 1820);
  EXPECT_EQ(Compare(p1, q1, kParent), kSame);
  auto [p2, q2] = marriedPair(1850, 1901, {1820});
  EXPECT_EQ(Compare(p2, q2, kSpouseOrChild), kSame);
  const int32_t p3 = AddPerson(0, {"Hans", "Meier"});
  const int32_t q3 = AddPerson(1, {"Peter", "Meier"});
  AddFamily(0, p3, 0);
  AddFamily(1, q3, 0);
  EXPECT_EQ(Compare(p3, q3, kSpouseOrChild), kSame);
}

}  // namespace
}  // namespace kw::test
