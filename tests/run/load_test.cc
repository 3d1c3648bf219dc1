// Loading a file into its slot: what a refused file leaves, what a reload
// keeps, and both files loaded side by side.
#include "run/load.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "match/sort.h"
#include "support/load_fixture.h"

namespace kw {
namespace {

using test::LoadSetup;

const char kSmall[] = "0 HEAD\r\n0 @I1@ INDI\r\n1 NAME Anna /Huber/\r\n1 SEX F\r\n0 TRLR\r\n";

// The refusals themselves, with their messages, are the command line's
// test; here what a refusal leaves and what is not refused.
TEST(LoadSlot, ARefusedFileLeavesTheSlotEmptyButNamed) {
  LoadSetup s;
  EXPECT_EQ(s.Load(0, "family.Ged", kSmall), 0);
  ASSERT_EQ(s.reporter.errors.size(), 1u);
  EXPECT_EQ(s.reporter.errors[0], "\r\nDateierweiterung .ged fehlt in family.Ged");
  EXPECT_EQ(s.reporter.inputPath[0], s.dir.File("family.Ged"));  // shown all the same
  EXPECT_FALSE(s.slot(0).prepared());
  EXPECT_EQ(s.slot(0).filePath, s.dir.File("family.Ged"));
  EXPECT_EQ(s.Load(1, "FAMILY.GED", kSmall), 1);
  EXPECT_EQ(s.Load(1, "alt.ged.txt", kSmall), 1);  // ".ged" anywhere in the name
  // A file with nothing but a header is GEDCOM all the same.
  EXPECT_EQ(s.Load(1, "kopf.ged", "0 HEAD\r\n1 CHAR ANSI\r\n0 TRLR\r\n"), 1);
  // A refused file after a loaded one: the slot holds nothing of the
  // earlier file, which a merge would otherwise take under the new name.
  ASSERT_EQ(s.Load(1, "anna.ged", kSmall), 1);
  EXPECT_EQ(s.Load(1, "anna.txt", kSmall), 0);
  EXPECT_EQ(s.slot(1).personCount, 0);
  EXPECT_TRUE(s.slot(1).bytes.empty());
  EXPECT_EQ(s.slot(1).filePath, s.dir.File("anna.txt"));
}

TEST(LoadSlot, ReloadKeepsTheEndsAndTheNoteNumbers) {
  LoadSetup s;
  s.Load(0, "gross.ged", "0 HEAD\n0 @I40@ INDI\n1 NOTE @N3@\n0 @F9@ FAM\n0 TRLR\n");
  s.Load(0, "klein.ged", "0 HEAD\n0 @I2@ INDI\n1 NOTE @N3@\n1 NOTE @N1@\n0 TRLR\n");
  EXPECT_EQ(s.slot(0).personEnd, 41);
  EXPECT_EQ(s.slot(0).familyEnd, 10);
  EXPECT_EQ(s.person(0, 40).number, 0);
  EXPECT_EQ(s.slot(0).noteSeq[3], 1);  // kept from the first load
  EXPECT_EQ(s.slot(0).noteSeq[1], 2);
  EXPECT_EQ(s.slot(1).noteCount, 2);  // handed over after each load of slot 0
}

// Everything a load leaves for later steps to see, its folder read "<DIR>".
std::string Fingerprint(const test::LoadSetup& s) {
  std::string text = test::ReadFile(s.log.path());
  for (const std::string& error : s.reporter.errors) text += "|E:" + error;
  auto numbers = [&text](const std::vector<int32_t>& sequence, const char* letter) {
    for (size_t m = 0; m < sequence.size(); ++m) {
      if (sequence[m] != 0) text += letter + std::to_string(m) + "=" + std::to_string(sequence[m]);
    }
  };
  for (int slot : {0, 1}) {
    const LoadEntry& entry = s.store->provenance.load(slot);
    text += "|F" + std::to_string(entry.corrections) + ":" + entry.findings;
  }
  for (const InputSlot& in : s.store->slots) {
    // What the checks repaired: sexes and links.
    for (const Person& p : in.persons) {
      text += p.sex + std::to_string(p.spouseFamilies.count()) +
              std::to_string(p.parentFamilies.count());
    }
    for (const Family& f : in.families)
      text += std::to_string(f.husband + f.wife) + "c" + std::to_string(f.children.count());
    text += "|" + std::to_string(in.personCount) + "/" + std::to_string(in.familyCount) + "/" +
            std::to_string(in.noteCount) + "/" + std::to_string(in.sourceCount);
    numbers(in.noteSeq, " n");
    numbers(in.sourceSeq, " s");
  }
  for (int64_t position : s.store->notePos) text += " p" + std::to_string(position);
  for (int64_t position : s.store->sourcePos) text += " q" + std::to_string(position);
  const std::string dir = s.dir.path().string();
  for (size_t at; (at = text.find(dir)) != std::string::npos;) text.replace(at, dir.size(), "<DIR>");
  return text;
}

// Two loads side by side give what two loads one after the other give: the
// same log, boxes, counts and note and source numbers, on every pair of the
// golden cases and on pairs where one file is refused. Where slot 1 was
// loaded before, the loads run in turn, with the same results.
TEST(LoadBothSlots, GivesWhatTwoLoadsInTurnGive) {
  std::vector<std::pair<std::string, std::string>> pairs;
  for (const auto& entry : std::filesystem::directory_iterator(KINWEAVE_TEST_CASES)) {
    pairs.emplace_back(test::ReadFile((entry.path() / "datei1.ged").string()),
                       test::ReadFile((entry.path() / "datei2.ged").string()));
  }
  ASSERT_GT(pairs.size(), 10u);
  const std::string notes = "0 HEAD\n0 @I1@ INDI\n1 NAME A /B/\n1 NOTE @N4@\n1 SOUR @S2@\n"
                            "0 @N4@ NOTE x\n0 @S2@ SOUR\n1 TITL y\n0 TRLR\n";
  pairs.emplace_back(notes, "");  // file 2 holds no GEDCOM
  pairs.emplace_back("", notes);  // file 1 holds none: file 2 is not loaded
  for (const auto& [one, two] : pairs) {
    test::LoadSetup apart, beside;
    for (test::LoadSetup* s : {&apart, &beside}) {
      test::WriteFile(s->dir.File("eins.ged"), one);
      test::WriteFile(s->dir.File("zwei.ged"), two);
    }
    const bool first = apart.LoadPath(0, apart.dir.File("eins.ged")) == 1;
    const bool both = first && apart.LoadPath(1, apart.dir.File("zwei.ged")) == 1;
    LoadResults results = LoadBothSlots(*beside.store, beside.log, beside.reporter,
                                        beside.dir.File("eins.ged"), beside.dir.File("zwei.ged"));
    EXPECT_EQ(results.first == LoadResult::kLoaded, first);
    EXPECT_EQ(results.second == LoadResult::kLoaded, both);
    EXPECT_EQ(Fingerprint(beside), Fingerprint(apart));
    // The file loaded first leaves its slot in the name order the merge
    // pass would give it; which one that is varies.
    const int sorted = beside.store->slots[0].sortedByName + beside.store->slots[1].sortedByName;
    EXPECT_LE(sorted, 1);
    if (both) {
      EXPECT_EQ(sorted, 1);
    }
    for (int slot = 0; slot < 2; ++slot) {
      if (!beside.store->slots[slot].sortedByName) continue;
      SortAllPersons(apart.store->slots[slot], false);
      EXPECT_EQ(beside.store->slots[slot].sortIndex, apart.store->slots[slot].sortIndex);
    }

    test::LoadSetup again;
    again.Load(0, "vorher1.ged", kSmall);
    again.Load(1, "vorher2.ged", kSmall);
    test::WriteFile(again.dir.File("eins.ged"), one);
    test::WriteFile(again.dir.File("zwei.ged"), two);
    results = LoadBothSlots(*again.store, again.log, again.reporter, again.dir.File("eins.ged"),
                            again.dir.File("zwei.ged"));
    EXPECT_EQ(results.first == LoadResult::kLoaded, first);
    EXPECT_EQ(results.second == LoadResult::kLoaded, both);
  }
}

}  // namespace
}  // namespace kw
