#include "export/tree_merge.h"

#include <string>

#include "base/codec.h"

namespace kw {

namespace {

bool NeverMerged(uint32_t tag) {
  return tag == TagCode("EVEN") || tag == TagCode("FAMC") || tag == TagCode("FAMS") ||
         tag == TagCode("CHIL") || tag == TagCode("NOTE") || tag == TagCode("SOUR");
}

bool NeverInserted(uint32_t tag) {
  return tag == TagCode("FAMS") || tag == TagCode("FAMC") || tag == TagCode("CHIL");
}

// The longer text wins (equal lengths keep A's); then the subordinate lists
// are merged, or A adopts B's whole list when it has none of its own.
void TakeOver(LineNode* cur, LineNode* other, LineArena& arena) {
  if (cur->tagCode != TagCode("REFN") && cur->tagCode != 0 && other->text != nullptr) {
    if (cur->text == nullptr || CharacterCount(*cur->text) < CharacterCount(*other->text)) {
      cur->text = other->text;
    }
  }
  if (cur->firstSub != nullptr && other->firstSub != nullptr) {
    MergeRecordTrees(cur->firstSub, other->firstSub, arena);
  } else if (other->firstSub != nullptr) {
    cur->firstSub = other->firstSub;
  }
}

}  // namespace

int CharacterCount(const LineText& text) {
  std::string_view raw = text.raw;
  int count = 0;
  switch (text.encoding) {
    case kEncodingPlain:
      return static_cast<int>(raw.size());
    case kEncodingUtf8:
      for (char c : raw) {
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
      }
      return count;
    default: {
      std::u32string decoded;
      DecodeToUnicode(text.encoding, raw, decoded);
      return static_cast<int>(decoded.size());
    }
  }
}

LineNode* FindTag(uint32_t tag, LineNode* first) {
  if (tag == 0) return nullptr;
  for (LineNode* node = first; node != nullptr; node = node->next) {
    if (node->tagCode == tag) return node;
    if (node->firstSub != nullptr) {
      LineNode* found = FindTag(tag, node->firstSub);
      if (found != nullptr) return found;
    }
  }
  return nullptr;
}

LineNode* InsertCopyAfter(LineNode* n, LineNode* q, LineArena& arena) {
  if (q->tagCode == 0 || q->text == nullptr) return n;
  LineNode* copy = arena.NewNode();
  copy->tagCode = q->tagCode;
  copy->text = q->text;
  copy->firstSub = q->firstSub;
  copy->next = n->next;
  n->next = copy;
  return copy;
}

// Lines are paired by position first; a line of B whose tag A lacks
// everywhere is inserted; a line of A that meets a different tag looks for
// its tag anywhere in B. B's walk stays on its last line when A's list is
// longer.
void MergeRecordTrees(LineNode* a, LineNode* b, LineArena& arena) {
  if (a == nullptr || b == nullptr) return;
  LineNode* const headA = a;
  LineNode* const headB = b;
  LineNode* cur = a;
  LineNode* other = b;
  while (cur != nullptr) {
    if (cur->tagCode == other->tagCode) {
      if (!NeverMerged(cur->tagCode)) TakeOver(cur, other, arena);
    } else {
      if (!NeverInserted(other->tagCode) && FindTag(other->tagCode, headA) == nullptr) {
        cur = InsertCopyAfter(cur, other, arena);
        if (other->next != nullptr) {
          other = other->next;
          continue;
        }
      }
      if (!NeverMerged(cur->tagCode)) {
        LineNode* r = FindTag(cur->tagCode, headB);
        if (r != nullptr) TakeOver(cur, r, arena);
      }
    }
    cur = cur->next;
    if (other->next != nullptr) {
      if (cur == nullptr) return;
      other = other->next;
    }
  }
}

}  // namespace kw
