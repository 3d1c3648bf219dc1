// Temporary folders and whole-file reads and writes for tests. A merge
// writes beside input file 1, so every test that loads a file works on its
// own copy in a fresh temporary folder.
#ifndef KINWEAVE_TESTS_SUPPORT_TEST_FILES_H_
#define KINWEAVE_TESTS_SUPPORT_TEST_FILES_H_

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

namespace kw::test {

class TempDir {
 public:
  TempDir() {
    std::random_device random;
    path_ = std::filesystem::temp_directory_path() /
            ("kinweave-test-" + std::to_string(random()) + "-" + std::to_string(random()));
    std::filesystem::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  std::string File(const std::string& name) const { return (path_ / name).string(); }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

inline void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline std::string RealTestFile(const std::string& name) {
  return std::string(KINWEAVE_REAL_TESTDATA) + "/" + name;
}

// Copies the demo pair of examples/ into `dir` under the given names (or
// their own); the copies' paths. A copy replaces a file of its name.
struct ExampleCopies {
  std::string one, two;
};
inline ExampleCopies CopyExamples(const TempDir& dir, const std::string& first = "datei1.ged",
                                  const std::string& second = "datei2.ged") {
  ExampleCopies copies{dir.File(first), dir.File(second)};
  const auto replace = std::filesystem::copy_options::overwrite_existing;
  std::filesystem::copy_file(std::string(KINWEAVE_EXAMPLES) + "/datei1.ged", copies.one, replace);
  std::filesystem::copy_file(std::string(KINWEAVE_EXAMPLES) + "/datei2.ged", copies.two, replace);
  return copies;
}

// ASCII text as UTF-16 in either byte order.
inline std::string Utf16(const std::string& ascii, bool bigEndian) {
  std::string out;
  for (char c : ascii) out += bigEndian ? std::string{'\0', c} : std::string{c, '\0'};
  return out;
}

inline bool RealTestDataPresent() {
  return std::filesystem::is_directory(KINWEAVE_REAL_TESTDATA);
}

}  // namespace kw::test

#endif  // KINWEAVE_TESTS_SUPPORT_TEST_FILES_H_
