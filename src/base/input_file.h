// Reading an input file whole. The tool reads each input once, into memory:
// the import and the export both walk those bytes, and the file on disk is
// never opened for writing.
#ifndef KINWEAVE_BASE_INPUT_FILE_H_
#define KINWEAVE_BASE_INPUT_FILE_H_

#include <string>

namespace kw {

// Reads the whole file at `path` into `bytes`. False when it cannot be
// opened, is a directory, or cannot be read to its end (errno tells why);
// `bytes` is then empty.
bool ReadWholeFile(const std::string& path, std::string& bytes);

}  // namespace kw

#endif  // KINWEAVE_BASE_INPUT_FILE_H_
