// The export's steps as the status line shows them; what it writes is
// shown by the golden cases.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "export/export.h"
#include "run/merge_pass.h"
#include "support/load_fixture.h"

namespace kw::test {
namespace {

TEST(ExportTest, StatusShowsEachStepAndTheProgressEndsAtHundred) {
  LoadSetup s;
  s.Load(0, "eins.ged",
         "0 HEAD\r\n0 @N7@ NOTE x\r\n0 @I1@ INDI\r\n1 NAME Hans /Huber/\r\n1 NOTE @N7@\r\n"
         "1 FAMS @F1@\r\n0 @F1@ FAM\r\n1 HUSB @I1@\r\n0 TRLR\r\n");
  s.Load(1, "zwei.ged", "0 HEAD\n0 @I1@ INDI\n1 NAME Zeno /Zorn/\n0 TRLR\n");
  MergePass(*s.store, s.log, s.reporter);
  ASSERT_EQ(ExportGedcom(*s.store, s.log, s.reporter, s.dir.File("merged.ged")), 1);
  std::vector<std::string> steps;
  for (const std::string& entry : s.reporter.statusHistory) {
    if (entry.rfind("0:", 0) == 0 && entry.find("export") != std::string::npos) steps.push_back(entry);
  }
  EXPECT_EQ(steps, (std::vector<std::string>{
                       "0:Personen exportieren...", "0:Hinzugef\xFCgte exportieren...",
                       "0:Familien exportieren...", "0:Hinzugef\xFCgte exportieren...",
                       "0:Notizen exportieren...", "0:Quellen exportieren..."}));
  EXPECT_EQ(s.reporter.status[1], "100% erledigt");
  EXPECT_EQ(s.reporter.progressCreated, 3);  // two loads, one export
  EXPECT_EQ(s.reporter.progressDestroyed, 3);
}

}  // namespace
}  // namespace kw::test
