#include "match/sort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "support/slot_builder.h"
#include "support/table.h"

namespace kw::test {
namespace {

class SortTest : public SlotBuilder {
 protected:
  // Persons of slot 0 with these surnames, all named Hans.
  void AddSurnames(std::initializer_list<const char*> surnames) {
    for (const char* surname : surnames) AddPerson(0, {"Hans", surname});
  }
  // Sorts all of slot 0; its person numbers in their new order.
  Ids Sorted() {
    InputSlot& in = store().slots[0];
    SortPersons(in, 0, in.personCount - 1);
    return Ids(in.sortIndex.begin(), in.sortIndex.begin() + in.personCount);
  }
  int Keys(int32_t x, int32_t y) { return CompareSortKeys(person(0, x), person(0, y)); }
};

// Surnames decide, then given names; ü folds to u, case is ignored,
// digits come before letters; an absent name sorts last, an empty one first
// (tests/tables/sort-order.txt, in key order; added here in another).
TEST_F(SortTest, RealNamesInKeyOrder) {
  const std::vector<TableRow> rows = ReadTable("sort-order", 2);
  ASSERT_EQ(rows.size(), 15u);
  Ids expected(rows.size());
  for (int k : {7, 2, 12, 0, 9, 14, 4, 11, 1, 13, 6, 3, 10, 5, 8}) {
    expected[k] = AddPerson(0, {rows[k].Text(0), rows[k].Text(1)});
  }
  EXPECT_EQ(Sorted(), expected);
  EXPECT_EQ(Keys(expected[14], AddPerson(0, {})), 0);
  EXPECT_EQ(Keys(expected[10], AddPerson(0, {"HANS", "M\xDCLLER"})), 0);
}

// The walk pairs equal keys in the order the sort leaves them, so where
// they end up is part of the contract; worked out by hand.
TEST_F(SortTest, WhereEqualKeysEndUp) {
  AddSurnames({"B", "A", "B", "C", "B"});
  EXPECT_EQ(Sorted(), (Ids{2, 3, 5, 1, 4}));
  slot(0).personCount = 0;
  AddSurnames({"C", "C", "B", "B", "B"});
  EXPECT_EQ(Sorted(), (Ids{8, 9, 10, 7, 6}));
  slot(0).personCount = 0;
  AddSurnames({"B", "B", "A", "A", "B"});
  EXPECT_EQ(Sorted(), (Ids{13, 14, 15, 11, 12}));
}

// Most comparisons are settled on the first eight folded bytes of a name:
// names around that length, with accents, case, blanks, empty and absent
// names must still come out in key order, every person once. Sorted on two
// cores (slot 1 holds the same persons), equal keys end up as on one.
TEST_F(SortTest, TrickyNamesComeOutInKeyOrder) {
  const char* names[] = {nullptr,      "",           "Meier",     "MEIER",     "Meierhofer",
                         "Meierhofen", "M\xFCller",  "Mueller",   "Abcdefg",   "Abcdefgh",
                         "ABCDEFGHij", "Abcdefghik", "abcdefgh ", "Abc defgh", "\304bcdefgh1"};
  std::mt19937 random(11);
  for (int k = 0; k < 600; ++k) AddBoth({names[random() % 15], names[random() % 15]});
  Ids order = Sorted();
  SortAllPersons(slot(1), true);
  EXPECT_EQ(slot(1).sortIndex, order);
  EXPECT_TRUE(slot(1).sortedByName);
  for (size_t k = 1; k < order.size(); ++k) ASSERT_GE(Keys(order[k - 1], order[k]), 0) << k;
  std::sort(order.begin(), order.end());
  for (size_t k = 0; k < order.size(); ++k) ASSERT_EQ(order[k], static_cast<int32_t>(k) + 1);
}

}  // namespace
}  // namespace kw::test
