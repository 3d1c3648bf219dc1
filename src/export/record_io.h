// The line services of the export: reading the input files by whole raw
// lines, skipping to the next record, and writing the output file in the
// output's encoding.
//
// The export reads an input file at many places (the stream of input file 1
// and every record it re-reads by position), so each input is held in
// memory whole and a jump costs nothing. Lines end at LF, CR, CR LF or LF CR
// exactly as the import splits them, and keep their own line end; for
// UTF-16 a line is whole two-byte units.
#ifndef KINWEAVE_EXPORT_RECORD_IO_H_
#define KINWEAVE_EXPORT_RECORD_IO_H_

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "store/store.h"

namespace kw {

// One input file, read whole, with a read position.
class InputText {
 public:
  // Reads the whole file. False when it cannot be opened or read.
  bool Open(const std::string& path, InputEncoding encoding, int slot);

  InputEncoding encoding() const { return encoding_; }
  int slot() const { return slot_; }
  int64_t Size() const { return static_cast<int64_t>(bytes_.size()); }
  int64_t position() const { return position_; }
  bool AtEnd() const { return position_ >= Size(); }
  // Moves to a byte offset (clamped to the file).
  void Seek(int64_t offset);

  // The next raw line with its line end, viewed in the file's bytes (valid
  // while this object lives). False at the end of the file.
  bool ReadLine(std::string_view& raw);

  // The raw line that ends right at `offset` (the level-0 line of a record
  // whose first sub-line starts there), or "" when there is none.
  std::string_view LineBefore(int64_t offset) const;

 private:
  std::string bytes_;
  InputEncoding encoding_ = kEncodingPlain;
  int slot_ = 0;
  int64_t position_ = 0;
};

// Moves past the rest of the current record: to the start of the next
// level-0 line, or to the end of the file. Lines without a level number do
// not stop it.
void SkipRecord(InputText& input);

// A line of an input scanned as the import scans it: the level number
// (leading white space allowed), then two white-space-separated tokens.
// `scan` is the Windows-1252 reading of the line that the scan used.
struct ScannedLine {
  bool hasLevel = false;  // false: blank or no number at the start
  int level = 0;
  std::string_view token2;  // cross-reference of a level-0 line, tag otherwise
  std::string_view token3;  // record type of a level-0 line, value word otherwise
  bool levelFollowedBySpace = true;
};

// Scans `text` (Windows-1252, line end included). The views point into it.
ScannedLine ScanLine(std::string_view text);

// The Windows-1252 reading of a raw line: the raw bytes themselves for plain
// input and for lines of ASCII only (no copy), else decoded into `storage`.
std::string_view ScanText(InputEncoding encoding, std::string_view raw, std::string& storage);

// Reads a number the way "%d" does (leading white space, a sign). False
// when no digit follows; huge values are clamped.
bool ScanNumber(std::string_view text, int* value);

// "@%c%d@": '@', any one character, then a number: a note or source
// reference as the import reads it.
bool ScanAnyXref(std::string_view token, int* number);

// The buffered output file in the output encoding. Nothing reaches the disk
// before Flush (or a full buffer); the export flushes when it ends.
class GedcomOutput {
 public:
  GedcomOutput() = default;
  ~GedcomOutput();
  GedcomOutput(const GedcomOutput&) = delete;
  GedcomOutput& operator=(const GedcomOutput&) = delete;

  // Opens (replacing) the output file. False when it cannot be opened.
  bool Open(const std::string& path, InputEncoding encoding);
  InputEncoding encoding() const { return encoding_; }

  // Bytes exactly as given.
  void WriteBytes(std::string_view bytes);
  // A line copied from an input of encoding `from`: byte for byte when that
  // is the output's encoding, otherwise transcoded character by character.
  void WriteCopy(std::string_view raw, InputEncoding from);
  // A generated line: formatted like printf into Windows-1252 text, then
  // encoded into the output encoding.
  void WriteLine(const char* format, ...) __attribute__((format(printf, 2, 3)));
  // Windows-1252 text encoded into the output encoding.
  void WriteText(std::string_view cp1252);
  // Code points encoded into the output encoding.
  void WriteUnicode(std::u32string_view text);

  // Writes out the buffer and flushes the file. False when writing failed.
  bool Flush();
  // Flushes and closes. False when writing failed.
  bool Close();

 private:
  void Spill();

  std::FILE* file_ = nullptr;
  InputEncoding encoding_ = kEncodingPlain;
  bool failed_ = false;
  std::string buffer_;
  std::string format_;
  std::u32string unicode_;
};

}  // namespace kw

#endif  // KINWEAVE_EXPORT_RECORD_IO_H_
