// Two prepared slots built by hand, with a merge log in a fresh temporary
// folder: for tests of the sort, the person comparison, the pair merge and
// the merge pass. Persons are numbered from 1 in each slot in the order they
// are added and enter the slot's sortIndex in that order.
#ifndef KINWEAVE_TESTS_MATCH_MATCH_FIXTURE_H_
#define KINWEAVE_TESTS_MATCH_MATCH_FIXTURE_H_

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "base/merge_log.h"
#include "match/compare.h"
#include "store/store.h"
#include "support/recording_reporter.h"
#include "support/test_files.h"

namespace kw {

// A bare person record for the tests of names and keys alone.
inline Person Named(const char* givenNames, const char* surname) {
  Person p;
  p.givenNames = givenNames;
  p.surname = surname;
  return p;
}

class MatchFixture : public ::testing::Test {
 protected:
  MatchFixture() : store_(std::make_unique<Store>()) {
    // The log goes beside input file 1 as "log".
    store_->slots[0].filePath = dir_.File("in1.ged");
    PrepareSlot(store_->slots[0]);
    PrepareSlot(store_->slots[1]);
    log_ = std::make_unique<MergeLog>(store_->slots[0].filePath, reporter_);
  }

  Store& store() { return *store_; }
  MergeLog& log() { return *log_; }
  InputSlot& slot(int s) { return store_->slots[s]; }
  Person& person(int s, int n) { return slot(s).persons[n]; }
  Family& family(int s, int n) { return slot(s).families[n]; }

  // A present person; null names stay absent, "" is the empty text.
  int AddPerson(int s, const char* givenNames, const char* surname, char sex = 'M',
                int birthYear = 0, int deathYear = 0) {
    InputSlot& in = slot(s);
    int n = in.personEnd == 0 ? 1 : in.personEnd;
    Person& p = in.persons[n];
    p.number = n;
    p.givenNames = givenNames == nullptr ? nullptr : store_->pool.Add(givenNames, reporter_);
    p.surname = surname == nullptr ? nullptr : store_->pool.Add(surname, reporter_);
    p.sex = sex;
    p.birth = static_cast<PackedDate>(birthYear);  // the year is bits 0-11
    p.death = static_cast<PackedDate>(deathYear);
    in.sortIndex[in.personCount++] = n;
    in.personEnd = n + 1;
    return n;
  }

  // A family with both directions of its links filled in.
  int AddFamily(int s, int husband, int wife, std::initializer_list<int> children = {},
                int marriageYear = 0) {
    InputSlot& in = slot(s);
    int n = in.familyEnd == 0 ? 1 : in.familyEnd;
    Family& f = in.families[n];
    f.number = n;
    f.husband = husband;
    f.wife = wife;
    f.marriage = static_cast<PackedDate>(marriageYear);
    if (husband != 0) AddRef(in.persons[husband].spouseFamilies, n);
    if (wife != 0) AddRef(in.persons[wife].spouseFamilies, n);
    for (int child : children) {
      AddRef(f.children, child);
      AddRef(in.persons[child].parentFamilies, n);
    }
    ++in.familyCount;
    in.familyEnd = n + 1;
    return n;
  }

  // The same person in both slots; returns its slot-0 and slot-1 numbers.
  std::pair<int, int> AddBoth(const char* givenNames, const char* surname, char sex = 'M',
                              int birthYear = 0, int deathYear = 0) {
    return {AddPerson(0, givenNames, surname, sex, birthYear, deathYear),
            AddPerson(1, givenNames, surname, sex, birthYear, deathYear)};
  }

  // The partner of every person of a slot, from number 1 on.
  std::vector<int> Partners(int s) {
    std::vector<int> partners;
    for (int n = 1; n < slot(s).personEnd; ++n) partners.push_back(person(s, n).partner);
    return partners;
  }

  // The verdict as a number: 0 same, 2 linked, 1 when p sorts first, -1
  // when q does.
  int Compare(int p, int q, int mode) {
    switch (ComparePersons(store(), reporter_, state_, p, q, mode)) {
      case Verdict::kSame:
        return 0;
      case Verdict::kLinked:
        return 2;
      case Verdict::kSlot0Before:
        return 1;
      case Verdict::kSlot1Before:
        return -1;
    }
    return 99;
  }

  std::string LogText() { return test::ReadFile(dir_.File("log")); }

  test::TempDir dir_;
  RecordingReporter reporter_;
  MatchState state_;

 private:
  std::unique_ptr<Store> store_;
  std::unique_ptr<MergeLog> log_;
};

}  // namespace kw

#endif  // KINWEAVE_TESTS_MATCH_MATCH_FIXTURE_H_
