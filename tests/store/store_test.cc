// The store's own services: the text pool, reference lists, the scratch
// ring.
#include "store/store.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "support/recording_reporter.h"

namespace kw {
namespace {

TEST(TextPool, StoresTrimmedTextsOneAfterTheOtherUntilFull) {
  auto pool = std::make_unique<TextPool>();
  RecordingReporter reporter;
  const char* anna = pool->Add("   Anna\r\n", reporter);
  EXPECT_STREQ(anna, "Anna");
  const char* otto = pool->Add("\r\nOtto\nRest", reporter);
  EXPECT_STREQ(otto, "Otto");
  EXPECT_EQ(otto, anna + 5);                              // right after the first text and its NUL
  EXPECT_STREQ(pool->Add("Karl  ", reporter), "Karl  ");  // trailing blanks stay
  for (const char* empty : {static_cast<const char*>(nullptr), "", "\r\n", "   ", "  \r\n"}) {
    EXPECT_EQ(pool->Add(empty, reporter), TextPool::EmptyText());
  }
  EXPECT_EQ(pool->fill(), 18);
  pool->SetFillForTest(kPoolCapacity - 6);
  EXPECT_EQ(pool->Add("12345", reporter), nullptr);  // fill + 5 + 1 reaches the end
  EXPECT_EQ(reporter.errors,
            std::vector<std::string>{"\r\r\n\r\n\r\n\n!!!! Buffer overflow! !!!!\r\r\n\r\n\n"});
  EXPECT_STREQ(pool->Add("1234", reporter), "1234");
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
