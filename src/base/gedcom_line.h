// The GEDCOM line syntax, one for the import and the export alike: how the
// bytes of a file split into lines, how a line splits into its level, its
// cross-reference or tag and its value, what a tag's code is, and how the
// number of a cross-reference is read.
//
// A line ends at LF, CR, CR LF or LF CR (GEDCOM allows all four) and keeps
// its own line end; in UTF-16 a line is whole two-byte units. Scanning
// works on the Windows-1252 reading of a line (ScanText), as "%d %s %s"
// would: white space is the blank and the bytes 0x09 to 0x0D.
#ifndef KINWEAVE_BASE_GEDCOM_LINE_H_
#define KINWEAVE_BASE_GEDCOM_LINE_H_

#include <cstdint>
#include <string>
#include <string_view>

#include "base/codec.h"

namespace kw {

// ---------------------------------------------------------------------------
// Files and lines

// What the first bytes of a file say about its encoding.
struct EncodingProbe {
  InputEncoding encoding = kEncodingPlain;
  // True when a byte-order mark or a UTF-16 "0" decided the encoding, so a
  // CHAR line cannot change it.
  bool fixed = false;
  // Bytes of a byte-order mark, skipped before the first line.
  int markBytes = 0;
};

// Looks at the first bytes of a file (up to 3 are used).
EncodingProbe ProbeEncoding(std::string_view bytes);

// The length of the raw line that starts at `start`, its line end
// included; 0 at the end of the bytes. The last line of a file counts even
// without a line end, and so does an odd last byte of a UTF-16 file.
size_t RawLineLength(std::string_view bytes, size_t start, InputEncoding encoding);

// The raw line that ends exactly at `end` (the level-0 line of a record
// whose first subordinate line starts there), or "" when no line ends
// there.
std::string_view RawLineBefore(std::string_view bytes, size_t end, InputEncoding encoding);

struct ScannedLine;

// Reads the raw lines of a whole file held in memory, from any position.
// The bytes must outlive the reader; lines are views into them.
class LineReader {
 public:
  LineReader() = default;
  LineReader(std::string_view bytes, InputEncoding encoding)
      : bytes_(bytes), encoding_(encoding) {}

  // The next raw line, its line end included. False at the end.
  bool Next(std::string_view& raw) {
    size_t length = RawLineLength(bytes_, position_, encoding_);
    if (length == 0) return false;
    raw = bytes_.substr(position_, length);
    position_ += length;
    return true;
  }

  // The next raw line and its scan (ScanLine of its ScanText) in one pass,
  // when ScanShortLine takes the line; false, without moving, otherwise.
  bool NextShort(std::string_view& raw, ScannedLine& line);

  // The byte offset of the next line.
  int64_t position() const { return static_cast<int64_t>(position_); }
  // Moves to a byte offset, clamped to the bytes.
  void Seek(int64_t offset) {
    position_ = offset < 0 ? 0 : static_cast<size_t>(offset);
    if (position_ > bytes_.size()) position_ = bytes_.size();
  }
  int64_t size() const { return static_cast<int64_t>(bytes_.size()); }
  std::string_view bytes() const { return bytes_; }
  InputEncoding encoding() const { return encoding_; }
  // The byte encodings all split lines alike; only UTF-16 splits otherwise.
  void set_encoding(InputEncoding encoding) { encoding_ = encoding; }

 private:
  std::string_view bytes_;
  InputEncoding encoding_ = kEncodingPlain;
  size_t position_ = 0;
};

// Reads, of the raw lines of a file in a byte encoding, only those that may
// be level-0 lines: after blanks, tabs, VT or FF a "0" or a sign. The
// lines are exactly the ones a LineReader gives, but the others are passed
// over without being split: they are nine tenths of a file, nearly all of
// them starting with a level from 1 to 9.
class LevelZeroLines {
 public:
  // `bytes` must outlive the reader; `start` is the start of a line.
  LevelZeroLines(std::string_view bytes, size_t start) : bytes_(bytes), at_(start) {}

  // The next such line, its line end included. False at the end.
  bool Next(std::string_view& raw);

 private:
  std::string_view bytes_;
  size_t at_;  // the start of a line not looked at yet
};

// Whether a raw line ends with its line end; only the last line of a file
// may lack one.
bool HasLineEnd(std::string_view raw, InputEncoding encoding);

// The Windows-1252 reading of a raw line: the raw bytes themselves for plain
// input and for lines of ASCII only (no copy), else decoded into `storage`.
std::string_view ScanText(InputEncoding encoding, std::string_view raw, std::string& storage);

// ---------------------------------------------------------------------------
// The parts of a line

// White space as "%s" and "%d" skip it: blank, tab, LF, VT, FF, CR.
inline bool IsGedcomSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// A line split as "%d %s %s" splits it. The views point into the text.
struct ScannedLine {
  bool hasLevel = false;  // false: blank, or no number at the start
  int level = 0;
  std::string_view token2;  // cross-reference of a level-0 line, tag otherwise
  std::string_view token3;  // record type of a level-0 line, value word otherwise
  // Everything after the second token and the one blank or tab after it, up
  // to the end of the text (line end included): the value of NAME, DATE.
  std::string_view value;
  bool levelFollowedBySpace = true;  // false: "1NAME", or a level "1x"
};

ScannedLine ScanLine(std::string_view text);

// The line that starts at `start` in `bytes` found and scanned in one pass:
// `raw` with its line end, and `line` exactly as ScanLine(ScanText(raw))
// gives it. Only for the lines nearly every file is made of: those that
// end within 32 bytes that lie inside `bytes`, start "<digit> ", hold no NUL
// and read as they stand in `encoding` (any byte in plain input, ASCII in
// the other byte encodings, never UTF-16). False, with nothing set, for
// every other line, which the caller reads the long way.
bool ScanShortLine(std::string_view bytes, size_t start, InputEncoding encoding,
                   std::string_view& raw, ScannedLine& line);

// Reads a number the way "%d" does (leading white space, a sign). False
// when no digit follows; values beyond the int range are clamped, so they
// fail every range test.
bool ScanNumber(std::string_view text, int* value);

// "@%c%d@": '@', any one character, then a number: a note or source
// reference. The rest of the token is not looked at.
bool ScanAnyXref(std::string_view token, int* number);

// The number n of a cross-reference written exactly "@<letter><digits>@",
// when 1 <= n < limit; -1 for every other form. Leading zeros are allowed.
int64_t XrefNumber(std::string_view xref, char letter, int64_t limit);

// Whether a token has the form of a cross-reference: "@", at least one
// character, "@".
inline bool IsXref(std::string_view token) {
  return token.size() >= 3 && token.front() == '@' && token.back() == '@';
}

// The first four bytes of a tag, the first in the lowest byte; a shorter tag
// is padded with zero bytes ("FAM" gives 0x004D4146). So a four-letter tag
// also matches a longer token that begins with it (BIRTH is BIRT), a
// shorter one only itself.
constexpr uint32_t TagCode(std::string_view tag) {
  uint32_t code = 0;
  for (size_t i = 0; i < 4 && i < tag.size(); ++i) {
    code |= static_cast<uint32_t>(static_cast<unsigned char>(tag[i])) << (8 * i);
  }
  return code;
}

// The raw bytes of the value of a level-0 line ("0 @N5@ NOTE text"): after
// the level, the cross-reference, the type and the one blank after it, up
// to the line end; "" when there is none.
std::string_view RecordValue(std::string_view raw, InputEncoding encoding);

}  // namespace kw

#endif  // KINWEAVE_BASE_GEDCOM_LINE_H_
