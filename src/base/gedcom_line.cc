#include "base/gedcom_line.h"

#include <algorithm>
#include <climits>
#include <cstring>

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

// The first LF, then a CR before it if there is one: both searches are the
// library's fast memchr, and a line is usually short. They look at windows
// that double in size, so a file without LF (CR line ends only) is not
// searched to its end for every line.
size_t ByteLineLength(std::string_view bytes, size_t start) {
  const char* data = bytes.data();
  const size_t size = bytes.size();
  size_t stop = size;
  for (size_t from = start, window = 128; from < size; from += window, window *= 2) {
    const size_t length = std::min(window, size - from);
    const char* lf = static_cast<const char*>(std::memchr(data + from, '\n', length));
    const size_t end = lf != nullptr ? static_cast<size_t>(lf - data) : from + length;
    const char* cr = static_cast<const char*>(std::memchr(data + from, '\r', end - from));
    if (cr != nullptr || lf != nullptr) {
      stop = cr != nullptr ? static_cast<size_t>(cr - data) : end;
      break;
    }
  }
  if (stop == size) return size - start;
  char partner = data[stop] == '\r' ? '\n' : '\r';
  ++stop;
  if (stop < size && data[stop] == partner) ++stop;
  return stop - start;
}

}  // namespace

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

ScannedLine ScanLine(std::string_view text) {
  ScannedLine line;
  size_t i = 0;
  const size_t n = text.size();
  while (i < n && IsGedcomSpace(text[i])) ++i;
  size_t numberStart = i;
  if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
  if (i >= n || text[i] < '0' || text[i] > '9') return line;
  ScanNumber(text.substr(numberStart), &line.level);
  line.hasLevel = true;
  while (i < n && text[i] >= '0' && text[i] <= '9') ++i;
  line.levelFollowedBySpace = i >= n || IsGedcomSpace(text[i]);
  auto token = [&](std::string_view& out) {
    while (i < n && IsGedcomSpace(text[i])) ++i;
    size_t start = i;
    while (i < n && !IsGedcomSpace(text[i])) ++i;
    out = text.substr(start, i - start);
  };
  token(line.token2);
  size_t value = i < n && (text[i] == ' ' || text[i] == '\t') ? i + 1 : i;
  line.value = text.substr(value);
  token(line.token3);
  return line;
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
