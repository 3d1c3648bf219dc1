#include "base/display_path.h"

#include "base/codec.h"

namespace kw {

std::string DisplayPath(const std::string& path) {
  std::string text;
  DecodeToCp1252(kEncodingUtf8, path, text);
  return text;
}

std::string BaseName(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace kw
