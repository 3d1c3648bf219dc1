// The store's own services: the text pool, reference lists, the counter
// hand-over.
#include "store/store.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "support/recording_reporter.h"

namespace kw {
namespace {

TEST(TextPool, StoresTrimmedTextsOneAfterTheOther) {
  TextPool pool;
  RecordingReporter reporter;
  EXPECT_EQ(pool.fill(), 1);
  const char* anna = pool.Add("   Anna\r\n", reporter);
  EXPECT_STREQ(anna, "Anna");
  EXPECT_EQ(pool.fill(), 6);
  const char* otto = pool.Add("\r\nOtto\nRest", reporter);
  EXPECT_STREQ(otto, "Otto");
  EXPECT_EQ(otto, anna + 5);  // right after the first text and its NUL
  EXPECT_STREQ(pool.Add("Karl  ", reporter), "Karl  ");  // trailing blanks stay
  for (const char* empty : {"", "\r\n", "   ", "  \r\n"}) {
    EXPECT_EQ(pool.Add(empty, reporter), TextPool::EmptyText()) << empty;
  }
  EXPECT_EQ(pool.Add(nullptr, reporter), TextPool::EmptyText());
  EXPECT_TRUE(reporter.errors.empty());
}

TEST(TextPool, RefusesATextThatWouldReachTheCapacity) {
  auto pool = std::make_unique<TextPool>();
  RecordingReporter reporter;
  pool->SetFillForTest(kPoolCapacity - 6);
  EXPECT_EQ(pool->Add("12345", reporter), nullptr);  // fill + 5 + 1 reaches the end
  ASSERT_EQ(reporter.errors.size(), 1u);
  EXPECT_EQ(reporter.errors[0], "\r\r\n\r\n\r\n\n!!!! Buffer overflow! !!!!\r\r\n\r\n\n");
  EXPECT_STREQ(pool->Add("1234", reporter), "1234");  // one byte shorter fits
  EXPECT_EQ(pool->fill(), kPoolCapacity - 1);
}

TEST(RefList, AppendsFindsRemovesWithoutLimit) {
  RefList list;
  for (int i = 1; i <= 1200; ++i) AddRef(list, i);
  EXPECT_EQ(list.count(), 1200);
  EXPECT_EQ(HasRef(list, 1200), 1);
  AddRef(list, 7);  // duplicates are the caller's business
  RemoveRef(list, 7);
  EXPECT_EQ(list.entries[6], 8);  // the first 7 went, later entries moved down
  EXPECT_EQ(list.entries.back(), 7);
  RemoveRef(list, 5000);
  EXPECT_EQ(list.count(), 1200);
  EXPECT_EQ(HasRef(RefList{}, 0), 0);
}

TEST(RefList, RefAtBeyondTheCountShowsAnErrorAndGivesTheFirstEntry) {
  RecordingReporter reporter;
  RefList list;
  AddRef(list, 4);
  AddRef(list, 9);
  EXPECT_EQ(RefAt(list, 1, reporter), 9);
  EXPECT_TRUE(reporter.errors.empty());
  EXPECT_EQ(RefAt(list, 2, reporter), 4);
  ASSERT_EQ(reporter.errors.size(), 1u);
  EXPECT_EQ(reporter.errors[0], "Error: [2] 2");
}

TEST(Store, StartsEmptyAndHandsCountersOver) {
  auto store = std::make_unique<Store>();
  EXPECT_FALSE(store->slots[0].prepared());
  EXPECT_EQ(store->notePos.size(), static_cast<size_t>(kNoteCapacity));
  store->slots[0].noteCount = 7;
  store->slots[0].sourceCount = 3;
  HandOverCounters(*store);
  EXPECT_EQ(store->slots[1].noteCount, 7);
  EXPECT_EQ(store->slots[1].sourceCount, 3);
  PrepareSlot(store->slots[1]);
  EXPECT_EQ(store->slots[1].persons.size(), static_cast<size_t>(kPersonCapacity));
  EXPECT_EQ(store->slots[1].noteCount, 7);  // preparing keeps the counters
}

}  // namespace
}  // namespace kw
