// The whole import of one slot: parse, log the summary, run the checks and
// log the sum of corrections.
#ifndef KINWEAVE_IMPORT_IMPORT_H_
#define KINWEAVE_IMPORT_IMPORT_H_

#include <cstdint>

#include "import/line_input.h"
#include "import/parser.h"
#include "store/store.h"
#include "ui/merge_log.h"
#include "ui/reporter.h"

namespace kw {

// Always returns 1: a limit message of the parser ends the reading, and the
// summary and checks follow with what was read. `parsed`, when given,
// receives the parser's line counts.
int ImportSlot(Store& store, MergeLog& log, Reporter& reporter, int slot, LineInput& input,
               int64_t fileSize, ParseResult* parsed = nullptr);

}  // namespace kw

#endif  // KINWEAVE_IMPORT_IMPORT_H_
