// The merge of two re-read records of the same person or family: the tree
// B of input file 2 is folded into the tree A of input file 1, line by line
// and by tags. A line of A takes the longer text of its counterpart in B, a
// line of A without subordinates takes over B's, and lines of B whose tag
// occurs nowhere in A are inserted. Link and reference lines (FAMS, FAMC,
// CHIL, NOTE, SOUR) and generic events (EVEN) are never merged.
//
// A is changed in place and afterwards shares nodes of B (inserted lines
// keep B's subordinate lists, adopted lists are B's own), so a later merge
// into a shared list changes B as well. Both trees live in one LineArena
// and are released together after A is written.
#ifndef KINWEAVE_EXPORT_TREE_MERGE_H_
#define KINWEAVE_EXPORT_TREE_MERGE_H_

#include <cstdint>

#include "export/line_node.h"

namespace kw {

// Folds the list starting at `b` into the list starting at `a`. Nothing
// happens when either is null.
void MergeRecordTrees(LineNode* a, LineNode* b, LineArena& arena);

// The first node with tag code `tag` in the list from `first` and all lists
// below it, depth first (a node, then its subordinates, then its next).
// Tag code 0 is never found.
LineNode* FindTag(uint32_t tag, LineNode* first);

// Links a new node holding Q's tag, text and subordinate list (shared) in
// as N's next and returns it; when Q holds no line, returns N unchanged.
LineNode* InsertCopyAfter(LineNode* n, LineNode* q, LineArena& arena);

// The length of a line in characters (code points), line end included.
int CharacterCount(const LineText& text);

}  // namespace kw

#endif  // KINWEAVE_EXPORT_TREE_MERGE_H_
