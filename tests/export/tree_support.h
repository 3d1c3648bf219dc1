// Trees of re-read records for the export tests: record text written to a
// file, read back with ReadGED, and trees rendered as compact text.
#ifndef KINWEAVE_TESTS_EXPORT_TREE_SUPPORT_H_
#define KINWEAVE_TESTS_EXPORT_TREE_SUPPORT_H_

#include <deque>
#include <string>

#include "export/line_node.h"
#include "export/record_io.h"
#include "export/record_plan.h"
#include "support/recording_reporter.h"
#include "support/test_files.h"

namespace kw::test {

class TreeReader {
 public:
  // Reads `lines` (the record's sub-lines, "\n" ends) as the record of a
  // level-0 line "0 @X1@ REC", from an input of the given slot.
  LineNode* Read(const std::string& lines, int slot = 0,
                 InputEncoding encoding = kEncodingPlain) {
    const std::string head = "0 @X1@ REC\n";
    const std::string& bytes = files_.emplace_back(head + lines);
    InputText& input = inputs_.emplace_back(bytes, encoding, slot);
    return ReadGED(input, static_cast<int64_t>(head.size()), arena, reporter);
  }

  LineArena arena;
  RecordingReporter reporter;

 private:
  std::deque<std::string> files_;
  std::deque<InputText> inputs_;
};

// The tags of a list and, in brackets, of their subordinates:
// "NAME[GIVN SURN] SEX". An empty node shows as "-".
inline std::string Shape(const LineNode* first) {
  std::string text;
  for (const LineNode* node = first; node != nullptr; node = node->next) {
    if (!text.empty()) text += " ";
    if (node->text == nullptr) {
      text += "-";
    } else {
      std::string_view scan = node->text->scan;
      ScannedLine line = ScanLine(scan);
      text += std::string(line.token2);
    }
    if (node->firstSub != nullptr) text += "[" + Shape(node->firstSub) + "]";
  }
  return text;
}

// The raw text of a node's line without its line end.
inline std::string LineOf(const LineNode* node) {
  if (node == nullptr || node->text == nullptr) return "";
  std::string raw(node->text->raw);
  while (!raw.empty() && (raw.back() == '\n' || raw.back() == '\r')) raw.pop_back();
  return raw;
}

// The lines a tree writes, depth first, "\n" ending each.
inline std::string Written(const LineNode* first) {
  std::string text;
  for (const LineNode* node = first; node != nullptr; node = node->next) {
    if (!LineOf(node).empty()) text += LineOf(node) + "\n";
    text += Written(node->firstSub);
  }
  return text;
}

// A record's plan as text, its steps parted by "|": the lines written ahead
// as they stand, each line left to the renumbering in brackets with the
// step its leaving out goes to.
inline std::string Planned(const RecordPlans& plans, RecordPlans::Range range) {
  std::string text;
  for (size_t i = range.first; i < range.end; ++i) {
    if (i > range.first) text += "|";
    const PlanStep& step = plans.step(i);
    if (step.kind == PlanStep::kBytes) {
      text += plans.BytesOf(step);
    } else {
      text += "[" + std::string(step.text->raw) + "] to ";
      text += std::to_string(step.skipTo - range.first);
    }
  }
  return text;
}

}  // namespace kw::test

#endif  // KINWEAVE_TESTS_EXPORT_TREE_SUPPORT_H_
