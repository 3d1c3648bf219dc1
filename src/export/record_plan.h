// A re-read record planned for writing.
//
// Most lines of a record are written exactly as they stand, in the output's
// encoding. Only link lines, pointers and note and source references need
// the output's numbering, which grows while the export adds records. A plan
// writes the first kind into bytes ahead of time and leaves the others as
// steps for the renumbering, in the order the record's tree is written: a
// line, then its subordinates, then its next line.
//
// A plan keeps what it needs of the tree: the tree may be released once the
// record is planned. The read-ahead plans its records on its own thread:
// the export's thread then copies finished bytes instead of visiting every
// line, and hardly reads what the other core wrote; the reading thread
// reuses one small tree after the other, which stays in its caches.
#ifndef KINWEAVE_EXPORT_RECORD_PLAN_H_
#define KINWEAVE_EXPORT_RECORD_PLAN_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/gedcom_line.h"
#include "export/line_node.h"

namespace kw {

struct PlanStep {
  enum Kind { kBytes, kNode };
  Kind kind = kBytes;
  // kBytes: the lines written ahead, `size` bytes of the plans' bytes from
  // `offset`.
  size_t offset = 0;
  size_t size = 0;
  // kNode: a line for the renumbering to write (`tagCode` as a LineNode
  // holds it). When it is left out, the writing goes on at step `skipTo`,
  // past its subordinates.
  uint32_t tagCode = 0;
  const LineText* text = nullptr;
  size_t skipTo = 0;
};

// The plans of several records, back to back. The steps, bytes and lines
// live until Clear; the input bytes the lines view must outlive them.
class RecordPlans {
 public:
  // Where one record's steps are: [first, end).
  struct Range {
    size_t first = 0;
    size_t end = 0;
  };

  // Plans the record whose tree starts at `tree` (as ReadGED gives it) for
  // an output of encoding `output`.
  Range Plan(const LineNode* tree, InputEncoding output);
  // Forgets every plan; keeps the memory for the next ones.
  void Clear();

  const PlanStep& step(size_t i) const { return steps_[i]; }
  std::string_view BytesOf(const PlanStep& step) const {
    return std::string_view(bytes_).substr(step.offset, step.size);
  }

 private:
  void PlanList(const LineNode* first, InputEncoding output);
  void PlanNode(const LineNode* node, InputEncoding output);
  const LineText* Keep(const LineText& text);

  std::string bytes_;
  std::vector<PlanStep> steps_;
  std::u32string scratch_;
  LineArena kept_;  // the lines of the kNode steps
  bool bytesGrow_ = false;  // whether the next line written ahead joins the last step
};

// Whether a tag is one of the family links (HUSB, WIFE, CHIL, FAMS, FAMC),
// which at level 1 of a person or family name records by the output's
// numbering.
bool IsLinkTag(uint32_t tagCode);

// A line whose whole value is one cross-reference ("1 OBJE @M1@"); not an
// escape such as "@#DJULIAN@". `line` is `scan` split into its parts.
bool IsPointerValue(std::string_view scan, const ScannedLine& line);

}  // namespace kw

#endif  // KINWEAVE_EXPORT_RECORD_PLAN_H_
