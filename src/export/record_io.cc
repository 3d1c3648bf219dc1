#include "export/record_io.h"

#include <climits>
#include <cstdarg>
#include <cstring>

#include "base/codec.h"

namespace kw {

namespace {

constexpr size_t kSpillBytes = 1 << 20;

// White space as "%s" and "%d" skip it: blank, tab, LF, VT, FF, CR.
bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

bool IsUtf16(InputEncoding encoding) {
  return encoding == kEncodingUtf16Le || encoding == kEncodingUtf16Be;
}

bool IsAscii(std::string_view bytes) {
  for (char c : bytes) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

}  // namespace

// ---------------------------------------------------------------------------
// Input

bool InputText::Open(const std::string& path, InputEncoding encoding, int slot) {
  encoding_ = encoding;
  slot_ = slot;
  position_ = 0;
  bytes_.clear();
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return false;
  bool ok = fseeko(file, 0, SEEK_END) == 0;
  int64_t size = ok ? ftello(file) : -1;
  ok = size >= 0 && fseeko(file, 0, SEEK_SET) == 0;
  if (ok) {
    bytes_.resize(static_cast<size_t>(size));
    ok = std::fread(bytes_.data(), 1, bytes_.size(), file) == bytes_.size();
  }
  std::fclose(file);
  if (!ok) bytes_.clear();
  return ok;
}

void InputText::Seek(int64_t offset) {
  if (offset < 0) offset = 0;
  position_ = offset > Size() ? Size() : offset;
}

// A line runs up to and including its line end: LF, CR, CR LF or LF CR.
// The last line of a file is returned even without a line end.
bool InputText::ReadLine(std::string_view& raw) {
  const size_t size = bytes_.size();
  size_t start = static_cast<size_t>(position_);
  if (start >= size) return false;
  const char* data = bytes_.data();
  size_t end = start;
  if (IsUtf16(encoding_)) {
    const bool big = encoding_ == kEncodingUtf16Be;
    auto unit = [&](size_t at) -> unsigned {
      unsigned char a = static_cast<unsigned char>(data[at]);
      unsigned char b = static_cast<unsigned char>(data[at + 1]);
      return big ? (a << 8) | b : a | (b << 8);
    };
    while (end + 1 < size) {
      unsigned u = unit(end);
      end += 2;
      if (u != '\n' && u != '\r') continue;
      unsigned partner = u == '\r' ? '\n' : '\r';
      if (end + 1 < size && unit(end) == partner) end += 2;
      raw = std::string_view(data + start, end - start);
      position_ = static_cast<int64_t>(end);
      return true;
    }
    end = size;  // an odd last byte still belongs to the last line
  } else {
    const char* lf = static_cast<const char*>(std::memchr(data + start, '\n', size - start));
    size_t stop = lf != nullptr ? static_cast<size_t>(lf - data) : size;
    const char* cr = static_cast<const char*>(std::memchr(data + start, '\r', stop - start));
    if (cr != nullptr) stop = static_cast<size_t>(cr - data);
    end = stop;
    if (end < size) {
      char partner = data[end] == '\r' ? '\n' : '\r';
      ++end;
      if (end < size && data[end] == partner) ++end;
    }
  }
  raw = std::string_view(data + start, end - start);
  position_ = static_cast<int64_t>(end);
  return true;
}

// Line contents hold no CR or LF, so the line before `offset` starts after
// the last line-end character before its own line end. The forward reading
// from there must end exactly at `offset`, else there is no such line.
std::string_view InputText::LineBefore(int64_t offset) const {
  if (offset <= 0 || offset > Size()) return {};
  const size_t width = IsUtf16(encoding_) ? 2 : 1;
  const bool big = encoding_ == kEncodingUtf16Be;
  auto isEnd = [&](size_t at) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(bytes_.data()) + at;
    unsigned u = width == 1 ? p[0] : (big ? (p[0] << 8) | p[1] : p[0] | (p[1] << 8));
    return u == '\n' || u == '\r';
  };
  size_t at = static_cast<size_t>(offset);
  if (at % width != 0 || !isEnd(at - width)) return {};
  while (at >= width && isEnd(at - width)) at -= width;
  while (at >= width && !isEnd(at - width)) at -= width;
  InputText probe;
  probe.bytes_ = std::string_view(bytes_).substr(at, static_cast<size_t>(offset) - at);
  probe.encoding_ = encoding_;
  std::string_view line;
  if (!probe.ReadLine(line) || probe.position_ != probe.Size()) return {};
  return std::string_view(bytes_).substr(at, line.size());
}

void SkipRecord(InputText& input) {
  std::string storage;
  std::string_view raw;
  for (;;) {
    int64_t start = input.position();
    if (!input.ReadLine(raw)) return;
    ScannedLine line = ScanLine(ScanText(input.encoding(), raw, storage));
    if (line.hasLevel && line.level == 0) {
      input.Seek(start);
      return;
    }
  }
}

// ---------------------------------------------------------------------------
// Scanning

bool ScanNumber(std::string_view text, int* value) {
  size_t i = 0;
  while (i < text.size() && IsSpace(text[i])) ++i;
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

ScannedLine ScanLine(std::string_view text) {
  ScannedLine line;
  size_t i = 0;
  const size_t n = text.size();
  while (i < n && IsSpace(text[i])) ++i;
  size_t numberStart = i;
  if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
  if (i >= n || text[i] < '0' || text[i] > '9') return line;
  if (!ScanNumber(text.substr(numberStart), &line.level)) return line;
  line.hasLevel = true;
  while (i < n && text[i] >= '0' && text[i] <= '9') ++i;
  line.levelFollowedBySpace = i >= n || IsSpace(text[i]);
  auto token = [&](std::string_view& out) {
    while (i < n && IsSpace(text[i])) ++i;
    size_t start = i;
    while (i < n && !IsSpace(text[i])) ++i;
    out = text.substr(start, i - start);
  };
  token(line.token2);
  token(line.token3);
  return line;
}

std::string_view ScanText(InputEncoding encoding, std::string_view raw, std::string& storage) {
  if (encoding == kEncodingPlain || (!IsUtf16(encoding) && IsAscii(raw))) return raw;
  storage.clear();
  DecodeToCp1252(encoding, raw, storage);
  return storage;
}

// ---------------------------------------------------------------------------
// Output

GedcomOutput::~GedcomOutput() { Close(); }

bool GedcomOutput::Open(const std::string& path, InputEncoding encoding) {
  Close();
  encoding_ = encoding;
  failed_ = false;
  buffer_.clear();
  file_ = std::fopen(path.c_str(), "wb");
  return file_ != nullptr;
}

void GedcomOutput::WriteBytes(std::string_view bytes) {
  buffer_.append(bytes.data(), bytes.size());
  if (buffer_.size() >= kSpillBytes) Spill();
}

void GedcomOutput::WriteCopy(std::string_view raw, InputEncoding from) {
  if (from == encoding_) return WriteBytes(raw);
  unicode_.clear();
  DecodeToUnicode(from, raw, unicode_);
  WriteUnicode(unicode_);
}

void GedcomOutput::WriteLine(const char* format, ...) {
  char small[256];
  va_list args;
  va_start(args, format);
  int length = std::vsnprintf(small, sizeof small, format, args);
  va_end(args);
  if (length < 0) return;
  if (static_cast<size_t>(length) < sizeof small) return WriteText(std::string_view(small, length));
  format_.assign(static_cast<size_t>(length) + 1, '\0');
  va_start(args, format);
  std::vsnprintf(format_.data(), format_.size(), format, args);
  va_end(args);
  format_.resize(static_cast<size_t>(length));
  WriteText(format_);
}

void GedcomOutput::WriteText(std::string_view cp1252) {
  if (encoding_ == kEncodingPlain || (!IsUtf16(encoding_) && IsAscii(cp1252))) {
    return WriteBytes(cp1252);
  }
  unicode_.clear();
  DecodeToUnicode(kEncodingPlain, cp1252, unicode_);
  WriteUnicode(unicode_);
}

void GedcomOutput::WriteUnicode(std::u32string_view text) {
  EncodeFromUnicode(encoding_, text, buffer_);
  if (buffer_.size() >= kSpillBytes) Spill();
}

void GedcomOutput::Spill() {
  if (file_ == nullptr) return;
  if (!buffer_.empty() && std::fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size()) {
    failed_ = true;
  }
  buffer_.clear();
}

bool GedcomOutput::Flush() {
  Spill();
  if (file_ != nullptr && std::fflush(file_) != 0) failed_ = true;
  return !failed_;
}

bool GedcomOutput::Close() {
  if (file_ == nullptr) return !failed_;
  Flush();
  if (std::fclose(file_) != 0) failed_ = true;
  file_ = nullptr;
  return !failed_;
}

}  // namespace kw
