// The provenance a merge pass records: how each pair was found, from which
// pair, on what evidence, and the contradicting parents; the log stays as
// it was.
#include "match/evidence.h"

#include <gtest/gtest.h>

#include "run/merge_pass.h"
#include "support/slot_builder.h"

namespace kw::test {
namespace {

class EvidenceTest : public SlotBuilder {
 protected:
  // Hans and Eva Weber married in 1850 with their son Peter, undated in
  // both files, and Hans's father, another man in each file.
  void Family() {
    for (int s = 0; s < 2; ++s) {
      int hans = AddPerson(s, {"Hans", "Weber", 1820, 0, 'M'});
      int eva = AddPerson(s, {"Eva", s == 0 ? "Weber" : "Webers", 1825, 1890, 'F'});
      int peter = AddPerson(s, {"Peter", "Weber", 0, 0, 'M'});
      int father =
          AddPerson(s, {s == 0 ? "Jakob" : "Xaver", s == 0 ? "Weber" : "Kling", 1790, 0, 'M'});
      AddFamily(s, hans, eva, {peter}, 1850);
      AddFamily(s, father, 0, {hans});
    }
  }
  const std::vector<MatchEntry>& Matches() { return store().provenance.matches(); }
};

// How each pair was found, what it rests on and the contradicting fathers
// are shown end to end by the golden case
// report-marks-thin-pairs-and-escapes-names; what it cannot show is that a
// second pass starts afresh.
TEST_F(EvidenceTest, AnotherPassStartsAfresh) {
  Family();
  ASSERT_EQ(MergePass(store(), log(), reporter_), 3);
  ASSERT_EQ(Matches().size(), 3u);
  EXPECT_EQ(Matches()[2].how, FoundBy::kChild);
  ASSERT_EQ(store().provenance.contradictions().size(), 1u);
  MergePass(store(), log(), reporter_);
  EXPECT_TRUE(Matches().empty());
  EXPECT_TRUE(store().provenance.contradictions().empty());
}

TEST_F(EvidenceTest, UnknownMarriageYearsAndAYearAloneAreThin) {
  int hans0 = AddPerson(0, {"Hans", "Weber", 1820, 0, 'M'});
  int hans1 = AddPerson(1, {"Kaspar", "Weber", 1820, 0, 'M'});
  // Married in years neither file knows.
  AddFamily(0, hans0, 0, {}, 0);
  AddFamily(1, hans1, 0, {}, 0);
  MatchEvidence evidence = WeighEvidence(store(), hans0, hans1);
  EXPECT_FALSE(evidence.sameMarriageYear) << "two unknown years are no evidence";
  EXPECT_TRUE(NeedsChecking(evidence)) << "a year alone, given names far apart";

  MatchEvidence yearAndName;
  yearAndName.sameDeathYear = true;
  yearAndName.givenNameDistance = 5;
  EXPECT_FALSE(NeedsChecking(yearAndName));
  yearAndName.givenNameDistance = 6;
  EXPECT_TRUE(NeedsChecking(yearAndName));
}

}  // namespace
}  // namespace kw::test
