// Slots, persons and families built by hand, with a merge log in a fresh
// temporary folder: for the tests of the checks, the descriptions and the
// matching. A loaded slot's tables are as large as its file needs, so the
// builder grows them to every number a test names instead of relying on a
// fixed size; names are copied into the slot's text pool as the load does.
#ifndef KINWEAVE_TESTS_SUPPORT_SLOT_BUILDER_H_
#define KINWEAVE_TESTS_SUPPORT_SLOT_BUILDER_H_

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "base/merge_log.h"
#include "match/compare.h"
#include "store/store.h"
#include "support/recording_reporter.h"
#include "support/test_files.h"

namespace kw::test {

using Ids = std::vector<int32_t>;

// What a test tells about a person, for tables of cases.
struct PersonData {
  const char* given = nullptr;
  const char* surname = nullptr;
  int birthYear = 0;
  int deathYear = 0;
  char sex = 'M';
};

class SlotBuilder : public ::testing::Test {
 protected:
  SlotBuilder() { store_->slots[0].filePath = dir_.File("datei1.ged"); }

  InputSlot& slot(int s) { return store_->slots[s]; }
  MergeLog& log() { return log_; }

  // The store for the code under test, its tables first grown to every
  // number a record names: a test may name records it never filled in.
  Store& store() {
    for (InputSlot& in : store_->slots) {
      int32_t persons = 0, families = 0;
      for (const Person& p : in.persons) {
        for (const RefList* list : {&p.spouseFamilies, &p.parentFamilies}) {
          for (int32_t f : *list) families = std::max(families, f);
        }
      }
      for (const Family& f : in.families) {
        persons = std::max({persons, f.husband, f.wife});
        for (int32_t k : f.children) persons = std::max(persons, k);
      }
      Entry(in.persons, persons);
      Entry(in.families, families);
    }
    return *store_;
  }

  // Entry n of a table, grown to hold it; absent until filled in.
  Person& person(int s, int32_t n) { return Entry(slot(s).persons, n); }
  Family& family(int s, int32_t n) { return Entry(slot(s).families, n); }

  // Person n, present. A null name stays absent; "" is the empty text.
  Person& PutPerson(int s, int32_t n, const PersonData& d = {}) {
    Person& p = person(s, n);
    p.number = n;
    p.givenNames = Text(s, d.given);
    p.surname = Text(s, d.surname);
    p.sex = d.sex;
    p.birth = static_cast<PackedDate>(d.birthYear);  // the year is bits 0-11
    p.death = static_cast<PackedDate>(d.deathYear);
    slot(s).personEnd = std::max(slot(s).personEnd, n + 1);
    return p;
  }

  // The next person number of the slot, entered in its sort index as the
  // load does.
  int32_t AddPerson(int s, const PersonData& d) {
    InputSlot& in = slot(s);
    int32_t n = std::max(in.personEnd, 1);
    PutPerson(s, n, d);
    in.sortIndex.resize(static_cast<size_t>(in.personCount) + 1);
    in.sortIndex[in.personCount++] = n;
    return n;
  }

  // Family n, present; its members do not name it back.
  Family& PutFamily(int s, int32_t n, int32_t husband, int32_t wife, Ids children = {}) {
    Family& f = family(s, n);
    f.number = n;
    f.husband = husband;
    f.wife = wife;
    f.children = {};
    for (int32_t k : children) AddRef(f.children, k);
    slot(s).familyEnd = std::max(slot(s).familyEnd, n + 1);
    return f;
  }

  // The next family number of the slot, every link stated both ways.
  int32_t AddFamily(int s, int32_t husband, int32_t wife, Ids children = {}, int marriageYear = 0) {
    InputSlot& in = slot(s);
    int32_t n = std::max(in.familyEnd, 1);
    PutFamily(s, n, husband, wife, children).marriage = static_cast<PackedDate>(marriageYear);
    ++in.familyCount;
    for (int32_t partner : {husband, wife}) {
      if (partner != 0) AddRef(person(s, partner).spouseFamilies, n);
    }
    for (int32_t child : children) AddRef(person(s, child).parentFamilies, n);
    return n;
  }

  // The same person in both slots; its slot-0 and slot-1 numbers.
  std::pair<int32_t, int32_t> AddBoth(const PersonData& d) {
    return {AddPerson(0, d), AddPerson(1, d)};
  }

  // The partner of each person of a slot from number 1 on.
  Ids Partners(int s) {
    Ids partners;
    for (int32_t n = 1; n < slot(s).personEnd; ++n) partners.push_back(person(s, n).partner);
    return partners;
  }

  Verdict Compare(int32_t p, int32_t q, int mode) {
    return ComparePersons(store(), reporter_, state_, p, q, mode);
  }

  // Everything the log holds ("" when it was never opened).
  std::string LogText() {
    log_.Flush();
    return ReadFile(dir_.File("log"));
  }

  TempDir dir_;
  RecordingReporter reporter_;
  MatchState state_;

 private:
  template <typename Table>
  static typename Table::value_type& Entry(Table& table, int32_t n) {
    const size_t at = static_cast<size_t>(std::max(n, 0));
    if (table.size() <= at) table.resize(at + 1);
    return table[at];
  }

  const char* Text(int s, const char* text) {
    return text == nullptr ? nullptr : slot(s).pool.Add(text);
  }

  std::unique_ptr<Store> store_ = std::make_unique<Store>();
  MergeLog log_{store_->slots[0].filePath, reporter_};
};

}  // namespace kw::test

#endif  // KINWEAVE_TESTS_SUPPORT_SLOT_BUILDER_H_
