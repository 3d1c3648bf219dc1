// Line input of a GEDCOM file: raw bytes from disk, the encoding found at
// the start of the file, and lines reduced to Windows-1252 for the parser.
//
// A line ends at LF, CR, CR LF or LF CR (GEDCOM allows all four) and keeps
// its own line end. The parser sees at most 999 bytes of a line at a time:
// the rest of a longer line comes back as a line of its own.
#ifndef KINWEAVE_IMPORT_LINE_INPUT_H_
#define KINWEAVE_IMPORT_LINE_INPUT_H_

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "store/store.h"

namespace kw {

constexpr int kMaxLineBytes = 999;

// What the first bytes of a file say about its encoding.
struct EncodingProbe {
  InputEncoding encoding = kEncodingPlain;
  // True when a byte-order mark or a UTF-16 "0" decided the encoding, so a
  // CHAR line cannot change it.
  bool fixed = false;
  // Bytes of a byte-order mark, skipped before the first line.
  int markBytes = 0;
};

// Looks at the first bytes of a file (up to 3 suffice).
EncodingProbe ProbeEncoding(const unsigned char* bytes, size_t count);

class LineInput {
 public:
  LineInput() = default;
  ~LineInput();
  LineInput(const LineInput&) = delete;
  LineInput& operator=(const LineInput&) = delete;

  // Opens the file as raw bytes. False when it cannot be opened or is a
  // directory (errno tells why).
  bool Open(const std::string& path);
  void Close();
  bool isOpen() const { return file_ != nullptr; }
  // Size in bytes, measured by seeking to the end and back.
  int64_t Size();

  // Reads the start of the file, skips a byte-order mark and tells what
  // encoding the file starts in. Call once, before the first line.
  EncodingProbe Probe();

  // Reads the next raw line (line end included) into `raw`. False at the
  // end of the file. For UTF-16 a line is whole two-byte units.
  bool ReadRawLine(InputEncoding encoding, std::string& raw);

  // Reads the next line reduced to Windows-1252 (at most 999 bytes; the rest
  // of a longer line follows in later calls). False at the end of the file.
  bool ReadLine(InputEncoding encoding, std::string& line);

  // Reads on to the next line that begins, after blanks, with level 0 and
  // returns it reduced to Windows-1252; the lines passed over are not
  // copied. False at the end of the file.
  bool ReadLevelZeroLine(InputEncoding encoding, std::string& line);

  // Byte offset of the first byte not yet read as part of a raw line: after
  // ReadLine of a level-0 line, where that record's first sub-line starts.
  int64_t position() const { return position_; }
  // Moves to a byte offset; forgets any part line still pending.
  bool Seek(int64_t offset);

 private:
  bool ReadWholeFile();
  bool Ensure(size_t count);
  int NextByte();  // -1 at the end
  int PeekByte();
  unsigned PeekUnit(bool little);  // above 0xFFFF when no whole unit is left
  bool ReadRawUtf16Line(bool little, std::string& raw);
  bool SkipRawLine();

  std::FILE* file_ = nullptr;
  std::unique_ptr<unsigned char[]> buffer_;
  bool wholeFile_ = false;  // buffer_ holds the whole file from offset 0
  size_t bufferFill_ = 0;
  size_t bufferNext_ = 0;
  int64_t position_ = 0;
  std::string raw_;
  std::string pending_;      // the rest of a line longer than 999 bytes
  size_t pendingNext_ = 0;
};

}  // namespace kw

#endif  // KINWEAVE_IMPORT_LINE_INPUT_H_
