#include "import/line_input.h"

#include <algorithm>

namespace kw {

EncodingProbe LineInput::Probe() {
  EncodingProbe probe = ProbeEncoding(reader_.bytes());
  reader_.Seek(probe.markBytes);
  reader_.set_encoding(probe.encoding);
  return probe;
}

bool LineInput::ReadLine(InputEncoding encoding, std::string_view& line) {
  if (pendingNext_ < pending_.size()) {
    size_t take = std::min(pending_.size() - pendingNext_, static_cast<size_t>(kMaxLineBytes));
    line = std::string_view(pending_).substr(pendingNext_, take);
    pendingNext_ += take;
    return true;
  }
  reader_.set_encoding(encoding);
  std::string_view raw;
  if (!reader_.Next(raw)) return false;
  // Plain bytes, and ASCII lines of the other byte encodings, read as they
  // stand.
  line = ScanText(encoding, raw, decoded_);
  if (line.size() <= static_cast<size_t>(kMaxLineBytes)) return true;
  pending_.assign(line);
  pendingNext_ = kMaxLineBytes;
  line = std::string_view(pending_).substr(0, kMaxLineBytes);
  return true;
}

bool LineInput::ReadScannedLine(InputEncoding encoding, std::string_view& visible,
                                ScannedLine& scanned) {
  if (pendingNext_ >= pending_.size()) {
    reader_.set_encoding(encoding);
    if (reader_.NextShort(visible, scanned)) return true;
  }
  if (!ReadLine(encoding, visible)) return false;
  visible = visible.substr(0, visible.find('\0'));
  scanned = ScanLine(visible);
  return true;
}

}  // namespace kw
