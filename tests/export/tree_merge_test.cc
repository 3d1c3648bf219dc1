// The merge of two re-read records, with the cases worked out by hand:
// lines paired by position, missing tags inserted, longer texts taken over,
// subordinate lists merged or adopted.
#include <gtest/gtest.h>

#include "export/tree_merge.h"
#include "export/tree_support.h"

namespace kw::test {
namespace {

// The lines a tree writes, depth first, without line ends, "|" between.
std::string Written(const LineNode* first) {
  std::string text;
  for (const LineNode* node = first; node != nullptr; node = node->next) {
    std::string line = LineOf(node);
    if (!line.empty()) text += (text.empty() ? "" : "|") + line;
    std::string below = Written(node->firstSub);
    if (!below.empty()) text += (text.empty() ? "" : "|") + below;
  }
  return text;
}

TEST(TreeMergeTest, CasesWorkedOutByHand) {
  struct Case {
    const char* a;
    const char* b;
    const char* merged;
  } cases[] = {
      // Same tags: the longer text (equal lengths keep A's), subordinates merged.
      {"1 NAME Anna /Huber/\n1 SEX F\n1 BIRT\n2 DATE 1900\n2 PLAC Wien\n",
       "1 NAME Anna Maria /Huber/\n1 SEX W\n1 BIRT Y\n2 DATE 12 MAR 1900\n",
       "1 NAME Anna Maria /Huber/|1 SEX F|1 BIRT Y|2 DATE 12 MAR 1900|2 PLAC Wien"},
      // A line without subordinates adopts B's.
      {"1 NAME A /B/\n1 BIRT\n", "1 NAME A /B/\n1 BIRT\n2 DATE 1900\n2 PLAC Wien\n",
       "1 NAME A /B/|1 BIRT|2 DATE 1900|2 PLAC Wien"},
      // Tags A lacks are inserted where the walk meets them.
      {"1 NAME A /B/\n1 SEX M\n1 FAMS @F1@\n", "1 NAME A /B/\n1 SEX M\n1 BIRT\n2 DATE 1900\n1 DEAT\n",
       "1 NAME A /B/|1 SEX M|1 FAMS @F1@|1 BIRT|2 DATE 1900|1 DEAT"},
      // Lines of B beyond the end of A are not looked at.
      {"1 NAME A /B/\n1 SEX M\n", "1 NAME A /B/\n1 SEX M\n1 BIRT\n", "1 NAME A /B/|1 SEX M"},
      // B's walk stays on its last line.
      {"1 NAME A /B/\n1 SEX M\n1 BIRT\n", "1 NAME A /B/\n1 BIRT in Wien\n",
       "1 NAME A /B/|1 SEX M|1 BIRT in Wien"},
      // A line that meets another tag searches its own in B.
      {"1 NAME A /B/\n1 BIRT\n1 SEX M\n", "1 NAME A /B/\n1 SEX M\n1 BIRT\n2 DATE 1900\n2 PLAC W\n",
       "1 NAME A /B/|1 BIRT|2 DATE 1900|2 PLAC W|1 SEX M"},
      // Notes are never merged, but inserted where A has none at all.
      {"1 NAME A /B/\n1 NOTE short\n", "1 NAME A /B/\n1 NOTE a much longer note\n",
       "1 NAME A /B/|1 NOTE short"},
      {"1 NAME A /B/\n1 SEX M\n", "1 NAME A /B/\n1 NOTE @N3@\n", "1 NAME A /B/|1 SEX M|1 NOTE @N3@"},
      // Links of B are never inserted.
      {"1 NAME A /B/\n1 SEX M\n1 BIRT\n", "1 NAME A /B/\n1 FAMC @F2@\n1 FAMS @F3@\n1 CHIL @I4@\n",
       "1 NAME A /B/|1 SEX M|1 BIRT"},
      {"1 REFN 1\n", "1 REFN 12345\n", "1 REFN 1"},
      // An empty record receives copies of B's lines.
      {"", "1 NAME A /B/\n1 SEX M\n2 X y\n", "1 NAME A /B/|1 SEX M|2 X y"},
  };
  for (const Case& c : cases) {
    TreeReader r;
    LineNode* a = r.Read(c.a, 0);
    MergeRecordTrees(a, r.Read(c.b, 1), r.arena);
    EXPECT_EQ(Written(a), c.merged) << c.a << "---\n" << c.b;
  }
}

TEST(TreeMergeTest, TakenLinesKeepTheirInputAndLengthCountsCharacters) {
  TreeReader r;
  LineNode* a = r.Read("1 NAME A /B/\n1 SEX M\n", 0);
  MergeRecordTrees(a, r.Read("1 NAME A /B/\n1 NOTE @N3@\n", 1), r.arena);
  EXPECT_EQ(a->next->next->text->slot, 1);  // renumbered by input file 2's numbering
  // "Köln" in UTF-8 has five bytes but four characters: B's "Koeln" is longer.
  LineNode* place = r.Read("1 PLAC K\xC3\xB6ln\n", 0, kEncodingUtf8);
  MergeRecordTrees(place, r.Read("1 PLAC Koeln\n", 1), r.arena);
  EXPECT_EQ(LineOf(place), "1 PLAC Koeln");
}

}  // namespace
}  // namespace kw::test
