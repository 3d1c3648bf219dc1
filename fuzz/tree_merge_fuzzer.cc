// Fuzz target: the record reader, the tree merge and the writer of re-read
// records. The first byte chooses the encodings of the two records (its low
// seven bits modulo 5 for the record of input file 1, divided by 5 modulo 5
// for that of input file 2) and, by its top bit, whether A is written; the
// rest is cut in two (see SplitInTwo), each part a record whose level-0 line
// is its first line. Both are read with ReadGED, B is merged into A, and A
// is written as the export writes a record. The writer needs a whole Store,
// which costs more than all the rest: inputs without the top bit keep the
// merge itself fast.
// Checked: the merged tree is finite and of bounded size, and every line of
// A is still in it.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_set>

#include "base/merge_log.h"
#include "export/line_node.h"
#include "export/record_io.h"
#include "export/renumber.h"
#include "export/tree_merge.h"
#include "fuzz_support.h"
#include "store/store.h"
#include "support/recording_reporter.h"

namespace {

using namespace kw;

constexpr InputEncoding kEncodings[] = {kEncodingPlain, kEncodingAnsel, kEncodingUtf8,
                                        kEncodingUtf16Le, kEncodingUtf16Be};

// Far more lines than two records of a fuzz input can hold even when every
// list is shared twice, and far deeper than two stacked records of 99
// levels: more means a cycle or a runaway copy.
constexpr size_t kMostVisits = 1 << 20;
constexpr int kDeepest = 1000;

// Visits every node below and after `first`, counting shared ones at each
// place they appear; stops at kMostVisits.
void Visit(const LineNode* first, std::unordered_set<const LineNode*>& seen, size_t& visits,
           int depth = 0) {
  FUZZ_CHECK(depth <= kDeepest);
  for (const LineNode* node = first; node != nullptr && visits < kMostVisits; node = node->next) {
    ++visits;
    seen.insert(node);
    Visit(node->firstSub, seen, visits, depth + 1);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const InputEncoding encodingA = kEncodings[(data[0] & 0x7F) % 5];
  const InputEncoding encodingB = kEncodings[(data[0] & 0x7F) / 5 % 5];
  const bool write = (data[0] & 0x80) != 0;
  fuzz::TwoParts parts = fuzz::SplitInTwo(fuzz::Bytes(data + 1, size - 1));
  // Copies of exactly the parts' bytes, so a read beyond a part is seen.
  const std::string bytesA(parts.first), bytesB(parts.second);
  InputText inputA(bytesA, encodingA, 0);
  InputText inputB(bytesB, encodingB, 1);

  RecordingReporter reporter;
  LineArena arena;
  LineNode* a = ReadGED(inputA, RawLineLength(bytesA, 0, encodingA), arena, reporter);
  LineNode* b = ReadGED(inputB, RawLineLength(bytesB, 0, encodingB), arena, reporter);
  FUZZ_CHECK(a != nullptr && b != nullptr);

  std::unordered_set<const LineNode*> linesOfA, linesAfter, ignored;
  size_t visits = 0;
  Visit(a, linesOfA, visits);
  FUZZ_CHECK(visits == linesOfA.size());  // a fresh tree shares nothing
  visits = 0;
  Visit(b, ignored, visits);
  FUZZ_CHECK(visits == ignored.size());

  MergeRecordTrees(a, b, arena);
  visits = 0;
  Visit(a, linesAfter, visits);
  FUZZ_CHECK(visits < kMostVisits);
  for (const LineNode* node : linesOfA) FUZZ_CHECK(linesAfter.count(node) != 0);
  if (!write) return 0;

  // The writer as the export uses it for a record of the type of A's first
  // line. Number 0 and empty tables: no family link lines, no person or
  // family of input file 2 to add, so neither the output file nor the log
  // is needed; the log's folder cannot exist, so a stray write would fail
  // rather than land in the current folder.
  auto store = std::make_unique<Store>();
  store->slots[0].filePath = "/dev/null/kinweave-fuzz/datei1.ged";
  std::string storage;
  std::string_view head = std::string_view(bytesA).substr(0, RawLineLength(bytesA, 0, encodingA));
  const uint32_t kind = TagCode(ScanLine(ScanText(encodingA, head, storage)).token3);
  MergeLog log(store->slots[0].filePath, reporter);
  GedcomOutput output;
  Renumbering renumbering(*store, log, reporter, output);
  renumbering.WriteRecordTree(a, 0, kind);
  FUZZ_CHECK(!log.isOpen());
  return 0;
}
