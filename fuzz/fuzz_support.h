// What the fuzz targets share: a check that stops the run with a message
// when a property the code must keep is broken, the split of one fuzz input
// into two files, and the per-process folder the file-writing targets work
// in.
#ifndef KINWEAVE_FUZZ_FUZZ_SUPPORT_H_
#define KINWEAVE_FUZZ_FUZZ_SUPPORT_H_

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <system_error>

// A broken property is a finding like a crash: libFuzzer keeps the input
// that led to it.
#define FUZZ_CHECK(condition)                                                          \
  do {                                                                                 \
    if (!(condition)) {                                                                \
      std::fprintf(stderr, "%s:%d: property broken: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                    \
    }                                                                                  \
  } while (false)

namespace kw::fuzz {

inline std::string_view Bytes(const uint8_t* data, size_t size) {
  return std::string_view(reinterpret_cast<const char*>(data), size);
}

// Two inputs from one: the bytes before and after the first run of four
// 0xFF bytes (which no GEDCOM text needs), or else the two halves. Any byte
// may stand in either part, byte-order marks and UTF-16 included.
struct TwoParts {
  std::string_view first;
  std::string_view second;
};

inline TwoParts SplitInTwo(std::string_view bytes) {
  constexpr std::string_view kSeparator = "\xFF\xFF\xFF\xFF";
  size_t at = bytes.find(kSeparator);
  if (at != std::string_view::npos) {
    return {bytes.substr(0, at), bytes.substr(at + kSeparator.size())};
  }
  return {bytes.substr(0, bytes.size() / 2), bytes.substr(bytes.size() / 2)};
}

inline void WriteWholeFile(const std::string& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// A folder of this process in the temporary folder ($TMPDIR, /tmp by
// default; scripts/fuzz.sh points it at /dev/shm), made empty for each
// input and removed after it: every input starts from the same state, and
// what a run leaves behind can be listed.
class ProcessFolder {
 public:
  ProcessFolder()
      : path_(std::filesystem::temp_directory_path() /
              ("kinweave-fuzz-" + std::to_string(getpid()))) {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
    std::filesystem::create_directories(path_);
  }
  ~ProcessFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  ProcessFolder(const ProcessFolder&) = delete;
  ProcessFolder& operator=(const ProcessFolder&) = delete;

  std::string File(const std::string& name) const { return (path_ / name).string(); }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace kw::fuzz

#endif  // KINWEAVE_FUZZ_FUZZ_SUPPORT_H_
