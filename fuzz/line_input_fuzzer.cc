// Fuzz target: the line input and the codecs. Any bytes are a file to probe
// and to split into lines in each encoding, and a text to decode and encode.
// Checked: lines are contiguous, each ends with a line end but the last, the
// line before a line's end is that line; the import's pieces of a line are at
// most 999 bytes, come back together as the line, and positions only grow;
// Windows-1252 survives Unicode and back, valid UTF-8 and UTF-16 survive a
// round trip unchanged, and decoding an encoding's own output is stable; a
// line scanned in one pass is scanned as the long way scans it.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "base/codec.h"
#include "base/gedcom_line.h"
#include "fuzz_support.h"
#include "import/line_input.h"

namespace {

using namespace kw;

constexpr InputEncoding kEncodings[] = {kEncodingPlain, kEncodingAnsel, kEncodingUtf8,
                                        kEncodingUtf16Le, kEncodingUtf16Be};

bool IsLineEndUnit(std::string_view bytes, size_t at, InputEncoding encoding) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data()) + at;
  char32_t unit = IsUtf16(encoding) ? Utf16Unit(p, encoding == kEncodingUtf16Be) : p[0];
  return unit == '\n' || unit == '\r';
}

// The raw lines from `start` cover the bytes without gap; the line before
// each line end found again from that end is the same line, when what goes
// before the line is a line end (not a byte-order mark) and the line holds
// more than its line end.
void CheckLines(std::string_view bytes, size_t start, InputEncoding encoding) {
  const size_t width = IsUtf16(encoding) ? 2 : 1;
  LineReader reader(bytes, encoding);
  reader.Seek(static_cast<int64_t>(start));
  std::string_view raw;
  size_t expected = start;
  while (reader.Next(raw)) {
    FUZZ_CHECK(!raw.empty());
    FUZZ_CHECK(raw.data() == bytes.data() + expected);
    const size_t end = expected + raw.size();
    FUZZ_CHECK(static_cast<size_t>(reader.position()) == end);
    const bool last = end == bytes.size();
    FUZZ_CHECK(last || HasLineEnd(raw, encoding));
    FUZZ_CHECK(RawLineLength(bytes, expected, encoding) == raw.size());
    const bool afterLineEnd = expected >= width && IsLineEndUnit(bytes, expected - width, encoding);
    const bool aligned = expected % width == 0;
    if (HasLineEnd(raw, encoding) && aligned && (afterLineEnd || expected == 0) &&
        !IsLineEndUnit(raw, 0, encoding)) {
      FUZZ_CHECK(RawLineBefore(bytes, end, encoding) == raw);
    }
    expected = end;
  }
  FUZZ_CHECK(expected == bytes.size() || start > bytes.size());
}

// The import's view of the same lines: each raw line reduced to
// Windows-1252 comes in pieces of at most 999 bytes, in order.
void CheckLineInput(std::string_view bytes, InputEncoding encoding) {
  LineInput input(bytes);
  EncodingProbe probe = input.Probe();
  FUZZ_CHECK(input.position() == probe.markBytes);
  LineReader reader(bytes, encoding);
  reader.Seek(probe.markBytes);
  std::string_view raw;
  std::string_view piece;
  std::string whole, expected;
  int64_t position = input.position();
  while (reader.Next(raw)) {
    expected.clear();
    DecodeToCp1252(encoding, raw, expected);
    whole.clear();
    do {
      FUZZ_CHECK(input.ReadLine(encoding, piece));
      FUZZ_CHECK(piece.size() <= static_cast<size_t>(kMaxLineBytes));
      FUZZ_CHECK(input.position() >= position);
      position = input.position();
      whole += piece;
    } while (whole.size() < expected.size());
    FUZZ_CHECK(whole == expected);
    FUZZ_CHECK(position == reader.position());
  }
  FUZZ_CHECK(!input.ReadLine(encoding, piece));
}

// A line found and scanned in one pass is the line the long way finds, cut
// into the same level, tokens and value at the same bytes.
void CheckShortLines(std::string_view bytes, InputEncoding encoding) {
  LineReader reader(bytes, encoding);
  LineReader shortReader(bytes, encoding);
  std::string_view raw;
  std::string storage;
  while (reader.Next(raw)) {
    std::string_view shortRaw;
    ScannedLine line;
    if (!shortReader.NextShort(shortRaw, line)) {
      FUZZ_CHECK(shortReader.Next(shortRaw));
      continue;
    }
    FUZZ_CHECK(shortRaw.data() == raw.data() && shortRaw.size() == raw.size());
    const ScannedLine expected = ScanLine(ScanText(encoding, raw, storage));
    FUZZ_CHECK(line.hasLevel && expected.hasLevel && line.level == expected.level);
    FUZZ_CHECK(line.levelFollowedBySpace == expected.levelFollowedBySpace);
    for (auto [got, want] : {std::pair{line.token2, expected.token2},
                             std::pair{line.token3, expected.token3},
                             std::pair{line.value, expected.value}}) {
      FUZZ_CHECK(got.data() == want.data() && got.size() == want.size());
    }
  }
  FUZZ_CHECK(reader.position() == shortReader.position());
}

void CheckCodecs(std::string_view bytes) {
  // Windows-1252 through Unicode and back, also by way of every Unicode form.
  std::u32string unicode;
  DecodeToUnicode(kEncodingPlain, bytes, unicode);
  FUZZ_CHECK(unicode.size() == bytes.size());
  std::string back;
  EncodeFromUnicode(kEncodingPlain, unicode, back);
  FUZZ_CHECK(back == bytes);
  for (InputEncoding form : {kEncodingUtf8, kEncodingUtf16Le, kEncodingUtf16Be}) {
    std::string encoded;
    EncodeFromUnicode(form, unicode, encoded);
    std::u32string decoded;
    DecodeToUnicode(form, encoded, decoded);
    FUZZ_CHECK(decoded == unicode);
    std::string reduced;
    DecodeToCp1252(form, encoded, reduced);
    FUZZ_CHECK(reduced == bytes);
  }

  for (InputEncoding encoding : kEncodings) {
    std::u32string decoded;
    DecodeToUnicode(encoding, bytes, decoded);
    std::string encoded;
    EncodeFromUnicode(encoding, decoded, encoded);
    const bool replaced = decoded.find(U'\uFFFD') != std::u32string::npos;
    if (encoding != kEncodingAnsel) {
      // The Unicode forms and Windows-1252 hold every character they read.
      if (!replaced) FUZZ_CHECK(encoded == bytes);
      std::u32string again;
      DecodeToUnicode(encoding, encoded, again);
      FUZZ_CHECK(again == decoded);
      // The import's reduction is the Unicode reading, one byte a character.
      std::string reduced, expected;
      DecodeToCp1252(encoding, bytes, reduced);
      EncodeFromUnicode(kEncodingPlain, decoded, expected);
      FUZZ_CHECK(reduced == expected);
    }
    std::string reduced;
    DecodeToCp1252(encoding, bytes, reduced);
    FUZZ_CHECK(reduced.size() <= bytes.size());
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes = kw::fuzz::Bytes(data, size);
  EncodingProbe probe = ProbeEncoding(bytes);
  FUZZ_CHECK(static_cast<size_t>(probe.markBytes) <= size);
  FUZZ_CHECK(probe.fixed || (probe.encoding == kEncodingPlain && probe.markBytes == 0));
  for (InputEncoding encoding : kEncodings) {
    CheckLines(bytes, 0, encoding);
    CheckLines(bytes, static_cast<size_t>(probe.markBytes), encoding);
    CheckLineInput(bytes, encoding);
    CheckShortLines(bytes, encoding);
  }
  CheckCodecs(bytes);
  return 0;
}
