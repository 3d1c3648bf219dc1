#include "run/load.h"

#include <atomic>

#include "base/display_path.h"
#include "base/input_file.h"
#include "base/side_by_side.h"
#include "check/checks.h"
#include "import/parser.h"
#include "match/sort.h"

namespace kw {

namespace {

bool HasGedExtension(const std::string& baseName) {
  return baseName.find(".ged") != std::string::npos || baseName.find(".GED") != std::string::npos;
}

// The reporter of a parse that runs beside another load: nothing reaches
// the screen while it runs; its error boxes wait for their turn.
class DeferringReporter : public Reporter {
 public:
  void ShowStatus(int, std::string_view) override {}
  void ShowError(std::string_view text) override { errors.emplace_back(text); }
  void ShowMessage(std::string_view, std::string_view) override {}
  void CreateProgress() override {}
  void StepProgress() override {}
  void DestroyProgress() override {}
  void Wait(int) override {}

  std::vector<std::string> errors;
};

// A file read and checked for its extension, ready to be parsed.
struct OpenedFile {
  std::string shownPath;
  std::string baseName;
  bool read = false;
  std::string bytes;
};

OpenedFile OpenFile(const std::string& path) {
  OpenedFile file;
  file.shownPath = DisplayPath(path);
  file.baseName = DisplayPath(BaseName(path));
  file.read = ReadWholeFile(path, file.bytes);
  return file;
}

// The refusals before a parse, in the order the user meets them; the path
// shows in its field once the file could be opened.
bool Accept(Reporter& reporter, int slot, const OpenedFile& file) {
  if (!file.read) {
    ShowError(reporter, "kann %s nicht \xF6" "ffnen", file.shownPath.c_str());
    return false;
  }
  reporter.ShowInputPath(slot, file.shownPath);
  if (!HasGedExtension(file.baseName)) {
    ShowError(reporter, "\r\nDateierweiterung .ged fehlt in %s", file.baseName.c_str());
    return false;
  }
  return true;
}

// The checks of a slot run beside another load: their findings, held
// until the load appends them to the log.
struct CheckedSlot {
  int corrections = 0;
  std::string findings;
};

// After the parse: the summary, the checks (or those that ran beside, when
// `checked` holds them) and the sum of their corrections in the log, and
// the verdict on the file.
LoadResult FinishLoad(Store& store, MergeLog& log, Reporter& reporter, int slot,
                      const OpenedFile& file, const ParseResult& parsed,
                      const CheckedSlot* checked = nullptr) {
  InputSlot& s = store.slots[slot];
  log.Write("\n%s\n%d Personen %d Familien\n", file.shownPath.c_str(), s.personCount,
            s.familyCount);
  log.Write("\r\n%d Zeilen ohne Stufennummer \xFC" "bersprungen\r\n", parsed.skippedLines);
  // The report lists the findings as the log has them.
  LoadEntry& entry = store.provenance.load(slot);
  entry = LoadEntry{true, s.personCount, s.familyCount, 0, s.encoding, {}};
  log.Capture(&entry.findings);
  int corrections = 0;
  if (checked != nullptr) {
    log.WriteText(checked->findings);
    corrections = checked->corrections;
  } else {
    corrections = CheckSlot(store, log, slot);
  }
  log.Capture(nullptr);
  entry.corrections = corrections;
  log.Write("\r\n%d Fehler automatisch korrigiert!\r\n", corrections);
  reporter.DestroyProgress();
  // An empty file, a picture or a text of another format: say so rather
  // than merge nothing in silence.
  if (parsed.gedcomRecords == 0) {
    ShowError(reporter, "\r\n%s enth\xE4lt keine GEDCOM-Daten", file.baseName.c_str());
    return LoadResult::kNoGedcomData;
  }
  ShowStatus(reporter, 0, "%s geladen", file.baseName.c_str());
  return LoadResult::kLoaded;
}

LoadResult Load(Store& store, MergeLog& log, Reporter& reporter, int slot,
                const std::string& path) {
  InputSlot& s = store.slots[slot];
  s.filePath = path;
  store.provenance.StartLoad(slot);
  OpenedFile file = OpenFile(path);
  if (!Accept(reporter, slot, file)) {
    // The slot now names the refused file: the records of the file before
    // it must not be merged under that name.
    if (s.prepared()) PrepareSlot(s);
    s.bytes.clear();
    return LoadResult::kRefused;
  }
  s.bytes = std::move(file.bytes);
  reporter.CreateProgress();
  ShowStatus(reporter, 0, "Lade %s ...", file.baseName.c_str());
  ParseResult parsed = ParseGedcom(s, slot, reporter);
  AddRecordPositions(store, parsed, 0, 0);
  return FinishLoad(store, log, reporter, slot, file, parsed);
}

// Input file 2 read, parsed and checked in a store of its own, numbering
// its notes and sources from 1; its slot moves into the real store when
// file 1 is done, and its findings into the log after file 1's.
struct SideLoad {
  OpenedFile file;
  Store own;
  ParseResult result;
  CheckedSlot checked;
  DeferringReporter reporter;
  bool parsed = false;

  InputSlot& slot() { return own.slots[1]; }

  void Run(const std::string& path) {
    file = OpenFile(path);
    slot().filePath = path;
    if (!file.read || !HasGedExtension(file.baseName)) return;
    slot().bytes = std::move(file.bytes);
    result = ParseGedcom(slot(), 1, reporter);
    parsed = true;
    // Input file 2 is numbered in its own order, often far from the order
    // its records link in: its checks wait on memory, and here they wait
    // beside file 1's load instead of after it.
    MergeLog held;
    checked.corrections = CheckSlot(own, held, 1);
    checked.findings = held.TakeHeld();
  }
};

// Whether slot 1 holds nothing an earlier load numbered: only then may its
// notes and sources be numbered before slot 0's are known.
bool Fresh(const InputSlot& slot) {
  return slot.noteSeq.empty() && slot.sourceSeq.empty() && slot.noteCount == 0 &&
         slot.sourceCount == 0 && !slot.prepared();
}

// Slot 1's notes and sources, numbered from 1 by the side load, move up
// behind slot 0's, as if the counters had been handed over before.
void NumberOn(InputSlot& slot, int32_t notes, int32_t sources) {
  for (int32_t& sequence : slot.noteSeq) {
    if (sequence != 0) sequence += notes;
  }
  for (int32_t& sequence : slot.sourceSeq) {
    if (sequence != 0) sequence += sources;
  }
  slot.noteCount += notes;
  slot.sourceCount += sources;
}

}  // namespace

LoadResult LoadSlot(Store& store, MergeLog& log, Reporter& reporter, int slot,
                    const std::string& path) {
  LoadResult result = Load(store, log, reporter, slot, path);
  log.Flush();
  if (slot == 0) HandOverCounters(store);
  return result;
}

LoadResults LoadBothSlots(Store& store, MergeLog& log, Reporter& reporter,
                          const std::string& path1, const std::string& path2) {
  LoadResults results;
  if (!Fresh(store.slots[1])) {
    results.first = LoadSlot(store, log, reporter, 0, path1);
    if (results.first == LoadResult::kLoaded) {
      results.second = LoadSlot(store, log, reporter, 1, path2);
    }
    return results;
  }
  SideLoad side;
  // The file loaded first puts its slot in name order while the other one
  // is still loading, on a core that would wait; the merge pass then sorts
  // the other slot on both cores. Which one is first varies from run to run.
  std::atomic<bool> oneLoaded{false};
  SideBySide(
      true,
      [&] {
        results.first = Load(store, log, reporter, 0, path1);
        log.Flush();
        const bool first = !oneLoaded.exchange(true);
        if (first && results.first == LoadResult::kLoaded) SortAllPersons(store.slots[0], false);
      },
      [&side, &path2, &oneLoaded] {
        side.Run(path2);
        const bool first = !oneLoaded.exchange(true);
        if (first && side.parsed) SortAllPersons(side.slot(), false);
      });
  HandOverCounters(store);
  if (results.first != LoadResult::kLoaded) return results;

  // From here on, what the load of file 2 shows and logs comes in the order
  // a load of its own would give it.
  InputSlot& s = store.slots[1];
  s.filePath = path2;
  store.provenance.StartLoad(1);
  if (!Accept(reporter, 1, side.file)) {
    results.second = LoadResult::kRefused;
    return results;
  }
  int32_t notes = s.noteCount;
  int32_t sources = s.sourceCount;
  s = std::move(side.slot());
  NumberOn(s, notes, sources);
  AddRecordPositions(store, side.result, notes, sources);
  reporter.CreateProgress();
  ShowStatus(reporter, 0, "Lade %s ...", side.file.baseName.c_str());
  for (const std::string& error : side.reporter.errors) ShowError(reporter, "%s", error.c_str());
  results.second = FinishLoad(store, log, reporter, 1, side.file, side.result, &side.checked);
  log.Flush();
  return results;
}

}  // namespace kw
