// Loading a file into its slot: refusals, status texts, progress, the log
// beside input file 1, and what a reload keeps.
#include "run/load.h"

#include <gtest/gtest.h>

#include <filesystem>

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

TEST(LoadSlot, StatusProgressAndSummary) {
  LoadSetup s;
  ASSERT_EQ(s.Load(0, "anna.ged", kSmall), 1);
  EXPECT_EQ(s.reporter.statusHistory.front(), "0:Lade anna.ged ...");
  EXPECT_EQ(s.reporter.status[0], "anna.ged geladen");
  EXPECT_EQ(s.reporter.progressCreated, 1);
  EXPECT_EQ(s.reporter.progressDestroyed, 1);
  EXPECT_EQ(s.log.path(), s.dir.File("log"));
  EXPECT_EQ(s.LogText(), "\n" + s.dir.File("anna.ged") + "\n1 Personen 0 Familien\n");
}

TEST(LoadSlot, BothLoadsLogIntoTheLogBesideInputFileOne) {
  LoadSetup s;
  std::filesystem::create_directory(s.dir.File("zwei"));
  s.Load(0, "eins.ged", kSmall);
  s.Load(1, "zwei/zwei.ged",
         "0 HEAD\n0 @F1@ FAM\n1 HUSB @I4@\n0 @I5@ INDI\n1 NAME Karl /Ohne/\n0 TRLR\n");
  std::string log = s.LogText();
  EXPECT_EQ(log.find("\n" + s.dir.File("eins.ged") + "\n1 Personen 0 Familien\n"), 0u);
  EXPECT_NE(log.find("\n" + s.dir.File("zwei/zwei.ged") + "\n1 Personen 1 Familien\n"),
            std::string::npos);
  EXPECT_NE(log.find("\r\n### Fam 1 hat gel\xF6schten HUSB 4 "), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(s.dir.File("zwei/log")));
}

TEST(LoadSlot, SumLineAfterCountedCorrections) {
  LoadSetup s;
  s.Load(0, "a.ged",
         "0 HEAD\n0 @I1@ INDI\n1 NAME A /B/\n1 SEX M\n0 @F1@ FAM\n1 HUSB @I1@\n0 TRLR\n");
  // The husband lacks FAMS 1 (counted), then the family has one partner.
  EXPECT_NE(s.LogText().find("\r\n### HUSB 1 ohne FAMS 1 "), std::string::npos);
  EXPECT_NE(s.LogText().find("\r\n1 Fehler automatisch korrigiert!\r\n"), std::string::npos);
  EXPECT_EQ(s.person(0, 1).spouseFamilies.entries, (std::vector<int32_t>{1}));
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

}  // namespace
}  // namespace kw

namespace kw {
namespace {

// Everything a load leaves for later steps to see.
std::string Fingerprint(const test::LoadSetup& s) {
  std::string text = test::ReadFile(s.log.path());
  for (const std::string& error : s.reporter.errors) text += "|E:" + error;
  for (int slot = 0; slot < 2; ++slot) {
    const InputSlot& in = s.store->slots[slot];
    text += "|" + std::to_string(in.personCount) + "/" + std::to_string(in.familyCount) + "/" +
            std::to_string(in.noteCount) + "/" + std::to_string(in.sourceCount);
    for (size_t m = 0; m < in.noteSeq.size(); ++m) {
      if (in.noteSeq[m] != 0) text += " n" + std::to_string(m) + "=" + std::to_string(in.noteSeq[m]);
    }
    for (size_t m = 0; m < in.sourceSeq.size(); ++m) {
      if (in.sourceSeq[m] != 0) text += " s" + std::to_string(m) + "=" + std::to_string(in.sourceSeq[m]);
    }
  }
  for (int64_t position : s.store->notePos) text += " p" + std::to_string(position);
  for (int64_t position : s.store->sourcePos) text += " q" + std::to_string(position);
  return text;
}

// Two loads side by side give what two loads one after the other give: the
// same log, boxes, counts and note and source numbers, on every pair of the
// golden cases and on pairs where one file is refused.
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
    LoadResult first = apart.LoadPath(0, apart.dir.File("eins.ged")) ? LoadResult::kLoaded
                                                                    : LoadResult::kRefused;
    bool both = first == LoadResult::kLoaded && apart.LoadPath(1, apart.dir.File("zwei.ged"));
    LoadResults results = LoadBothSlots(*beside.store, beside.log, beside.reporter,
                                        beside.dir.File("eins.ged"), beside.dir.File("zwei.ged"));
    EXPECT_EQ(results.first == LoadResult::kLoaded, first == LoadResult::kLoaded);
    EXPECT_EQ(results.second == LoadResult::kLoaded, both);
    std::string expected = Fingerprint(apart);
    std::string actual = Fingerprint(beside);
    for (std::string* text : {&expected, &actual}) {
      size_t at;
      const std::string dir = text == &expected ? apart.dir.path().string() : beside.dir.path().string();
      while ((at = text->find(dir)) != std::string::npos) text->replace(at, dir.size(), "<DIR>");
    }
    EXPECT_EQ(actual, expected);
  }
}

}  // namespace
}  // namespace kw
