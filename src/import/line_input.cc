#include "import/line_input.h"

#include <algorithm>

namespace kw {

EncodingProbe LineInput::Probe() {
  EncodingProbe probe = ProbeEncoding(reader_.bytes());
  reader_.Seek(probe.markBytes);
  reader_.set_encoding(probe.encoding);
  return probe;
}

bool LineInput::ReadLine(InputEncoding encoding, std::string& line) {
  line.clear();
  if (pendingNext_ < pending_.size()) {
    size_t take = std::min(pending_.size() - pendingNext_, static_cast<size_t>(kMaxLineBytes));
    line.assign(pending_, pendingNext_, take);
    pendingNext_ += take;
    return true;
  }
  reader_.set_encoding(encoding);
  std::string_view raw;
  if (!reader_.Next(raw)) return false;
  if (encoding == kEncodingPlain) {
    line.assign(raw);  // plain bytes are stored as they are
  } else {
    DecodeToCp1252(encoding, raw, line);
  }
  if (line.size() <= static_cast<size_t>(kMaxLineBytes)) return true;
  pending_.swap(line);
  pendingNext_ = kMaxLineBytes;
  line.assign(pending_, 0, kMaxLineBytes);
  return true;
}

}  // namespace kw
