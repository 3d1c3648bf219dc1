#include "import/import.h"

#include "check/checks.h"
#include "import/parser.h"
#include "ui/load.h"

namespace kw {

int ImportSlot(Store& store, MergeLog& log, Reporter& reporter, int slot, LineInput& input,
               int64_t fileSize, ParseResult* counts) {
  ParseResult parsed = ParseGedcom(store, reporter, slot, input, fileSize);
  if (counts != nullptr) *counts = parsed;
  InputSlot& s = store.slots[slot];
  std::string path = DisplayPath(s.filePath);
  log.Write("\n%s\n%d Personen %d Familien\n", path.c_str(), s.personCount, s.familyCount);
  log.Write("\r\n%d Zeilen ohne Stufennummer \xFC" "bersprungen\r\n", parsed.skippedLines);
  int corrections = CheckSlot(store, log, slot);
  log.Write("\r\n%d Fehler automatisch korrigiert!\r\n", corrections);
  return 1;
}

}  // namespace kw
