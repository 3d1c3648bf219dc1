// A prepared slot built by hand, with a merge log written into a fresh temp
// directory: for tests of the checks and the descriptions, which read and
// repair records and write log text.
#ifndef KINWEAVE_TESTS_SUPPORT_CHECK_FIXTURE_H_
#define KINWEAVE_TESTS_SUPPORT_CHECK_FIXTURE_H_

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "store/store.h"
#include "ui/merge_log.h"
#include "ui/recording_reporter.h"

namespace kw {

class CheckFixture : public ::testing::Test {
 protected:
  CheckFixture() {
    char pattern[] = "/tmp/kinweave-check-XXXXXX";
    const char* made = mkdtemp(pattern);
    EXPECT_NE(made, nullptr);
    dir_ = made != nullptr ? made : "/tmp";
    store_ = std::make_unique<Store>();
    // The log goes beside input file 1 as "log".
    store_->slots[0].filePath = dir_ + "/in.ged";
    PrepareSlot(store_->slots[0]);
    log_ = std::make_unique<MergeLog>(store_->slots[0].filePath, reporter_);
  }

  ~CheckFixture() override {
    log_.reset();
    std::error_code ignored;
    if (dir_ != "/tmp") std::filesystem::remove_all(dir_, ignored);
  }

  InputSlot& slot() { return store_->slots[0]; }
  Store& store() { return *store_; }
  MergeLog& log() { return *log_; }

  // A present person of slot 0; null names stay absent.
  Person& AddPerson(int number, const char* givenNames = nullptr, const char* surname = nullptr,
                    char sex = 0) {
    Person& p = slot().persons[number];
    p.number = number;
    p.givenNames = givenNames;
    p.surname = surname;
    p.sex = sex;
    if (slot().personEnd < number + 1) slot().personEnd = number + 1;
    return p;
  }

  // A present family of slot 0.
  Family& AddFamily(int number, int husband, int wife, std::initializer_list<int32_t> children = {}) {
    Family& f = slot().families[number];
    f.number = number;
    f.husband = husband;
    f.wife = wife;
    f.children.entries.assign(children.begin(), children.end());
    if (slot().familyEnd < number + 1) slot().familyEnd = number + 1;
    return f;
  }

  Person& person(int number) { return slot().persons[number]; }
  Family& family(int number) { return slot().families[number]; }

  // Everything written to the log so far ("" when it was never opened).
  std::string LogText() {
    std::ifstream in(dir_ + "/log", std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  RecordingReporter reporter_;

 private:
  std::string dir_;
  std::unique_ptr<Store> store_;
  std::unique_ptr<MergeLog> log_;
};

// The entries of a list, for compact comparisons.
inline std::vector<int32_t> Entries(const RefList& list) { return list.entries; }

}  // namespace kw

#endif  // KINWEAVE_TESTS_SUPPORT_CHECK_FIXTURE_H_
