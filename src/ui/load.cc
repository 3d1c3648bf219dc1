#include "ui/load.h"

#include <cerrno>

#include "import/codec.h"
#include "import/import.h"
#include "import/line_input.h"

namespace kw {

namespace {

std::string BaseName(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool HasGedExtension(const std::string& baseName) {
  return baseName.find(".ged") != std::string::npos || baseName.find(".GED") != std::string::npos;
}

}  // namespace

std::string DisplayPath(const std::string& path) {
  std::string text;
  DecodeToCp1252(kEncodingUtf8, path, text);
  return text;
}

int LoadSlot(Store& store, MergeLog& log, Reporter& reporter, int slot, const std::string& path) {
  InputSlot& s = store.slots[slot];
  s.filePath = path;
  std::string shownPath = DisplayPath(path);
  std::string baseName = DisplayPath(BaseName(path));

  LineInput input;
  if (!input.Open(path)) {
    ShowError(reporter, "kann %s nicht \xF6" "ffnen", shownPath.c_str());
    return 0;
  }
  reporter.ShowInputPath(slot, shownPath);
  if (!HasGedExtension(baseName)) {
    ShowError(reporter, "\r\nDateierweiterung .ged fehlt in %s", baseName.c_str());
    return 0;
  }
  if (store.pool.fill() <= 1) store.pool.Clear();
  int64_t size = input.Size();

  reporter.CreateProgress();
  ShowStatus(reporter, 0, "Lade %s ...", baseName.c_str());
  ParseResult parsed;
  ImportSlot(store, log, reporter, slot, input, size, &parsed);
  reporter.DestroyProgress();
  input.Close();
  // An empty file, a picture or a text of another format: say so rather
  // than merge nothing in silence.
  if (parsed.gedcomRecords == 0) {
    ShowError(reporter, "\r\n%s enth\xE4lt keine GEDCOM-Daten", baseName.c_str());
    return 0;
  }
  ShowStatus(reporter, 0, "%s geladen", baseName.c_str());
  return 1;
}

}  // namespace kw
