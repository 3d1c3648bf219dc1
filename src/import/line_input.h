// Line input of the import: the lines of a GEDCOM file held in memory,
// reduced to Windows-1252 for the parser. The parser sees at most 999 bytes
// of a line at a time: the rest of a longer line comes back as a line of
// its own.
#ifndef KINWEAVE_IMPORT_LINE_INPUT_H_
#define KINWEAVE_IMPORT_LINE_INPUT_H_

#include <cstdint>
#include <string>
#include <string_view>

#include "base/gedcom_line.h"

namespace kw {

constexpr int kMaxLineBytes = 999;

class LineInput {
 public:
  // Reads `bytes`, the whole file, which must outlive this object.
  explicit LineInput(std::string_view bytes) : reader_(bytes, kEncodingPlain) {}

  // Looks at the start of the file, skips a byte-order mark and tells what
  // encoding the file starts in. Call once, before the first line.
  EncodingProbe Probe();

  // Reads the next line reduced to Windows-1252 (at most 999 bytes; the rest
  // of a longer line follows in later calls). False at the end of the file.
  // The view lasts until the next call: most lines are the file's own
  // bytes, read in place.
  bool ReadLine(InputEncoding encoding, std::string_view& line);

  // ReadLine, the line then cut at its first NUL (which ends what the
  // parser looks at, as it ends a C string) and scanned into `scanned`.
  // Most lines are found and scanned in one pass.
  bool ReadScannedLine(InputEncoding encoding, std::string_view& visible, ScannedLine& scanned);

  // Byte offset of the first byte not yet read as part of a raw line: after
  // ReadLine of a level-0 line, where that record's first sub-line starts.
  int64_t position() const { return reader_.position(); }
  int64_t size() const { return reader_.size(); }
  std::string_view bytes() const { return reader_.bytes(); }

 private:
  LineReader reader_;
  std::string decoded_;  // a line that had to be decoded
  std::string pending_;  // the rest of a line longer than 999 bytes
  size_t pendingNext_ = 0;
};

}  // namespace kw

#endif  // KINWEAVE_IMPORT_LINE_INPUT_H_
