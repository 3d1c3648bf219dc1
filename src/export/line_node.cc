#include "export/line_node.h"

namespace kw {

LineNode* LineArena::NewNode() {
  if (nodesUsed_ == nodeChunks_.size() * kChunk) {
    nodeChunks_.push_back(std::make_unique<LineNode[]>(kChunk));
  }
  LineNode* node = &nodeChunks_[nodesUsed_ / kChunk][nodesUsed_ % kChunk];
  ++nodesUsed_;
  *node = LineNode{};
  return node;
}

LineText* LineArena::NewText() {
  if (textsUsed_ == textChunks_.size() * kChunk) {
    textChunks_.push_back(std::make_unique<LineText[]>(kChunk));
  }
  LineText* text = &textChunks_[textsUsed_ / kChunk][textsUsed_ % kChunk];
  ++textsUsed_;
  text->raw = text->scan = std::string_view();
  text->storage.clear();  // keeps its capacity for the next record
  return text;
}

void LineArena::Release() {
  nodesUsed_ = 0;
  textsUsed_ = 0;
}

namespace {

// The path from the top list down to the line placed last, with levels.
struct PathEntry {
  LineNode* node;
  int level;
};

constexpr int kDeepestLevel = 99;

}  // namespace

LineNode* ReadGED(InputText& input, int64_t position, LineArena& arena, Reporter& reporter) {
  LineNode* root = arena.NewNode();
  std::vector<PathEntry> path;
  LineNode* lastTop = nullptr;
  input.Seek(position);
  std::string_view raw;
  while (input.ReadLine(raw)) {
    LineText* text = arena.NewText();
    text->raw = raw;
    text->encoding = input.encoding();
    text->slot = input.slot();
    text->scan = ScanText(input.encoding(), raw, text->storage);
    ScannedLine line = ScanLine(text->scan);
    if (!line.hasLevel || line.token2.empty() || line.level < 0) continue;
    if (!line.levelFollowedBySpace) {
      ShowError(reporter, "ReadGED warn %s", std::string(text->scan).c_str());
      return root;
    }
    if (line.level > kDeepestLevel) {
      ShowError(reporter, "ReadGED error %d", line.level);
      return root;
    }
    if (line.level == 0) return root;
    text->level = line.level;

    LineNode* node = root;
    if (lastTop == nullptr) {
      lastTop = root;  // the first line goes into the root, whatever its level
    } else {
      LineNode* popped = nullptr;
      while (!path.empty() && path.back().level > line.level) {
        popped = path.back().node;
        path.pop_back();
      }
      node = arena.NewNode();
      if (path.empty()) {
        // Shallower than every line above it: it joins the top list.
        lastTop->next = node;
        lastTop = node;
      } else if (path.back().level == line.level) {
        path.back().node->next = node;
        if (path.size() == 1) lastTop = node;
        path.pop_back();
      } else if (popped != nullptr) {
        popped->next = node;  // after the last subordinate of its superior
      } else {
        path.back().node->firstSub = node;
      }
    }
    node->tagCode = TagCode(line.token2);
    node->text = text;
    path.push_back({node, line.level});
  }
  return root;
}

}  // namespace kw
