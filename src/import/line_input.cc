#include "import/line_input.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "base/codec.h"

namespace kw {

namespace {
constexpr size_t kBufferSize = 1 << 20;

bool IsLineEndUnit(unsigned unit) { return unit == '\n' || unit == '\r'; }
}  // namespace

// The start of a file decides between the byte-oriented encodings (which a
// CHAR line may still choose among) and UTF-16, which no CHAR line can undo
// once a mark or a UTF-16 "0" of "0 HEAD" has shown it.
EncodingProbe ProbeEncoding(const unsigned char* bytes, size_t count) {
  EncodingProbe probe;
  if (count >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) {
    return {kEncodingUtf8, true, 3};
  }
  if (count >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) return {kEncodingUtf16Le, true, 2};
  if (count >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF) return {kEncodingUtf16Be, true, 2};
  if (count >= 2 && bytes[0] == 0x30 && bytes[1] == 0x00) return {kEncodingUtf16Le, true, 0};
  if (count >= 2 && bytes[0] == 0x00 && bytes[1] == 0x30) return {kEncodingUtf16Be, true, 0};
  return probe;  // plain from the first byte, also after an incomplete mark
}

LineInput::~LineInput() { Close(); }

bool LineInput::Open(const std::string& path) {
  Close();
  struct stat info;
  if (stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
    errno = EISDIR;
    return false;
  }
  file_ = std::fopen(path.c_str(), "rb");
  if (file_ == nullptr) return false;
  bufferFill_ = bufferNext_ = 0;
  position_ = 0;
  pending_.clear();
  pendingNext_ = 0;
  wholeFile_ = ReadWholeFile();
  if (!wholeFile_) buffer_.reset(new unsigned char[kBufferSize]);
  return true;
}

// A regular file is read into memory in one go: the import passes over it
// twice (numbering, then reading), and a seek is then free.
bool LineInput::ReadWholeFile() {
  struct stat info;
  if (fstat(fileno(file_), &info) != 0 || !S_ISREG(info.st_mode)) return false;
  size_t size = static_cast<size_t>(info.st_size);
  buffer_.reset(new unsigned char[size + 1]);
  size_t got = 0;
  while (got < size) {
    size_t n = std::fread(buffer_.get() + got, 1, size - got, file_);
    if (n == 0) break;
    got += n;
  }
  bufferFill_ = got;
  return true;
}

void LineInput::Close() {
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
}

int64_t LineInput::Size() {
  if (file_ == nullptr) return 0;
  if (wholeFile_) return static_cast<int64_t>(bufferFill_);
  if (fseeko(file_, 0, SEEK_END) != 0) return 0;
  int64_t size = ftello(file_);
  Seek(0);
  return size < 0 ? 0 : size;
}

bool LineInput::Seek(int64_t offset) {
  if (file_ == nullptr || offset < 0) return false;
  pending_.clear();
  pendingNext_ = 0;
  if (wholeFile_) {
    if (static_cast<size_t>(offset) > bufferFill_) return false;
    bufferNext_ = static_cast<size_t>(offset);
    position_ = offset;
    return true;
  }
  if (fseeko(file_, offset, SEEK_SET) != 0) return false;
  bufferFill_ = bufferNext_ = 0;
  position_ = offset;
  return true;
}

// Makes at least `count` unread bytes available in the buffer, moving the
// unread tail to the front when needed. False when the file ends before.
bool LineInput::Ensure(size_t count) {
  if (bufferFill_ - bufferNext_ >= count) return true;
  if (wholeFile_) return false;
  size_t tail = bufferFill_ - bufferNext_;
  std::memmove(buffer_.get(), buffer_.get() + bufferNext_, tail);
  bufferNext_ = 0;
  bufferFill_ = tail;
  while (bufferFill_ < count) {
    size_t got = std::fread(buffer_.get() + bufferFill_, 1, kBufferSize - bufferFill_, file_);
    if (got == 0) return false;
    bufferFill_ += got;
  }
  return true;
}

int LineInput::NextByte() {
  if (!Ensure(1)) return -1;
  ++position_;
  return buffer_[bufferNext_++];
}

int LineInput::PeekByte() { return Ensure(1) ? buffer_[bufferNext_] : -1; }

EncodingProbe LineInput::Probe() {
  Ensure(3);
  size_t count = std::min<size_t>(3, bufferFill_ - bufferNext_);
  EncodingProbe probe = ProbeEncoding(buffer_.get() + bufferNext_, count);
  for (int i = 0; i < probe.markBytes; ++i) NextByte();
  return probe;
}

// A raw line runs up to and including its line end: LF, CR, CR LF or LF CR.
// The last line of a file is returned even without a line end.
bool LineInput::ReadRawLine(InputEncoding encoding, std::string& raw) {
  raw.clear();
  if (file_ == nullptr) return false;
  if (encoding == kEncodingUtf16Le || encoding == kEncodingUtf16Be) {
    return ReadRawUtf16Line(encoding == kEncodingUtf16Le, raw);
  }
  for (;;) {
    if (!Ensure(1)) break;
    const unsigned char* begin = buffer_.get() + bufferNext_;
    const unsigned char* end = buffer_.get() + bufferFill_;
    // The first LF, then a CR before it if there is one: both searches are
    // the library's fast memchr, and a line is usually short.
    const unsigned char* p =
        static_cast<const unsigned char*>(std::memchr(begin, '\n', end - begin));
    if (p == nullptr) p = end;
    const void* cr = std::memchr(begin, '\r', p - begin);
    if (cr != nullptr) p = static_cast<const unsigned char*>(cr);
    raw.append(reinterpret_cast<const char*>(begin), static_cast<size_t>(p - begin));
    position_ += p - begin;
    bufferNext_ += static_cast<size_t>(p - begin);
    if (p == end) continue;
    int unit = NextByte();
    raw.push_back(static_cast<char>(unit));
    int partner = unit == '\r' ? '\n' : '\r';
    if (PeekByte() == partner) raw.push_back(static_cast<char>(NextByte()));
    return true;
  }
  return !raw.empty();
}

unsigned LineInput::PeekUnit(bool little) {
  if (!Ensure(2)) return 0x10000;  // no whole unit left
  unsigned first = buffer_[bufferNext_];
  unsigned second = buffer_[bufferNext_ + 1];
  return little ? (first | (second << 8)) : ((first << 8) | second);
}

bool LineInput::ReadRawUtf16Line(bool little, std::string& raw) {
  for (;;) {
    unsigned unit = PeekUnit(little);
    if (unit > 0xFFFF) break;
    raw.push_back(static_cast<char>(NextByte()));
    raw.push_back(static_cast<char>(NextByte()));
    if (!IsLineEndUnit(unit)) continue;
    unsigned partner = unit == '\r' ? '\n' : '\r';
    if (PeekUnit(little) == partner) {
      raw.push_back(static_cast<char>(NextByte()));
      raw.push_back(static_cast<char>(NextByte()));
    }
    return true;
  }
  // An odd last byte still belongs to the last line.
  int odd = NextByte();
  if (odd >= 0) raw.push_back(static_cast<char>(odd));
  return !raw.empty();
}

// Passes over one line of a byte-oriented file without copying it.
bool LineInput::SkipRawLine() {
  for (;;) {
    if (!Ensure(1)) return false;
    const unsigned char* begin = buffer_.get() + bufferNext_;
    const unsigned char* end = buffer_.get() + bufferFill_;
    const unsigned char* p =
        static_cast<const unsigned char*>(std::memchr(begin, '\n', end - begin));
    if (p == nullptr) p = end;
    const void* cr = std::memchr(begin, '\r', p - begin);
    if (cr != nullptr) p = static_cast<const unsigned char*>(cr);
    position_ += p - begin;
    bufferNext_ += static_cast<size_t>(p - begin);
    if (p == end) continue;
    int unit = NextByte();
    int partner = unit == '\r' ? '\n' : '\r';
    if (PeekByte() == partner) NextByte();
    return true;
  }
}

bool LineInput::ReadLevelZeroLine(InputEncoding encoding, std::string& line) {
  if (encoding == kEncodingUtf16Le || encoding == kEncodingUtf16Be) {
    while (ReadLine(encoding, line)) {
      size_t p = line.find_first_not_of(" \t");
      if (p != std::string::npos && line[p] == '0' && p + 1 < line.size() &&
          (line[p + 1] == ' ' || line[p + 1] == '\t')) {
        return true;
      }
    }
    return false;
  }
  pending_.clear();
  pendingNext_ = 0;
  for (;;) {
    // Two bytes after any blanks decide; a line start at the buffer's end
    // is simply read whole.
    if (!Ensure(1)) return false;
    size_t at = bufferNext_;
    while (at < bufferFill_ && (buffer_[at] == ' ' || buffer_[at] == '\t')) ++at;
    bool levelZero = at + 1 < bufferFill_ && buffer_[at] == '0' &&
                     (buffer_[at + 1] == ' ' || buffer_[at + 1] == '\t');
    if (levelZero || at + 1 >= bufferFill_) {
      if (!ReadRawLine(encoding, raw_)) return false;
      line.swap(raw_);
      size_t p = line.find_first_not_of(" \t");
      if (p != std::string::npos && line[p] == '0' && p + 1 < line.size() &&
          (line[p + 1] == ' ' || line[p + 1] == '\t')) {
        return true;
      }
      continue;
    }
    if (!SkipRawLine()) return false;
  }
}

bool LineInput::ReadLine(InputEncoding encoding, std::string& line) {
  line.clear();
  if (pendingNext_ < pending_.size()) {
    size_t take = std::min(pending_.size() - pendingNext_, static_cast<size_t>(kMaxLineBytes));
    line.assign(pending_, pendingNext_, take);
    pendingNext_ += take;
    return true;
  }
  if (!ReadRawLine(encoding, raw_)) return false;
  if (encoding == kEncodingPlain) {
    line.swap(raw_);  // plain bytes are stored as they are
  } else {
    DecodeToCp1252(encoding, raw_, line);
  }
  if (line.size() <= static_cast<size_t>(kMaxLineBytes)) return true;
  pending_.swap(line);
  pendingNext_ = kMaxLineBytes;
  line.assign(pending_, 0, kMaxLineBytes);
  return true;
}

}  // namespace kw
