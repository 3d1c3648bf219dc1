// The merge of two re-read records.
#include <gtest/gtest.h>

#include "export/tree_merge.h"
#include "export/tree_support.h"
#include "support/table.h"

namespace kw::test {
namespace {

// tests/tables/tree-merges.txt
TEST(TreeMergeTest, CasesWorkedOutByHand) {
  for (const TableRow& row : ReadTable("tree-merges", 3)) {
    TreeReader r;
    LineNode* a = r.Read(row.Bytes(0), 0);
    MergeRecordTrees(a, r.Read(row.Bytes(1), 1), r.arena);
    EXPECT_EQ(Written(a), row.Bytes(2)) << row;
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
