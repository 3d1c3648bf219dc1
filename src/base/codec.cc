#include "base/codec.h"

#include <cstdint>
#include <cstring>

#include "base/ansel_table.h"

namespace kw {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Windows-1252 bytes 0x80..0x9F. The five bytes the code page leaves
// unassigned stand for the C1 controls of the same value.
const char32_t kCp1252Row8[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// ---------------------------------------------------------------------------
// Shared pieces: ASCII runs and the Windows-1252 reduction of one character.

// The number of leading bytes below 0x80. Looks at eight bytes at a time,
// since the texts of a GEDCOM file are mostly ASCII.
size_t AsciiRunLength(const char* bytes, size_t size) {
  size_t i = 0;
  while (i + 8 <= size) {
    uint64_t word;
    std::memcpy(&word, bytes + i, 8);
    if (word & 0x8080808080808080ULL) break;
    i += 8;
  }
  while (i < size && static_cast<unsigned char>(bytes[i]) < 0x80) ++i;
  return i;
}

void AppendCp1252(char32_t codePoint, std::string& out) {
  const int byte = Cp1252FromUnicode(codePoint);
  out.push_back(byte < 0 ? '?' : static_cast<char>(byte));
}

bool IsCombiningMark(char32_t codePoint) {
  return (codePoint >= 0x0300 && codePoint <= 0x036F) ||
         (codePoint >= 0xFE20 && codePoint <= 0xFE2F);
}

// ---------------------------------------------------------------------------
// UTF-8. An invalid byte (a stray continuation, the lead of an overlong,
// surrogate, too large or cut-off sequence) is one U+FFFD; decoding goes on
// with the next byte.

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// Decodes the character at `p` (at least one byte, not ASCII) into
// `codePoint` and returns the number of bytes it took.
size_t DecodeUtf8Char(const unsigned char* p, size_t size, char32_t* codePoint) {
  *codePoint = kReplacement;
  const unsigned char lead = p[0];
  size_t length;
  unsigned char low = 0x80, high = 0xBF;  // range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;   // overlong
    if (lead == 0xED) high = 0x9F;  // surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;   // overlong
    if (lead == 0xF4) high = 0x8F;  // above U+10FFFF
  } else {
    return 1;
  }
  if (size < length || p[1] < low || p[1] > high) return 1;
  char32_t value = lead & (0x7F >> length);
  for (size_t k = 1; k < length; ++k) {
    if (!IsContinuation(p[k])) return 1;
    value = (value << 6) | (p[k] & 0x3F);
  }
  *codePoint = value;
  return length;
}

void DecodeUtf8ToUnicode(std::string_view bytes, std::u32string& out) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  size_t i = 0;
  while (i < bytes.size()) {
    if (p[i] < 0x80) {
      out.push_back(p[i++]);
      continue;
    }
    char32_t codePoint;
    i += DecodeUtf8Char(p + i, bytes.size() - i, &codePoint);
    out.push_back(codePoint);
  }
}

void DecodeUtf8ToCp1252(std::string_view bytes, std::string& out) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  size_t i = 0;
  while (i < bytes.size()) {
    const size_t run = AsciiRunLength(bytes.data() + i, bytes.size() - i);
    out.append(bytes.data() + i, run);
    i += run;
    if (i == bytes.size()) break;
    char32_t codePoint;
    i += DecodeUtf8Char(p + i, bytes.size() - i, &codePoint);
    AppendCp1252(codePoint, out);
  }
}

void EncodeUtf8(char32_t codePoint, std::string& out) {
  if ((codePoint >= 0xD800 && codePoint <= 0xDFFF) || codePoint > 0x10FFFF) {
    codePoint = kReplacement;
  }
  if (codePoint < 0x80) {
    out.push_back(static_cast<char>(codePoint));
  } else if (codePoint < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (codePoint >> 6)));
    out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
  } else if (codePoint < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (codePoint >> 12)));
    out.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (codePoint >> 18)));
    out.push_back(static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
  }
}

// ---------------------------------------------------------------------------
// UTF-16 in either byte order. A surrogate pair is one character; a lone
// half, and an odd last byte, are U+FFFD.

bool IsHighSurrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// Decodes the character at byte `i`; returns the number of bytes it took.
size_t DecodeUtf16Char(const unsigned char* p, size_t size, bool bigEndian,
                       char32_t* codePoint) {
  if (size < 2) {
    *codePoint = kReplacement;
    return size;
  }
  const char32_t unit = Utf16Unit(p, bigEndian);
  *codePoint = unit;
  if (IsLowSurrogate(unit)) *codePoint = kReplacement;
  if (!IsHighSurrogate(unit)) return 2;
  *codePoint = kReplacement;
  if (size < 4) return 2;
  const char32_t next = Utf16Unit(p + 2, bigEndian);
  if (!IsLowSurrogate(next)) return 2;
  *codePoint = 0x10000 + ((unit - 0xD800) << 10) + (next - 0xDC00);
  return 4;
}

void DecodeUtf16ToUnicode(std::string_view bytes, bool bigEndian, std::u32string& out) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  size_t i = 0;
  while (i < bytes.size()) {
    char32_t codePoint;
    i += DecodeUtf16Char(p + i, bytes.size() - i, bigEndian, &codePoint);
    out.push_back(codePoint);
  }
}

void DecodeUtf16ToCp1252(std::string_view bytes, bool bigEndian, std::string& out) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  size_t i = 0;
  while (i < bytes.size()) {
    char32_t codePoint;
    i += DecodeUtf16Char(p + i, bytes.size() - i, bigEndian, &codePoint);
    if (codePoint < 0x80) {
      out.push_back(static_cast<char>(codePoint));
    } else {
      AppendCp1252(codePoint, out);
    }
  }
}

void AppendUtf16Unit(char32_t unit, bool bigEndian, std::string& out) {
  const char high = static_cast<char>(unit >> 8);
  const char low = static_cast<char>(unit & 0xFF);
  out.push_back(bigEndian ? high : low);
  out.push_back(bigEndian ? low : high);
}

void EncodeUtf16(char32_t codePoint, bool bigEndian, std::string& out) {
  if ((codePoint >= 0xD800 && codePoint <= 0xDFFF) || codePoint > 0x10FFFF) {
    codePoint = kReplacement;
  }
  if (codePoint < 0x10000) {
    AppendUtf16Unit(codePoint, bigEndian, out);
    return;
  }
  const char32_t offset = codePoint - 0x10000;
  AppendUtf16Unit(0xD800 + (offset >> 10), bigEndian, out);
  AppendUtf16Unit(0xDC00 + (offset & 0x3FF), bigEndian, out);
}

// ---------------------------------------------------------------------------
// ANSEL. Diacritics stand before their letter; a run of them belongs to the
// next byte unless the bytes or the line end first, in which case the run
// has no letter and is dropped.

char32_t AnselCharacter(unsigned char byte) {
  const char32_t codePoint = AnselToUnicode(byte);
  return codePoint == 0 ? kReplacement : codePoint;
}

bool EndsLine(unsigned char byte) { return byte == '\r' || byte == '\n'; }

// Skips the diacritics starting at `i`; returns the position of their letter,
// or of the line end or the end of the bytes when they have none.
size_t SkipDiacritics(const unsigned char* p, size_t size, size_t i) {
  while (i < size && IsAnselDiacritic(p[i])) ++i;
  return i;
}

// Unicode keeps everything: the marks compose with the letter one after the
// other while Unicode has the composed character; from the first that does
// not, they follow the composed letter as combining marks.
void AppendAnselLetterUnicode(const unsigned char* marks, size_t markCount,
                              char32_t letter, std::u32string& out) {
  size_t k = 0;
  for (; k < markCount; ++k) {
    const char32_t composed = ComposeLetter(letter, AnselToUnicode(marks[k]));
    if (composed == 0) break;
    letter = composed;
  }
  out.push_back(letter);
  for (; k < markCount; ++k) out.push_back(AnselToUnicode(marks[k]));
}

// Windows-1252 keeps the fullest composition it has a byte for: marks that
// do not compose are passed over, and a result Windows-1252 lacks falls
// back to the last one it has, at worst the letter alone.
void AppendAnselLetterCp1252(const unsigned char* marks, size_t markCount,
                             char32_t letter, std::string& out) {
  int best = Cp1252FromUnicode(letter);
  for (size_t k = 0; k < markCount; ++k) {
    const char32_t composed = ComposeLetter(letter, AnselToUnicode(marks[k]));
    if (composed == 0) continue;
    letter = composed;
    const int byte = Cp1252FromUnicode(letter);
    if (byte >= 0) best = byte;
  }
  out.push_back(best < 0 ? '?' : static_cast<char>(best));
}

void DecodeAnselToUnicode(std::string_view bytes, std::u32string& out) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const size_t size = bytes.size();
  size_t i = 0;
  while (i < size) {
    if (!IsAnselDiacritic(p[i])) {
      out.push_back(AnselCharacter(p[i++]));
      continue;
    }
    const size_t marksBegin = i;
    i = SkipDiacritics(p, size, i);
    if (i == size || EndsLine(p[i])) continue;
    AppendAnselLetterUnicode(p + marksBegin, i - marksBegin, AnselCharacter(p[i]), out);
    ++i;
  }
}

void DecodeAnselToCp1252(std::string_view bytes, std::string& out) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const size_t size = bytes.size();
  size_t i = 0;
  while (i < size) {
    const size_t run = AsciiRunLength(bytes.data() + i, size - i);
    out.append(bytes.data() + i, run);
    i += run;
    if (i == size) break;
    if (!IsAnselDiacritic(p[i])) {
      AppendCp1252(AnselCharacter(p[i++]), out);
      continue;
    }
    const size_t marksBegin = i;
    i = SkipDiacritics(p, size, i);
    if (i == size || EndsLine(p[i])) continue;
    AppendAnselLetterCp1252(p + marksBegin, i - marksBegin, AnselCharacter(p[i]), out);
    ++i;
  }
}

bool IsAnselMark(char32_t codePoint) { return AnselFromUnicode(codePoint) >= 0xE0; }

// Writes the letter at `text[i]` with the combining marks that follow it and
// returns the position after them. ANSEL writes the marks first: those of a
// precomposed letter in Unicode order, then the ones that followed it; a
// following mark ANSEL lacks is a "?" after the letter. A letter ANSEL
// cannot hold is one "?" with all its marks.
size_t EncodeAnselLetter(std::u32string_view text, size_t i, std::string& out) {
  constexpr size_t kMaxDepth = 8;
  char32_t ownMarks[kMaxDepth];  // innermost last
  size_t ownCount = 0;
  char32_t base = text[i];
  char32_t nextBase, mark;
  while (AnselFromUnicode(base) < 0 && ownCount < kMaxDepth &&
         DecomposeLetter(base, &nextBase, &mark)) {
    ownMarks[ownCount++] = mark;
    base = nextBase;
  }
  size_t end = i + 1;
  while (end < text.size() && IsCombiningMark(text[end])) ++end;

  const int baseByte = AnselFromUnicode(base);
  bool encodable = baseByte >= 0 && baseByte < 0xE0;
  for (size_t k = 0; k < ownCount; ++k) encodable = encodable && IsAnselMark(ownMarks[k]);
  if (!encodable) {
    out.push_back('?');
    return end;
  }
  for (size_t k = ownCount; k > 0; --k) {
    out.push_back(static_cast<char>(AnselFromUnicode(ownMarks[k - 1])));
  }
  for (size_t k = i + 1; k < end; ++k) {
    if (IsAnselMark(text[k])) out.push_back(static_cast<char>(AnselFromUnicode(text[k])));
  }
  out.push_back(static_cast<char>(baseByte));
  for (size_t k = i + 1; k < end; ++k) {
    if (!IsAnselMark(text[k])) out.push_back('?');
  }
  return end;
}

void EncodeAnsel(std::u32string_view text, std::string& out) {
  size_t i = 0;
  while (i < text.size()) {
    const char32_t codePoint = text[i];
    const bool marksFollow = i + 1 < text.size() && IsCombiningMark(text[i + 1]);
    if (IsCombiningMark(codePoint)) {
      out.push_back('?');  // a mark with no letter before it
      ++i;
    } else if (codePoint < 0x80 && !marksFollow) {
      out.push_back(static_cast<char>(codePoint));
      ++i;
    } else {
      i = EncodeAnselLetter(text, i, out);
    }
  }
}

}  // namespace

// ---------------------------------------------------------------------------
// Windows-1252.

char32_t UnicodeFromCp1252(unsigned char byte) {
  if (byte >= 0x80 && byte <= 0x9F) return kCp1252Row8[byte - 0x80];
  return byte;
}

int Cp1252FromUnicode(char32_t codePoint) {
  if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF)) {
    return static_cast<int>(codePoint);
  }
  for (int k = 0; k < 32; ++k) {
    if (kCp1252Row8[k] == codePoint) return 0x80 + k;
  }
  return -1;
}

// ---------------------------------------------------------------------------
// The entry points.

void DecodeToUnicode(InputEncoding encoding, std::string_view bytes, std::u32string& out) {
  switch (encoding) {
    case kEncodingAnsel:
      DecodeAnselToUnicode(bytes, out);
      return;
    case kEncodingUtf8:
      DecodeUtf8ToUnicode(bytes, out);
      return;
    case kEncodingUtf16Le:
    case kEncodingUtf16Be:
      DecodeUtf16ToUnicode(bytes, encoding == kEncodingUtf16Be, out);
      return;
    case kEncodingPlain:
      break;
  }
  for (char byte : bytes) out.push_back(UnicodeFromCp1252(static_cast<unsigned char>(byte)));
}

void EncodeFromUnicode(InputEncoding encoding, std::u32string_view text, std::string& out) {
  switch (encoding) {
    case kEncodingAnsel:
      EncodeAnsel(text, out);
      return;
    case kEncodingUtf8:
      for (char32_t codePoint : text) EncodeUtf8(codePoint, out);
      return;
    case kEncodingUtf16Le:
    case kEncodingUtf16Be:
      for (char32_t codePoint : text) EncodeUtf16(codePoint, encoding == kEncodingUtf16Be, out);
      return;
    case kEncodingPlain:
      break;
  }
  for (char32_t codePoint : text) AppendCp1252(codePoint, out);
}

void DecodeToCp1252(InputEncoding encoding, std::string_view bytes, std::string& out) {
  switch (encoding) {
    case kEncodingAnsel:
      DecodeAnselToCp1252(bytes, out);
      return;
    case kEncodingUtf8:
      DecodeUtf8ToCp1252(bytes, out);
      return;
    case kEncodingUtf16Le:
    case kEncodingUtf16Be:
      DecodeUtf16ToCp1252(bytes, encoding == kEncodingUtf16Be, out);
      return;
    case kEncodingPlain:
      break;
  }
  out.append(bytes);
}

}  // namespace kw
