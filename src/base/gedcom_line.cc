#include "base/gedcom_line.h"

#include <algorithm>
#include <climits>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace kw {

namespace {

bool IsLineEnd(char32_t unit) { return unit == '\n' || unit == '\r'; }

size_t Utf16LineLength(std::string_view bytes, size_t start, bool bigEndian) {
  const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
  const size_t size = bytes.size();
  size_t end = start;
  while (end + 1 < size) {
    char32_t unit = Utf16Unit(data + end, bigEndian);
    end += 2;
    if (!IsLineEnd(unit)) continue;
    char32_t partner = unit == '\r' ? '\n' : '\r';
    if (end + 1 < size && Utf16Unit(data + end, bigEndian) == partner) end += 2;
    return end - start;
  }
  return size - start;  // an odd last byte still belongs to the last line
}

#ifdef __SSE2__
// Bit k tells whether byte k of the chunk is a CR or LF.
unsigned LineEndMask(__m128i chunk) {
  const __m128i lf = _mm_set1_epi8('\n');
  const __m128i cr = _mm_set1_epi8('\r');
  return static_cast<unsigned>(
      _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(chunk, lf), _mm_cmpeq_epi8(chunk, cr))));
}
#endif

// The first CR or LF at or after `at`, or `size` when there is none. Lines
// are short and there are millions of them: 32 bytes are looked at in one
// step where the processor allows it, which ends two lines in three (most
// are 16 to 31 bytes long) without a second step.
size_t FindLineEnd(const char* data, size_t at, size_t size) {
#ifdef __SSE2__
  for (; at + 32 <= size; at += 32) {
    const auto* chunk = reinterpret_cast<const __m128i*>(data + at);
    unsigned mask = LineEndMask(_mm_loadu_si128(chunk)) |
                    (LineEndMask(_mm_loadu_si128(chunk + 1)) << 16);
    if (mask != 0) return at + static_cast<size_t>(__builtin_ctz(mask));
  }
  for (; at + 16 <= size; at += 16) {
    unsigned mask = LineEndMask(_mm_loadu_si128(reinterpret_cast<const __m128i*>(data + at)));
    if (mask != 0) return at + static_cast<size_t>(__builtin_ctz(mask));
  }
#endif
  for (; at < size; ++at) {
    if (data[at] == '\n' || data[at] == '\r') return at;
  }
  return size;
}

size_t ByteLineLength(std::string_view bytes, size_t start) {
  const char* data = bytes.data();
  const size_t size = bytes.size();
  size_t stop = FindLineEnd(data, start, size);
  if (stop == size) return size - start;
  char partner = data[stop] == '\r' ? '\n' : '\r';
  ++stop;
  if (stop < size && data[stop] == partner) ++stop;
  return stop - start;
}

// Whether the line starting at `at` may be a level-0 line. Inside a line
// the only CR or LF is its end, so white space before the level is blank,
// tab, VT and FF.
bool MayBeLevelZeroAt(std::string_view bytes, size_t at) {
  while (at < bytes.size() && IsGedcomSpace(bytes[at]) && !IsLineEnd(bytes[at])) ++at;
  return at < bytes.size() && (bytes[at] == '0' || bytes[at] == '+' || bytes[at] == '-');
}

bool IsLevelDigit(char c) { return c >= '1' && c <= '9'; }

// The first line start after `from` (itself a line start) whose first byte
// is no level from 1 to 9, or the end of the bytes. Every CR and LF belongs
// to a line end and line ends are made of nothing else, so a line starts
// right after each run of CR and LF bytes; the lines inside a run are
// empty.
size_t NextLineStartNotAtLevelDigit(std::string_view bytes, size_t from) {
  const char* data = bytes.data();
  const size_t size = bytes.size();
  size_t at = from;
  bool afterEnd = false;  // whether the byte before `at` is a CR or LF after `from`
#ifdef __SSE2__
  const __m128i one = _mm_set1_epi8('1');
  const __m128i eight = _mm_set1_epi8(8);
  for (; at + 16 <= size; at += 16) {
    __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + at));
    unsigned ends = LineEndMask(chunk);
    // '1' to '9' are the bytes that lie 0 to 8 above '1'.
    __m128i aboveOne = _mm_sub_epi8(chunk, one);
    unsigned digits = static_cast<unsigned>(
        _mm_movemask_epi8(_mm_cmpeq_epi8(_mm_min_epu8(aboveOne, eight), aboveOne)));
    unsigned starts = ((ends << 1) | (afterEnd ? 1u : 0u)) & ~ends & 0xFFFFu;
    unsigned wanted = starts & ~digits;
    if (wanted != 0) return at + static_cast<size_t>(__builtin_ctz(wanted));
    afterEnd = (ends & 0x8000u) != 0;
  }
#endif
  for (; at < size; ++at) {
    bool end = IsLineEnd(static_cast<unsigned char>(data[at]));
    if (afterEnd && !end && !IsLevelDigit(data[at])) return at;
    afterEnd = end;
  }
  return size;
}

}  // namespace

bool LevelZeroLines::Next(std::string_view& raw) {
  while (at_ < bytes_.size()) {
    if (MayBeLevelZeroAt(bytes_, at_)) {
      raw = bytes_.substr(at_, RawLineLength(bytes_, at_, kEncodingPlain));
      at_ += raw.size();
      return true;
    }
    at_ = NextLineStartNotAtLevelDigit(bytes_, at_);
  }
  return false;
}

// The start of a file decides between the byte-oriented encodings (which a
// CHAR line may still choose among) and UTF-16, which no CHAR line can undo
// once a mark or a UTF-16 "0" of "0 HEAD" has shown it. An incomplete mark
// leaves the file plain from its first byte.
EncodingProbe ProbeEncoding(std::string_view text) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
  const size_t count = text.size();
  if (count >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) {
    return {kEncodingUtf8, true, 3};
  }
  if (count >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) return {kEncodingUtf16Le, true, 2};
  if (count >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF) return {kEncodingUtf16Be, true, 2};
  if (count >= 2 && bytes[0] == 0x30 && bytes[1] == 0x00) return {kEncodingUtf16Le, true, 0};
  if (count >= 2 && bytes[0] == 0x00 && bytes[1] == 0x30) return {kEncodingUtf16Be, true, 0};
  return EncodingProbe{};
}

size_t RawLineLength(std::string_view bytes, size_t start, InputEncoding encoding) {
  if (start >= bytes.size()) return 0;
  if (IsUtf16(encoding)) return Utf16LineLength(bytes, start, encoding == kEncodingUtf16Be);
  return ByteLineLength(bytes, start);
}

// Line contents hold no CR or LF, so the line before `end` starts after the
// last line-end character before its own line end. Reading forward from
// there must end exactly at `end`, else no line ends there.
std::string_view RawLineBefore(std::string_view bytes, size_t end, InputEncoding encoding) {
  if (end == 0 || end > bytes.size()) return {};
  const size_t width = IsUtf16(encoding) ? 2 : 1;
  const bool bigEndian = encoding == kEncodingUtf16Be;
  const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
  auto isEnd = [&](size_t at) {
    return IsLineEnd(width == 1 ? data[at] : Utf16Unit(data + at, bigEndian));
  };
  size_t at = end;
  if (at % width != 0 || !isEnd(at - width)) return {};
  while (at >= width && isEnd(at - width)) at -= width;
  while (at >= width && !isEnd(at - width)) at -= width;
  if (at + RawLineLength(bytes, at, encoding) != end) return {};
  return bytes.substr(at, end - at);
}

bool HasLineEnd(std::string_view raw, InputEncoding encoding) {
  const auto* data = reinterpret_cast<const unsigned char*>(raw.data());
  if (!IsUtf16(encoding)) return !raw.empty() && IsLineEnd(data[raw.size() - 1]);
  if (raw.size() < 2 || raw.size() % 2 != 0) return false;
  return IsLineEnd(Utf16Unit(data + raw.size() - 2, encoding == kEncodingUtf16Be));
}

std::string_view ScanText(InputEncoding encoding, std::string_view raw, std::string& storage) {
  if (encoding == kEncodingPlain || (!IsUtf16(encoding) && IsAscii(raw))) return raw;
  storage.clear();
  DecodeToCp1252(encoding, raw, storage);
  return storage;
}

bool ScanNumber(std::string_view text, int* value) {
  size_t i = 0;
  while (i < text.size() && IsGedcomSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  if (i >= text.size() || text[i] < '0' || text[i] > '9') return false;
  long long number = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    if (number <= INT_MAX) number = number * 10 + (text[i] - '0');
  }
  if (number > INT_MAX) number = negative ? static_cast<long long>(INT_MAX) + 1 : INT_MAX;
  *value = static_cast<int>(negative ? -number : number);
  return true;
}

bool ScanAnyXref(std::string_view token, int* number) {
  if (token.size() < 3 || token[0] != '@') return false;
  return ScanNumber(token.substr(2), number);
}

int64_t XrefNumber(std::string_view xref, char letter, int64_t limit) {
  if (xref.size() < 4 || xref[0] != '@' || xref[1] != letter || xref.back() != '@') return -1;
  int64_t n = 0;
  for (char c : xref.substr(2, xref.size() - 3)) {
    if (c < '0' || c > '9') return -1;
    n = n * 10 + (c - '0');
    if (n >= limit) return -1;
  }
  return n >= 1 ? n : -1;
}

namespace {

// The level of a line that does not start "<digit> ": white space, a sign,
// digits. False when there is no number; `p` is left after the digits.
bool ScanLevel(const char*& p, const char* end, ScannedLine& line) {
  while (p < end && IsGedcomSpace(*p)) ++p;
  bool negative = false;
  if (p < end && (*p == '+' || *p == '-')) negative = *p++ == '-';
  if (p >= end || *p < '0' || *p > '9') return false;
  long long number = 0;
  for (; p < end && *p >= '0' && *p <= '9'; ++p) {
    if (number <= INT_MAX) number = number * 10 + (*p - '0');
  }
  if (number > INT_MAX) number = negative ? static_cast<long long>(INT_MAX) + 1 : INT_MAX;
  line.level = static_cast<int>(negative ? -number : number);
  line.hasLevel = true;
  line.levelFollowedBySpace = p >= end || IsGedcomSpace(*p);
  return true;
}

// The value starts after the second token and the one blank or tab after it.
std::string_view ValueAfter(const char* token2End, const char* end) {
  const char* value = token2End;
  if (value < end && (*value == ' ' || *value == '\t')) ++value;
  return std::string_view(value, static_cast<size_t>(end - value));
}

// The two tokens and the value after the level, one byte at a time; `p`
// is the first byte after the level.
void ScanTokens(const char* p, const char* end, ScannedLine& line) {
  auto token = [&](std::string_view& out) {
    while (p < end && IsGedcomSpace(*p)) ++p;
    const char* start = p;
    while (p < end && (static_cast<unsigned char>(*p) > ' ' || !IsGedcomSpace(*p))) ++p;
    out = std::string_view(start, static_cast<size_t>(p - start));
  };
  token(line.token2);
  line.value = ValueAfter(p, end);
  token(line.token3);
}

#ifdef __SSE2__
// Bit k tells whether byte k of the chunk is white space as "%s" skips it.
unsigned SpaceMask(__m128i chunk) {
  const __m128i blank = _mm_cmpeq_epi8(chunk, _mm_set1_epi8(' '));
  // '\t' to '\r' are the bytes that lie 0 to 4 above '\t'.
  const __m128i aboveTab = _mm_sub_epi8(chunk, _mm_set1_epi8('\t'));
  const __m128i control = _mm_cmpeq_epi8(_mm_min_epu8(aboveTab, _mm_set1_epi8(4)), aboveTab);
  return static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(blank, control)));
}

unsigned SpaceMask16(const char* at) {
  return SpaceMask(_mm_loadu_si128(reinterpret_cast<const __m128i*>(at)));
}

unsigned SpaceMask8(const char* at) {
  return SpaceMask(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(at))) & 0xFFu;
}

constexpr size_t kWindow = 32;

// The white space among the first 32 bytes of [p, end) as bits, every bit
// from the end of the bytes up set as if the end were white space too.
// Only the bytes themselves are read: a short run is covered by two loads
// that overlap instead of one that would reach past its end. False for
// runs under 8 bytes.
bool SpaceBits(const char* p, size_t length, uint64_t* bits) {
  uint64_t mask = 0;
  if (length >= kWindow) {
    mask = SpaceMask16(p) | (uint64_t{SpaceMask16(p + 16)} << 16);
  } else if (length >= 16) {
    mask = SpaceMask16(p) | (uint64_t{SpaceMask16(p + length - 16)} << (length - 16));
  } else if (length >= 8) {
    mask = SpaceMask8(p) | (uint64_t{SpaceMask8(p + length - 8)} << (length - 8));
  } else {
    return false;
  }
  *bits = mask | (~uint64_t{0} << std::min(length, kWindow));
  return true;
}

// ScanTokens on the bits of SpaceBits: each token's start and end is the
// next set or clear bit. False when a token may reach past the 32 bytes
// the bits tell of; the bytes must then be scanned one at a time.
bool ScanTokensByBits(const char* p, const char* end, uint64_t spaces, ScannedLine& line) {
  const size_t length = static_cast<size_t>(end - p);
  const bool cut = length > kWindow;  // bits from 32 up stand for unread bytes
  const uint64_t words = ~spaces;     // clear from bit 32 up
  auto token = [&](size_t from, std::string_view& out) -> size_t {
    uint64_t rest = words & (~uint64_t{0} << from);  // `from` is at most 32
    if (rest == 0) {
      if (cut) return 0;
      out = std::string_view(end, 0);
      return length;
    }
    size_t start = static_cast<size_t>(__builtin_ctzll(rest));
    size_t stop = static_cast<size_t>(__builtin_ctzll(spaces & (~uint64_t{0} << start)));
    if (cut && stop >= kWindow) return 0;
    out = std::string_view(p + start, stop - start);
    return stop;
  };
  size_t after2 = token(0, line.token2);
  if (after2 == 0) return false;
  line.value = ValueAfter(p + after2, end);
  return token(after2, line.token3) != 0;
}
#endif

}  // namespace

// Every line of both files passes through here, most of them twice: the
// number is read in the same pass that finds its end, and the tokens of
// nearly every line are found in the white space of its first 32 bytes,
// taken as bits, without a branch per byte.
ScannedLine ScanLine(std::string_view text) {
  ScannedLine line;
  const char* p = text.data();
  const char* const end = p + text.size();
  if (text.size() >= 2 && p[0] >= '0' && p[0] <= '9' && p[1] == ' ') {
    // Nearly every line starts "<digit> ".
    line.level = p[0] - '0';
    line.hasLevel = true;
    ++p;
  } else if (!ScanLevel(p, end, line)) {
    return line;
  }
#ifdef __SSE2__
  uint64_t spaces = 0;
  if (SpaceBits(p, static_cast<size_t>(end - p), &spaces) &&
      ScanTokensByBits(p, end, spaces, line)) {
    return line;
  }
#endif
  ScanTokens(p, end, line);
  return line;
}

#ifdef __SSE2__
namespace {

// Bit k tells whether byte k of the chunk is a NUL, or above 0x7F.
unsigned NulMask(__m128i chunk) {
  return static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(chunk, _mm_setzero_si128())));
}

unsigned HighMask(__m128i chunk) { return static_cast<unsigned>(_mm_movemask_epi8(chunk)); }

}  // namespace
#endif

// The line's end, its white space, and whether it holds a NUL or a byte
// to decode come from the same two loads; the tokens are then the runs of
// clear bits, as in ScanTokensByBits.
bool ScanShortLine(std::string_view bytes, size_t start, InputEncoding encoding,
                   std::string_view& raw, ScannedLine& line) {
#ifdef __SSE2__
  const size_t size = bytes.size();
  if (IsUtf16(encoding) || start > size || size - start < kWindow) return false;
  const char* p = bytes.data() + start;
  const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  const __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16));
  const uint32_t ends = LineEndMask(low) | (LineEndMask(high) << 16);
  if (ends == 0) return false;
  const unsigned stop = static_cast<unsigned>(__builtin_ctz(ends));
  if (stop < 2 || p[0] < '0' || p[0] > '9' || p[1] != ' ') return false;
  const uint32_t before = (1u << stop) - 1;  // the bytes before the line end
  uint32_t refused = NulMask(low) | (NulMask(high) << 16);
  if (encoding != kEncodingPlain) refused |= HighMask(low) | (HighMask(high) << 16);
  if ((refused & before) != 0) return false;

  size_t length = stop + 1;
  const char partner = p[stop] == '\r' ? '\n' : '\r';
  if (start + length < size && p[length] == partner) ++length;
  raw = std::string_view(p, length);

  // Every field set one by one: a whole new ScannedLine would be built on
  // the stack and copied, on each of millions of lines.
  line.hasLevel = true;
  line.level = p[0] - '0';
  line.levelFollowedBySpace = true;
  // From the line end up everything counts as white space: the line end is,
  // and the second byte of a CR LF may lie past the 32 bytes loaded.
  const uint64_t spaces =
      (uint64_t{SpaceMask(low)} | (uint64_t{SpaceMask(high)} << 16)) | (~uint64_t{0} << stop);
  const uint64_t words = ~spaces & ~uint64_t{1};  // the level digit is no token
  const char* end = p + length;
  auto token = [&](size_t from, std::string_view& out) -> size_t {
    uint64_t rest = words & (~uint64_t{0} << from);
    if (rest == 0) {
      out = std::string_view(end, 0);
      return length;
    }
    size_t first = static_cast<size_t>(__builtin_ctzll(rest));
    size_t after = static_cast<size_t>(__builtin_ctzll(spaces & (~uint64_t{0} << first)));
    out = std::string_view(p + first, after - first);
    return after;
  };
  size_t after2 = token(1, line.token2);
  line.value = ValueAfter(p + after2, end);
  token(after2, line.token3);
  return true;
#else
  (void)bytes, (void)start, (void)encoding, (void)raw, (void)line;
  return false;
#endif
}

bool LineReader::NextShort(std::string_view& raw, ScannedLine& line) {
  if (!ScanShortLine(bytes_, position_, encoding_, raw, line)) return false;
  position_ += raw.size();
  return true;
}

std::string_view RecordValue(std::string_view raw, InputEncoding encoding) {
  const size_t width = IsUtf16(encoding) ? 2 : 1;
  const bool bigEndian = encoding == kEncodingUtf16Be;
  const auto* data = reinterpret_cast<const unsigned char*>(raw.data());
  auto unit = [&](size_t at) -> char32_t {
    return width == 1 ? data[at] : Utf16Unit(data + at, bigEndian);
  };
  auto isSpace = [](char32_t u) { return u == ' ' || (u >= '\t' && u <= '\r'); };
  size_t end = raw.size() - raw.size() % width;
  while (end >= width && IsLineEnd(unit(end - width))) end -= width;
  size_t at = 0;
  for (int token = 0; token < 3; ++token) {
    while (at < end && isSpace(unit(at))) at += width;
    while (at < end && !isSpace(unit(at))) at += width;
  }
  if (at < end && (unit(at) == ' ' || unit(at) == '\t')) at += width;
  if (at >= end) return {};
  return raw.substr(at, end - at);
}

}  // namespace kw
