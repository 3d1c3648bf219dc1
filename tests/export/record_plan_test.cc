// A record's plan: the lines the output takes as they stand, in its
// encoding; the others kept for the renumbering, past the tree's life.
#include "export/record_plan.h"

#include <gtest/gtest.h>

#include <string>

#include "export/tree_support.h"

namespace kw::test {
namespace {

TEST(RecordPlans, KeepWhatTheRenumberingNeedsAfterTheTreeIsGone) {
  TreeReader reader;
  const LineNode* tree = reader.Read(
      "1 NAME J\xC3\xB6rg /M\xC3\xBCller/\n1 _UID 7\n2 _X y\n1 NOTE Gr\xC3\xBC\xC3\x9F" "e\n"
      "2 CONT weiter\n1 SEX M\n1 FAMS @F1@\n",
      1, kEncodingUtf8);
  RecordPlans plans;
  RecordPlans::Range range = plans.Plan(tree, kEncodingPlain);
  // The user-defined line goes with its subordinate; the line after the
  // subordinates of a line left to the renumbering starts a step of its own.
  EXPECT_EQ(Planned(plans, range),
            "1 NAME J\xF6rg /M\xFCller/\n|[1 NOTE Gr\xC3\xBC\xC3\x9F" "e\n] to 3|"
            "2 CONT weiter\n|1 SEX M\n|[1 FAMS @F1@\n] to 5");
  // The decoded reading of the kept line is the plan's own: lines decoded
  // into the tree's arena afterwards change nothing of it.
  reader.arena.Release();
  std::string umlauts;
  for (int k = 0; k < 5; ++k) umlauts += "1 NOTE \xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4\n";
  reader.Read(umlauts, 1, kEncodingUtf8);
  const PlanStep& note = plans.step(range.first + 1);
  ASSERT_EQ(note.kind, PlanStep::kNode);
  EXPECT_EQ(note.text->scan, "1 NOTE Gr\xFC\xDF" "e\n");
  EXPECT_EQ(note.text->line.token2, "NOTE");
  EXPECT_EQ(note.text->line.value, "Gr\xFC\xDF" "e\n");
  EXPECT_EQ(note.text->slot, 1);
}

}  // namespace
}  // namespace kw::test
