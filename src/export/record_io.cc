#include "export/record_io.h"

#include <charconv>
#include <cstdarg>
#include <cstring>

#include "base/codec.h"

namespace kw {

namespace {

constexpr size_t kSpillBytes = 1 << 20;

// Windows-1252 text in encoding `to`.
void AppendText(std::string& out, std::string_view cp1252, InputEncoding to,
                std::u32string& scratch) {
  if (to == kEncodingPlain || (!IsUtf16(to) && IsAscii(cp1252))) {
    out.append(cp1252);
    return;
  }
  scratch.clear();
  DecodeToUnicode(kEncodingPlain, cp1252, scratch);
  EncodeFromUnicode(to, scratch, out);
}

void AppendCopy(std::string& out, std::string_view raw, InputEncoding from, InputEncoding to,
                std::u32string& scratch) {
  if (from == to) {
    // The odd last byte of a UTF-16 file cut short is no whole unit: copied,
    // it would shift every unit written after it. It becomes U+FFFD, as it
    // does when transcoded.
    if (IsUtf16(from) && raw.size() % 2 != 0) {
      out.append(raw.substr(0, raw.size() - 1));
      EncodeFromUnicode(to, U"\uFFFD", out);
      return;
    }
    out.append(raw);
    return;
  }
  scratch.clear();
  DecodeToUnicode(from, raw, scratch);
  EncodeFromUnicode(to, scratch, out);
}

}  // namespace

void AppendLineCopy(std::string& out, std::string_view raw, InputEncoding from, InputEncoding to,
                    std::u32string& scratch) {
  AppendCopy(out, raw, from, to, scratch);
  if (!HasLineEnd(raw, from)) AppendText(out, "\n", to, scratch);
}

bool InputText::ReadScannedLine(std::string_view& raw, std::string_view& scan, ScannedLine& line,
                                std::string& storage) {
  if (reader_.NextShort(raw, line)) {
    scan = raw;
    return true;
  }
  if (!reader_.Next(raw)) return false;
  scan = ScanText(encoding(), raw, storage);
  line = ScanLine(scan);
  return true;
}

void SkipRecord(InputText& input) {
  std::string storage;
  std::string_view raw;
  std::string_view scan;
  ScannedLine line;
  for (;;) {
    int64_t start = input.position();
    if (!input.ReadScannedLine(raw, scan, line, storage)) return;
    if (line.hasLevel && line.level == 0) {
      input.Seek(start);
      return;
    }
  }
}

// ---------------------------------------------------------------------------
// Output

GedcomOutput::~GedcomOutput() = default;

bool GedcomOutput::Open(const std::string& path, InputEncoding encoding) {
  encoding_ = encoding;
  buffer_.clear();
  return file_.Open(path);
}

void GedcomOutput::WriteBytes(std::string_view bytes) {
  buffer_.append(bytes.data(), bytes.size());
  if (buffer_.size() >= kSpillBytes) Spill();
}

void GedcomOutput::WriteCopy(std::string_view raw, InputEncoding from) {
  AppendCopy(buffer_, raw, from, encoding_, unicode_);
  if (buffer_.size() >= kSpillBytes) Spill();
}

void GedcomOutput::WriteLineCopy(std::string_view raw, InputEncoding from) {
  AppendLineCopy(buffer_, raw, from, encoding_, unicode_);
  if (buffer_.size() >= kSpillBytes) Spill();
}

void GedcomOutput::WriteLineText(std::string_view cp1252) {
  WriteText(cp1252);
  if (!HasLineEnd(cp1252, kEncodingPlain)) WriteText("\n");
}

void GedcomOutput::WriteLink(std::string_view head, std::string_view ref) {
  line_.assign(head).append(ref).push_back('\n');
  WriteText(line_);
}

void GedcomOutput::WriteRecordHead(std::string_view xref, std::string_view type) {
  line_.assign("0 ").append(xref).append(" ").append(type).push_back('\n');
  WriteText(line_);
}

void GedcomOutput::WriteNumberedLink(int level, std::string_view tag, char letter, int number) {
  char digits[16];
  line_.assign(digits, std::to_chars(digits, digits + sizeof digits, level).ptr);
  line_.append(" ").append(tag).append(" @").push_back(letter);
  line_.append(digits, std::to_chars(digits, digits + sizeof digits, number).ptr);
  line_.append("@\n");
  WriteText(line_);
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
  AppendText(buffer_, cp1252, encoding_, unicode_);
  if (buffer_.size() >= kSpillBytes) Spill();
}

void GedcomOutput::Spill() {
  file_.Write(buffer_);
  buffer_.clear();
}

bool GedcomOutput::Commit() {
  Spill();
  return file_.Commit();
}

}  // namespace kw
