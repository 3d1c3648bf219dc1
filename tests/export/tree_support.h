// Trees of re-read records for the export tests: record text written to a
// file, read back with ReadGED, and trees rendered as compact text.
#ifndef KINWEAVE_TESTS_EXPORT_TREE_SUPPORT_H_
#define KINWEAVE_TESTS_EXPORT_TREE_SUPPORT_H_

#include <deque>
#include <string>

#include "export/line_node.h"
#include "export/record_io.h"
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

}  // namespace kw::test

#endif  // KINWEAVE_TESTS_EXPORT_TREE_SUPPORT_H_
