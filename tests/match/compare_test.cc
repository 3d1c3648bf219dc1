#include "match/compare.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "support/slot_builder.h"
#include "support/table.h"

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

// Prefixes and empty names (tests/tables/name-distances.txt); a name of
// more than 100 bytes is split whole.
TEST_F(Distances, FromPrefixToNoAgreement) {
  for (const TableRow& row : ReadTable("name-distances", 4)) {
    const bool surname = row.Raw(0) == "surname";
    const int distance =
        surname ? Surnames(row.Text(1), row.Text(2)) : GivenNames(row.Text(1), row.Text(2));
    EXPECT_EQ(distance, row.Int(3)) << row;
  }
  const std::string longWord(100, 'a');
  const std::string longName = longWord + " Peter", longOther = longWord + " Xaver";
  EXPECT_EQ(GivenNames(longName.c_str(), (longWord + " Pet").c_str()), 5);
  EXPECT_EQ(GivenNames(longName.c_str(), longOther.c_str()), 15);
  EXPECT_EQ(GivenNames(longOther.c_str(), longName.c_str()), 15);
}

using ComparePersonsTest = SlotBuilder;

// A row's five fields from `at` on: given name, surname, birth and death
// year, sex.
PersonData Person(const TableRow& row, size_t at) {
  return {row.Text(at), row.Text(at + 1), row.Int(at + 2), row.Int(at + 3), row.Text(at + 4)[0]};
}

// In the name walk "not the same" tells which cursor moves on: the slot-0
// one when p sorts first. The family modes count evidence instead
// (tests/tables/compare-verdicts.txt).
TEST_F(ComparePersonsTest, Verdicts) {
  const std::map<std::string, int> modes = {
      {"walk", kNameWalk}, {"family", kSpouseOrChild}, {"parent", kParent}};
  const std::map<std::string, Verdict> verdicts = {
      {"same", kSame}, {"first", kSlot0Before}, {"second", kSlot1Before}};
  int same = 0;
  for (const TableRow& row : ReadTable("compare-verdicts", 14)) {
    const int32_t p = AddPerson(0, Person(row, 0)), q = AddPerson(1, Person(row, 6));
    const Verdict verdict = verdicts.at(row.Raw(13));
    EXPECT_EQ(Compare(p, q, modes.at(row.Raw(12))), verdict) << row;
    if (verdict == kSame) {
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
