// The store's own services: the text pool, reference lists, records found
// by their names, the scratch ring.
#include "store/store.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "support/recording_reporter.h"

namespace kw {
namespace {

TEST(TextPool, StoresTrimmedTextsThatStayWhereTheyAreAsItGrows) {
  TextPool pool;
  const char* anna = pool.Add("   Anna\r\n");
  EXPECT_STREQ(anna, "Anna");
  const char* otto = pool.Add("\r\nOtto\nRest");
  EXPECT_STREQ(otto, "Otto");
  EXPECT_EQ(otto, anna + 5);                     // right after the first text and its NUL
  EXPECT_STREQ(pool.Add("Karl  "), "Karl  ");  // trailing blanks stay
  for (const char* empty : {static_cast<const char*>(nullptr), "", "\r\n", "   ", "  \r\n"}) {
    EXPECT_EQ(pool.Add(empty), TextPool::EmptyText());
  }
  EXPECT_EQ(pool.fill(), 17u);
  // Far more names than one block holds: every earlier text stays valid.
  std::string name(999, 'n');
  for (int i = 0; i < 3000; ++i) pool.Add(name.c_str());
  EXPECT_STREQ(anna, "Anna");
  EXPECT_STREQ(otto, "Otto");
  TextPool moved = std::move(pool);
  EXPECT_STREQ(anna, "Anna");  // moving the pool moves no text
}

TEST(RefList, AppendsFindsRemovesWithoutLimit) {
  RecordingReporter reporter;
  RefList list;
  for (int i = 1; i <= 1200; ++i) AddRef(list, i);
  AddRef(list, 7);  // duplicates are the caller's business
  RemoveRef(list, 7);
  RemoveRef(list, 5000);
  EXPECT_EQ(list.count(), 1200);
  EXPECT_EQ(HasRef(list, 1200) + HasRef(list, 7) + HasRef(RefList{}, 0), 2);
  EXPECT_EQ(RefAt(list, 6, reporter), 8);  // the first 7 went, later entries moved down
  EXPECT_EQ(RefAt(list, 1199, reporter), 7);
  EXPECT_TRUE(reporter.errors.empty());
  EXPECT_EQ(RefAt(list, 1200, reporter), 1);
  EXPECT_EQ(reporter.errors, std::vector<std::string>{"Error: [1200] 1200"});
}

// Lists of two entries or fewer are kept in place, longer ones in a block:
// each way of copying or moving a list must take its entries along, and a
// table of persons that grows moves every list it holds.
TEST(RefList, KeepsItsEntriesThroughCopiesMovesAndGrowingTables) {
  auto entries = [](const RefList& list) { return std::vector<int32_t>(list.begin(), list.end()); };
  const std::vector<std::vector<int32_t>> cases = {{}, {4}, {4, 9}, {4, 9, 5}, {1, 2, 3, 4, 5, 6}};
  for (const auto& numbers : cases) {
    RefList list;
    for (int32_t n : numbers) AddRef(list, n);
    RefList copy(list);
    RefList moved(std::move(copy));
    RefList assigned{77, 78, 79, 80};
    assigned = moved;
    RefList shortened{77};
    shortened = std::move(moved);
    EXPECT_EQ(entries(list), numbers);
    EXPECT_EQ(entries(assigned), numbers);
    EXPECT_EQ(entries(shortened), numbers);
    EXPECT_EQ(copy.count() + moved.count(), 0);  // moved from: empty, and usable
    AddRef(moved, 3);
    EXPECT_EQ(entries(moved), std::vector<int32_t>{3});
  }
  std::vector<Person> table(1);
  for (int32_t n = 1; n <= 40; ++n) {
    table.push_back(Person{});  // moves the persons before it
    for (int32_t k = 0; k < n % 5; ++k) AddRef(table.back().spouseFamilies, n * 10 + k);
  }
  for (int32_t n = 1; n <= 40; ++n) {
    const RefList& list = table[static_cast<size_t>(n)].spouseFamilies;
    ASSERT_EQ(list.count(), n % 5);
    for (int32_t k = 0; k < n % 5; ++k) EXPECT_EQ(list[static_cast<size_t>(k)], n * 10 + k);
  }
  RefList two{5, 6};
  RemoveRef(two, 5);
  AddRef(two, 7);
  AddRef(two, 8);  // out of place now
  RemoveRef(two, 7);
  EXPECT_EQ(entries(two), (std::vector<int32_t>{6, 8}));
}

// Records numbered on from the kept limits up may come to the number their
// own name carries; such a plain name is kept nowhere and must still lead
// to its record, and to nothing else.
TEST(NumberOfName, PlainNamesFromTheKeptLimitsUpStandForTheirRecords) {
  InputSlot slot;
  PrepareSlot(slot, 250003, 100002);
  slot.personNames.Add("@X1@", 250001);  // numbered on, under a name of its own
  slot.personNames.Add("@I250001@", 250002);
  EXPECT_EQ(PersonNumberOf(slot, "@I249999@"), 249999);
  EXPECT_EQ(PersonNumberOf(slot, "@I250000@"), 250000);  // came to its own number
  EXPECT_EQ(PersonNumberOf(slot, "@I250001@"), 250002);  // the name, not the number
  EXPECT_EQ(PersonNumberOf(slot, "@I250002@"), -1);      // 250002 is @I250001@
  EXPECT_EQ(PersonNumberOf(slot, "@I250003@"), -1);      // beyond the table
  slot.familyNames.Add("@G1@", 100000);  // the first number on, under a name of its own
  EXPECT_EQ(FamilyNumberOf(slot, "@F100000@"), -1);
  EXPECT_EQ(FamilyNumberOf(slot, "@F100001@"), 100001);
  EXPECT_EQ(FamilyNumberOf(slot, "@F100002@"), -1);
}

TEST(ScratchRing, WrapsWhenTheNextTextWouldNotFitAndHandsOutZeroes) {
  ScratchRing ring;
  char* first = ring.Take(26);
  first[0] = 'x';
  for (int i = 1; i < 384; ++i) ring.Take(26);
  EXPECT_EQ(ring.cursor(), 384 * 26);
  EXPECT_EQ(ring.Take(26), first);  // 9984 + 26 + 10 would pass the end
  EXPECT_EQ(first[0], '\0');
}

}  // namespace
}  // namespace kw
