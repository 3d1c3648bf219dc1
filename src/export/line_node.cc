#include "export/line_node.h"

namespace kw {

void LineArena::NextNodeChunk() {
  if (nodeChunk_ == nodeChunks_.size()) nodeChunks_.push_back(std::make_unique<LineNode[]>(kChunk));
  nextNode_ = nodeChunks_[nodeChunk_++].get();
  nodesEnd_ = nextNode_ + kChunk;
}

void LineArena::NextTextChunk() {
  if (textChunk_ == textChunks_.size()) textChunks_.push_back(std::make_unique<LineText[]>(kChunk));
  nextText_ = textChunks_[textChunk_++].get();
  textsEnd_ = nextText_ + kChunk;
}

void LineArena::Release() {
  nodeChunk_ = textChunk_ = 0;
  nextNode_ = nodesEnd_ = nullptr;
  nextText_ = textsEnd_ = nullptr;
}

namespace {

// The path from the top list down to the line placed last, with levels.
struct PathEntry {
  LineNode* node;
  int level;
};

constexpr int kDeepestLevel = 99;

}  // namespace

LineNode* ReadGED(InputText& input, int64_t position, LineArena& arena, Reporter& reporter,
                  int64_t* nextRecord) {
  LineNode* root = arena.NewNode();
  // Levels rise strictly along the path, from 1 to 99 at most.
  PathEntry path[kDeepestLevel + 1];
  int depth = 0;
  LineNode* lastTop = nullptr;
  input.Seek(position);
  int64_t levelZero = -1;  // the first line of level 0 met
  if (nextRecord != nullptr) *nextRecord = -1;
  for (;;) {
    int64_t start = input.position();
    LineText* text = arena.NewText();
    if (!input.ReadScannedLine(text->raw, text->scan, text->line, text->storage)) {
      if (nextRecord != nullptr) *nextRecord = levelZero >= 0 ? levelZero : start;
      return root;
    }
    text->encoding = input.encoding();
    text->slot = input.slot();
    const ScannedLine& line = text->line;
    if (line.hasLevel && line.level == 0 && levelZero < 0) levelZero = start;
    if (!line.hasLevel || line.token2.empty() || line.level < 0) continue;
    if (!line.levelFollowedBySpace) {
      ShowError(reporter, "ReadGED warn %s", std::string(text->scan).c_str());
      return root;
    }
    if (line.level > kDeepestLevel) {
      ShowError(reporter, "ReadGED error %d", line.level);
      return root;
    }
    if (line.level == 0) {
      if (nextRecord != nullptr) *nextRecord = levelZero;
      return root;
    }

    LineNode* node = root;
    if (lastTop == nullptr) {
      lastTop = root;  // the first line goes into the root, whatever its level
    } else {
      LineNode* popped = nullptr;
      while (depth > 0 && path[depth - 1].level > line.level) {
        popped = path[depth - 1].node;
        --depth;
      }
      node = arena.NewNode();
      if (depth == 0) {
        // Shallower than every line above it: it joins the top list.
        lastTop->next = node;
        lastTop = node;
      } else if (path[depth - 1].level == line.level) {
        path[depth - 1].node->next = node;
        if (depth == 1) lastTop = node;
        --depth;
      } else if (popped != nullptr) {
        popped->next = node;  // after the last subordinate of its superior
      } else {
        path[depth - 1].node->firstSub = node;
      }
    }
    node->tagCode = TagCode(line.token2);
    node->text = text;
    path[depth++] = {node, line.level};
  }
}

}  // namespace kw
