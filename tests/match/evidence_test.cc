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

TEST_F(EvidenceTest, RecordsHowEachPairWasFoundAndWhatItRestsOn) {
  Family();
  ASSERT_EQ(MergePass(store(), log(), reporter_), 3);
  ASSERT_EQ(Matches().size(), 3u);
  // The walk meets Eva first (Eva sorts before Hans); Hans is her spouse,
  // Peter the child of the family the two pairs share.
  const MatchEntry& eva = Matches()[0];
  EXPECT_EQ(eva.how, FoundBy::kNameWalk);
  EXPECT_EQ(eva.from0, 0);
  EXPECT_TRUE(eva.evidence.sameBirthYear && eva.evidence.sameDeathYear);
  EXPECT_TRUE(eva.evidence.sameMarriageYear);
  EXPECT_EQ(eva.evidence.givenNameDistance, 0);
  EXPECT_EQ(eva.evidence.surnameDistance, 0);  // a prefix counts as the same
  EXPECT_FALSE(NeedsChecking(eva.evidence));

  EXPECT_EQ(Matches()[1].how, FoundBy::kSpouse);
  EXPECT_EQ(Matches()[1].from0, eva.person0);
  const MatchEntry& peter = Matches()[2];
  EXPECT_EQ(peter.how, FoundBy::kChild);
  EXPECT_FALSE(peter.evidence.sameBirthYear || peter.evidence.sameDeathYear ||
               peter.evidence.sameMarriageYear);
  EXPECT_TRUE(NeedsChecking(peter.evidence)) << "a name alone";

  ASSERT_EQ(store().provenance.contradictions().size(), 1u);
  const ContradictionEntry& fathers = store().provenance.contradictions()[0];
  EXPECT_TRUE(fathers.father);
  EXPECT_EQ(fathers.child0, Matches()[1].person0);
  EXPECT_EQ(fathers.parent0, 4);
  EXPECT_EQ(fathers.parent1, 4);
  EXPECT_NE(LogText().find("Widerspruch bei Vater von:"), std::string::npos);

  // Another pass starts afresh.
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
