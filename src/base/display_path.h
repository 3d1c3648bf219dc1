// Paths as the tool shows them. Paths arrive as the system's bytes (UTF-8
// here); messages, the status line and the log are Windows-1252 text.
#ifndef KINWEAVE_BASE_DISPLAY_PATH_H_
#define KINWEAVE_BASE_DISPLAY_PATH_H_

#include <string>

namespace kw {

// A native path as Windows-1252 text for messages and the log; characters
// Windows-1252 lacks become "?".
std::string DisplayPath(const std::string& path);

// The part of a path after its last "/" (the whole path when it has none).
std::string BaseName(const std::string& path);

}  // namespace kw

#endif  // KINWEAVE_BASE_DISPLAY_PATH_H_
