#include "run/load.h"

#include "base/display_path.h"
#include "base/input_file.h"
#include "check/checks.h"
#include "import/parser.h"

namespace kw {

namespace {

bool HasGedExtension(const std::string& baseName) {
  return baseName.find(".ged") != std::string::npos || baseName.find(".GED") != std::string::npos;
}

// Reads the file into the slot, logs its summary, runs the checks and logs
// the sum of their corrections. A limit message of the parser ends the
// reading; the summary and the checks follow with what was read.
ParseResult ImportSlot(Store& store, MergeLog& log, Reporter& reporter, int slot) {
  ParseResult parsed = ParseGedcom(store, reporter, slot);
  InputSlot& s = store.slots[slot];
  std::string path = DisplayPath(s.filePath);
  log.Write("\n%s\n%d Personen %d Familien\n", path.c_str(), s.personCount, s.familyCount);
  log.Write("\r\n%d Zeilen ohne Stufennummer \xFC" "bersprungen\r\n", parsed.skippedLines);
  // The report lists the findings as the log has them.
  LoadEntry& entry = store.provenance.load(slot);
  entry = LoadEntry{true, s.personCount, s.familyCount, 0, s.encoding, {}};
  log.Capture(&entry.findings);
  int corrections = CheckSlot(store, log, slot);
  log.Capture(nullptr);
  entry.corrections = corrections;
  log.Write("\r\n%d Fehler automatisch korrigiert!\r\n", corrections);
  return parsed;
}

LoadResult Load(Store& store, MergeLog& log, Reporter& reporter, int slot,
                const std::string& path) {
  InputSlot& s = store.slots[slot];
  s.filePath = path;
  store.provenance.StartLoad(slot);
  std::string shownPath = DisplayPath(path);
  std::string baseName = DisplayPath(BaseName(path));

  std::string bytes;
  if (!ReadWholeFile(path, bytes)) {
    ShowError(reporter, "kann %s nicht \xF6" "ffnen", shownPath.c_str());
    return LoadResult::kRefused;
  }
  reporter.ShowInputPath(slot, shownPath);
  if (!HasGedExtension(baseName)) {
    ShowError(reporter, "\r\nDateierweiterung .ged fehlt in %s", baseName.c_str());
    return LoadResult::kRefused;
  }
  if (store.pool.fill() <= 1) store.pool.Clear();
  s.bytes = std::move(bytes);

  reporter.CreateProgress();
  ShowStatus(reporter, 0, "Lade %s ...", baseName.c_str());
  ParseResult parsed = ImportSlot(store, log, reporter, slot);
  reporter.DestroyProgress();
  // An empty file, a picture or a text of another format: say so rather
  // than merge nothing in silence.
  if (parsed.gedcomRecords == 0) {
    ShowError(reporter, "\r\n%s enth\xE4lt keine GEDCOM-Daten", baseName.c_str());
    return LoadResult::kNoGedcomData;
  }
  ShowStatus(reporter, 0, "%s geladen", baseName.c_str());
  return LoadResult::kLoaded;
}

}  // namespace

LoadResult LoadSlot(Store& store, MergeLog& log, Reporter& reporter, int slot,
                    const std::string& path) {
  LoadResult result = Load(store, log, reporter, slot, path);
  if (slot == 0) HandOverCounters(store);
  return result;
}

}  // namespace kw
