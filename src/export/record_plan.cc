#include "export/record_plan.h"

#include <cstdint>

#include "base/gedcom_tags.h"
#include "export/record_io.h"

namespace kw {

namespace {

enum class LineFate {
  kLeftOut,     // with its subordinates, whatever the numbering
  kAsItStands,  // copied, whatever the numbering
  kRenumbered,  // the renumbering decides
};

// Link lines at level 1 name records by the output's numbering (in the
// records that have them; elsewhere the renumbering copies them), as do
// note and source references and pointers. A user-defined line is left
// out.
LineFate FateOf(const LineNode& node) {
  const ScannedLine& line = node.text->line;
  if (line.level == 1 && IsLinkTag(node.tagCode)) return LineFate::kRenumbered;
  uint32_t tag = TagCode(line.token2);
  if (tag == kNote || tag == kSour) return LineFate::kRenumbered;
  if (!line.token2.empty() && line.token2[0] == '_') return LineFate::kLeftOut;
  if (IsPointerValue(node.text->scan, line)) return LineFate::kRenumbered;
  return LineFate::kAsItStands;
}

}  // namespace

bool IsLinkTag(uint32_t tagCode) {
  switch (tagCode) {
    case kHusb:
    case kWife:
    case kChil:
    case kFams:
    case kFamc:
      return true;
    default:
      return false;
  }
}

bool IsPointerValue(std::string_view scan, const ScannedLine& line) {
  std::string_view value = line.token3;
  if (value.size() < 3 || value.front() != '@' || value.back() != '@' || value[1] == '#') {
    return false;
  }
  if (value.find('@', 1) != value.size() - 1) return false;
  size_t end = static_cast<size_t>(value.data() - scan.data()) + value.size();
  for (char c : scan.substr(end)) {
    if (c != ' ' && (c < '\t' || c > '\r')) return false;
  }
  return true;
}

RecordPlans::Range RecordPlans::Plan(const LineNode* tree, InputEncoding output) {
  Range range;
  range.first = steps_.size();
  bytesGrow_ = false;
  PlanList(tree, output);
  range.end = steps_.size();
  return range;
}

void RecordPlans::Clear() {
  bytes_.clear();
  steps_.clear();
  kept_.Release();
  bytesGrow_ = false;
}

void RecordPlans::PlanList(const LineNode* first, InputEncoding output) {
  for (const LineNode* node = first; node != nullptr; node = node->next) PlanNode(node, output);
}

void RecordPlans::PlanNode(const LineNode* node, InputEncoding output) {
  if (node->tagCode == 0 || node->text == nullptr) return PlanList(node->firstSub, output);
  switch (FateOf(*node)) {
    case LineFate::kLeftOut:
      return;
    case LineFate::kAsItStands: {
      if (!bytesGrow_) {
        PlanStep step;
        step.offset = bytes_.size();
        steps_.push_back(step);
        bytesGrow_ = true;
      }
      size_t before = bytes_.size();
      AppendLineCopy(bytes_, node->text->raw, node->text->encoding, output, scratch_);
      steps_.back().size += bytes_.size() - before;
      break;
    }
    case LineFate::kRenumbered: {
      size_t at = steps_.size();
      PlanStep step;
      step.kind = PlanStep::kNode;
      step.tagCode = node->tagCode;
      step.text = Keep(*node->text);
      steps_.push_back(step);
      bytesGrow_ = false;
      PlanList(node->firstSub, output);
      // Where the line is left out, the writing goes on with a step of its
      // own: none of its subordinates' bytes may join the next line's.
      steps_[at].skipTo = steps_.size();
      bytesGrow_ = false;
      return;
    }
  }
  PlanList(node->firstSub, output);
}

// A copy of a line that lives with the plans. Its reading and parts view
// the input's bytes, or the copy's own decoded text.
const LineText* RecordPlans::Keep(const LineText& text) {
  LineText* copy = kept_.NewText();
  copy->raw = text.raw;
  copy->encoding = text.encoding;
  copy->slot = text.slot;
  if (text.scan.data() == text.raw.data()) {
    copy->scan = text.scan;
    copy->line = text.line;
  } else {
    copy->scan = ScanText(text.encoding, text.raw, copy->storage);
    copy->line = ScanLine(copy->scan);
  }
  return copy;
}

}  // namespace kw
