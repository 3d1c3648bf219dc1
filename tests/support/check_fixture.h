// A prepared slot built by hand, with a merge log written into a fresh temp
// directory: for tests of the checks and the descriptions, which read and
// repair records and write log text.
#ifndef KINWEAVE_TESTS_SUPPORT_CHECK_FIXTURE_H_
#define KINWEAVE_TESTS_SUPPORT_CHECK_FIXTURE_H_

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "base/merge_log.h"
#include "check/checks.h"
#include "store/store.h"
#include "support/recording_reporter.h"
#include "support/test_files.h"

namespace kw {

using Ids = std::vector<int32_t>;

// The entries of a list, for compact comparisons.
inline Ids Entries(const RefList& list) { return list.entries; }

class CheckFixture : public ::testing::Test {
 protected:
  CheckFixture() : store_(std::make_unique<Store>()) {
    // The log goes beside input file 1 as "log".
    store_->slots[0].filePath = dir_.File("in.ged");
    PrepareSlot(store_->slots[0]);
    log_ = std::make_unique<MergeLog>(store_->slots[0].filePath, reporter_);
  }

  InputSlot& slot() { return store_->slots[0]; }
  Store& store() { return *store_; }
  MergeLog& log() { return *log_; }
  Person& person(int number) { return slot().persons[number]; }
  Family& family(int number) { return slot().families[number]; }
  Ids Couple(int number) { return {family(number).husband, family(number).wife}; }

  int RunFamily(int number) { return CheckFamily(*store_, *log_, 0, number); }
  int RunPerson(int number) { return CheckPerson(*store_, *log_, 0, number); }

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

  // Everything written to the log so far ("" when it was never opened).
  std::string LogText() { return test::ReadFile(dir_.File("log")); }

  // What the log gained since the last call.
  std::string NewLog() {
    std::string text = LogText();
    const size_t seen = seen_;
    seen_ = text.size();
    return text.substr(seen);
  }

  test::TempDir dir_;
  RecordingReporter reporter_;

 private:
  std::unique_ptr<Store> store_;
  std::unique_ptr<MergeLog> log_;
  size_t seen_ = 0;
};

}  // namespace kw

#endif  // KINWEAVE_TESTS_SUPPORT_CHECK_FIXTURE_H_
