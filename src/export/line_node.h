// Re-read records: a person, family, note or source record read back from
// its input file at the position the import stored, as a tree of lines.
//
// A node holds one line; its subordinate lines hang below it, the lines of
// the same superior follow through `next`. A line's text is kept as its raw
// bytes in its input's encoding together with the slot it came from, so a
// copied line is written exactly as it stands and a reference in it is
// renumbered by its own input's numbering, wherever the tree merge moves it.
//
// Nodes and texts of the trees of one record live in a LineArena and are
// released together after the record is written: a merged tree shares
// nodes with the tree it was merged from.
#ifndef KINWEAVE_EXPORT_LINE_NODE_H_
#define KINWEAVE_EXPORT_LINE_NODE_H_

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/reporter.h"
#include "export/record_io.h"
#include "store/store.h"

namespace kw {

// One line of an input file.
struct LineText {
  std::string_view raw;   // the bytes in the input, line end included
  std::string_view scan;  // Windows-1252 reading, for level, tag and value
  ScannedLine line;       // `scan` split into its parts
  InputEncoding encoding = kEncodingPlain;
  int slot = 0;  // 0: input file 1, 1: input file 2
  std::string storage;  // backs `scan` when it had to be decoded
};

struct LineNode {
  uint32_t tagCode = 0;            // 0: a node that holds no line
  const LineText* text = nullptr;  // null when the node holds no line
  LineNode* firstSub = nullptr;
  LineNode* next = nullptr;
};

// Owns the nodes and texts of the trees of one record; Release makes room
// for the next record and keeps the memory for reuse.
class LineArena {
 public:
  LineNode* NewNode() {
    if (nextNode_ == nodesEnd_) NextNodeChunk();
    LineNode* node = nextNode_++;
    *node = LineNode{};
    return node;
  }
  LineText* NewText() {
    if (nextText_ == textsEnd_) NextTextChunk();
    LineText* text = nextText_++;
    text->raw = text->scan = std::string_view();
    text->storage.clear();  // keeps its capacity for the next record
    return text;
  }
  void Release();

 private:
  static constexpr size_t kChunk = 256;
  void NextNodeChunk();
  void NextTextChunk();

  // Every line of every record read back takes a node and a text: they are
  // handed out one after the other from the chunk in use.
  std::vector<std::unique_ptr<LineNode[]>> nodeChunks_;
  std::vector<std::unique_ptr<LineText[]>> textChunks_;
  size_t nodeChunk_ = 0;  // the next chunk to hand out from
  size_t textChunk_ = 0;
  LineNode* nextNode_ = nullptr;
  LineNode* nodesEnd_ = nullptr;
  LineText* nextText_ = nullptr;
  LineText* textsEnd_ = nullptr;
};

// Reads the record whose first sub-line starts at `position` of `input`:
// every line up to the next level-0 line or the end of the file. Returns
// the first node of the record's top list; a record without sub-lines
// gives an empty node (tag code 0, no text).
//
// Lines of levels 1 to 99 are placed by their level: the next line of the
// same superior, or a subordinate when deeper than the line before (also
// when deeper by more than one). A first line deeper than 1 starts the
// tree. A line without a level number is left out. A level not followed
// by white space ends the record with the box "ReadGED warn %s", a level
// above 99 with "ReadGED error %d"; the lines read so far are returned.
//
// `nextRecord`, when given, receives where the next record starts: the
// first line after `position` that has level 0 (the end of the file when
// none has), or -1 when a box ended the reading before such a line.
LineNode* ReadGED(InputText& input, int64_t position, LineArena& arena, Reporter& reporter,
                  int64_t* nextRecord = nullptr);

}  // namespace kw

#endif  // KINWEAVE_EXPORT_LINE_NODE_H_
