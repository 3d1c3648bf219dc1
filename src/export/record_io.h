// The line services of the export: reading the input files by whole raw
// lines, skipping to the next record, and writing the output file in the
// output's encoding.
//
// The export reads an input file at many places (the stream of input file 1
// and every record it re-reads by position): it reads the bytes the import
// holds, so a jump costs nothing, and lines split exactly as the import
// split them.
#ifndef KINWEAVE_EXPORT_RECORD_IO_H_
#define KINWEAVE_EXPORT_RECORD_IO_H_

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "base/gedcom_line.h"
#include "base/output_file.h"
#include "store/store.h"

namespace kw {

// One input file as the import holds it, with a read position.
class InputText {
 public:
  InputText() = default;
  // `bytes` (the whole file, which must outlive this object) in `encoding`,
  // as slot `slot` read it.
  InputText(std::string_view bytes, InputEncoding encoding, int slot)
      : reader_(bytes, encoding), slot_(slot) {}

  InputEncoding encoding() const { return reader_.encoding(); }
  int slot() const { return slot_; }
  int64_t Size() const { return reader_.size(); }
  int64_t position() const { return reader_.position(); }
  // Moves to a byte offset (clamped to the file).
  void Seek(int64_t offset) { reader_.Seek(offset); }

  // The next raw line with its line end, viewed in the file's bytes. False
  // at the end of the file.
  bool ReadLine(std::string_view& raw) { return reader_.Next(raw); }

  // ReadLine, with the line's Windows-1252 reading (ScanText, backed by
  // `storage` when it had to be decoded) and its scan. Most lines are found
  // and scanned in one pass.
  bool ReadScannedLine(std::string_view& raw, std::string_view& scan, ScannedLine& line,
                       std::string& storage);

  // The raw line that ends right at `offset` (the level-0 line of a record
  // whose first sub-line starts there), or "" when there is none.
  std::string_view LineBefore(int64_t offset) const {
    return offset < 0 ? std::string_view()
                      : RawLineBefore(reader_.bytes(), static_cast<size_t>(offset), encoding());
  }

 private:
  LineReader reader_;
  int slot_ = 0;
};

// Moves past the rest of the current record: to the start of the next
// level-0 line, or to the end of the file. Lines without a level number do
// not stop it.
void SkipRecord(InputText& input);

// `raw`, a whole line copied from an input of encoding `from`, appended to
// `out` in encoding `to`: byte for byte when the two agree (but for the odd
// last byte of a UTF-16 file, which becomes U+FFFD), otherwise transcoded
// character by character. The last line of an input may lack its line end:
// it gets "\n", so that the next line does not run on. `scratch` is room
// for the characters on the way.
void AppendLineCopy(std::string& out, std::string_view raw, InputEncoding from, InputEncoding to,
                    std::u32string& scratch);

// The buffered output file in the output encoding. Nothing reaches the disk
// before a full buffer or Commit, and the file has no name before Commit.
class GedcomOutput {
 public:
  GedcomOutput() = default;
  ~GedcomOutput();
  GedcomOutput(const GedcomOutput&) = delete;
  GedcomOutput& operator=(const GedcomOutput&) = delete;

  // Prepares the output file, which takes its name only when committed
  // (see OutputFile). False when it cannot be created.
  bool Open(const std::string& path, InputEncoding encoding);
  InputEncoding encoding() const { return encoding_; }

  // Bytes exactly as given.
  void WriteBytes(std::string_view bytes);
  // Bytes copied from an input of encoding `from` as AppendLineCopy copies
  // them, without the line end it may add.
  void WriteCopy(std::string_view raw, InputEncoding from);
  // A whole line copied (AppendLineCopy).
  void WriteLineCopy(std::string_view raw, InputEncoding from);
  // A generated line: formatted like printf into Windows-1252 text, then
  // encoded into the output encoding.
  void WriteLine(const char* format, ...) __attribute__((format(printf, 2, 3)));
  // Windows-1252 text encoded into the output encoding.
  void WriteText(std::string_view cp1252);
  // A generated line "<head><ref>\n", as "1 FAMS " and "@F12@" give it.
  void WriteLink(std::string_view head, std::string_view ref);
  // A generated line "0 <xref> <type>\n" ("0 @I12@ INDI"): the first line of
  // a record.
  void WriteRecordHead(std::string_view xref, std::string_view type);
  // A generated line "<level> <tag> @<letter><number>@\n" ("2 NOTE @N5@").
  void WriteNumberedLink(int level, std::string_view tag, char letter, int number);
  // A whole line of Windows-1252 text, "\n" added when it has no line end.
  void WriteLineText(std::string_view cp1252);

  // Writes out the buffer, makes the file whole on the disk and gives it
  // its name. False when anything failed since Open (error() tells why);
  // nothing is left behind then.
  bool Commit();
  // Drops the output: an earlier file of the name stays as it was.
  void Abandon() { file_.Abandon(); }
  int error() const { return file_.error(); }

 private:
  void Spill();

  OutputFile file_;
  InputEncoding encoding_ = kEncodingPlain;
  std::string buffer_;
  std::string format_;
  std::string line_;
  std::u32string unicode_;
};

}  // namespace kw

#endif  // KINWEAVE_EXPORT_RECORD_IO_H_
