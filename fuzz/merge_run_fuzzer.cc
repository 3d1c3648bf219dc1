// Fuzz target: the whole run, as the dialog makes it. The input is cut in
// two (see SplitInTwo): datei1.ged and datei2.ged in this process's
// temporary folder, both loaded, then merged into merge.ged. Checked: the
// run says what happened (written: merge.ged and its log merge.log are
// there and "Fertig" was shown; failed: an error box said why), the output
// keeps input file 1's header line and ends with its one trailer, it holds
// every person and family the checks kept (see OutputProblem) and the link
// lines of its persons and families name records it holds, the inputs are
// untouched, and nothing but the output, its log and its report was
// written.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "base/gedcom_line.h"
#include "base/input_file.h"
#include "base/merge_log.h"
#include "fuzz_support.h"
#include "run/load.h"
#include "run/merge_run.h"
#include "store/store.h"
#include "support/recording_reporter.h"

namespace {

using namespace kw;

bool StartsWith(const std::string& text, std::string_view start) {
  return text.compare(0, start.size(), start) == 0;
}

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// The first line of input file 1 as the export streams it, when it is the
// header: the output copies it (with its byte-order mark) byte for byte.
std::string_view HeaderLine(const InputSlot& slot) {
  std::string_view bytes = slot.bytes;
  std::string_view raw = bytes.substr(0, RawLineLength(bytes, 0, slot.encoding));
  EncodingProbe probe = ProbeEncoding(raw);
  std::string storage;
  ScannedLine line = ScanLine(ScanText(slot.encoding, raw.substr(probe.markBytes), storage));
  if (!line.hasLevel || line.level != 0 || TagCode(line.token2) != TagCode("HEAD")) return {};
  // A UTF-16 file cut in a character: the output has U+FFFD for the odd
  // byte. A last line without a line end gets one in the output.
  if (IsUtf16(slot.encoding) && (raw.size() - probe.markBytes) % 2 != 0) raw.remove_suffix(1);
  while (!raw.empty() && (raw.back() == '\n' || raw.back() == '\r' || raw.back() == '\0')) {
    raw.remove_suffix(1);
  }
  return raw;
}

constexpr uint32_t kIndi = TagCode("INDI");
constexpr uint32_t kFam = TagCode("FAM");

// The output's records as the export writes them, read with the tool's own
// line syntax: its person and family records (a record whose cross-reference
// names a person or family of slot 0, which the export writes from the
// tables) and their level-1 link lines, which the export generates.
struct OutputRecords {
  struct Link {
    std::string pointer;
    uint32_t kind;  // the type of record it must name
  };
  std::map<std::string, std::set<uint32_t>> kinds;  // cross-reference -> INDI, FAM
  std::map<std::string, int> names;  // every level-0 cross-reference, how often
  std::vector<Link> links;
  int trailers = 0;
  bool trailerLast = false;

  bool Holds(const std::string& xref, uint32_t kind) const {
    auto found = kinds.find(xref);
    return found != kinds.end() && found->second.count(kind) != 0;
  }
};

OutputRecords ReadOutput(const std::string& output, const InputSlot& slot0) {
  OutputRecords records;
  uint32_t recordKind = 0;
  LineReader reader(output, slot0.encoding);
  reader.Seek(ProbeEncoding(output).markBytes);
  std::string storage;
  std::string_view raw;
  while (reader.Next(raw)) {
    ScannedLine line = ScanLine(ScanText(slot0.encoding, raw, storage));
    if (!line.hasLevel) continue;
    const uint32_t tag = TagCode(line.token2);
    if (line.level == 0) {
      records.trailers += tag == TagCode("TRLR");
      records.trailerLast = tag == TagCode("TRLR");
      const uint32_t type = TagCode(line.token3);
      recordKind = 0;
      if (type == kIndi && PersonNumberOf(slot0, line.token2) >= 0) recordKind = kIndi;
      if (type == kFam && FamilyNumberOf(slot0, line.token2) >= 0) recordKind = kFam;
      if (recordKind != 0) records.kinds[std::string(line.token2)].insert(recordKind);
      if (IsXref(line.token2)) ++records.names[std::string(line.token2)];
      continue;
    }
    if (line.level != 1) continue;
    if (recordKind == kIndi && (tag == TagCode("FAMS") || tag == TagCode("FAMC"))) {
      records.links.push_back({std::string(line.token3), kFam});
    }
    if (recordKind == kFam &&
        (tag == TagCode("HUSB") || tag == TagCode("WIFE") || tag == TagCode("CHIL"))) {
      records.links.push_back({std::string(line.token3), kIndi});
    }
  }
  return records;
}

// What must hold of the output whatever the inputs: one trailer, the last
// record; link lines name records of the output of the right kind; every
// person and family of input file 1 that the checks kept is there, and so
// is every person of input file 2 the checks kept, merged or added, unless
// the output was full. Returns the first problem, "" when none.
std::string OutputProblem(const std::string& output, const Store& store, bool outputFull) {
  const InputSlot& slot0 = store.slots[0];
  const InputSlot& slot1 = store.slots[1];
  OutputRecords records = ReadOutput(output, slot0);
  if (records.trailers != 1 || !records.trailerLast) {
    return std::to_string(records.trailers) + " trailers, or not last";
  }
  // Two records of one name only where input file 1 had them.
  const OutputRecords own = ReadOutput(slot0.bytes, slot0);
  for (const auto& [name, count] : records.names) {
    auto found = own.names.find(name);
    if (count > 1 && (found == own.names.end() || found->second < count)) {
      return std::to_string(count) + " records named " + name;
    }
  }
  for (const OutputRecords::Link& link : records.links) {
    if (!records.Holds(link.pointer, link.kind)) return "a link to " + link.pointer + ", which it lacks";
  }
  for (int32_t n = 1; n < slot0.personEnd; ++n) {
    if (slot0.persons[n].number != 0 && !records.Holds(PersonXref(slot0, n), kIndi)) {
      return "no record of person " + PersonXref(slot0, n);
    }
  }
  for (int32_t f = 1; f < slot0.familyEnd; ++f) {
    if (slot0.families[f].number != 0 && !records.Holds(FamilyXref(slot0, f), kFam)) {
      return "no record of family " + FamilyXref(slot0, f);
    }
  }
  for (int32_t q = 1; q < slot1.personEnd && !outputFull; ++q) {
    const Person& person = slot1.persons[q];
    if (person.number == 0) continue;
    if (person.partner == 0 || !records.Holds(PersonXref(slot0, person.partner), kIndi)) {
      return "no record for person " + PersonXref(slot1, q) + " of input file 2";
    }
  }
  return "";
}

// The file's bytes; "" when it cannot be read.
std::string FileBytes(const std::string& path) {
  std::string bytes;
  ReadWholeFile(path, bytes);
  return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::TwoParts parts = fuzz::SplitInTwo(fuzz::Bytes(data, size));
  fuzz::ProcessFolder folder;
  const std::string one = folder.File("datei1.ged");
  const std::string two = folder.File("datei2.ged");
  fuzz::WriteWholeFile(one, std::string(parts.first));
  fuzz::WriteWholeFile(two, std::string(parts.second));

  auto store = std::make_unique<Store>();
  RecordingReporter reporter;
  MergeOutcome outcome;
  std::string logPath;
  {
    MergeLog log(store->slots[0].filePath, reporter);
    LoadSlot(*store, log, reporter, 0, one);
    LoadSlot(*store, log, reporter, 1, two);
    outcome = StartMerge(*store, log, reporter, "merge.ged");
    logPath = log.path();
  }
  FUZZ_CHECK(outcome == MergeOutcome::kWritten || outcome == MergeOutcome::kFailed);
  FUZZ_CHECK(logPath == folder.File("log"));
  FUZZ_CHECK(FileBytes(one) == parts.first);
  FUZZ_CHECK(FileBytes(two) == parts.second);

  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
    names.insert(entry.path().filename().string());
  }
  if (outcome == MergeOutcome::kFailed) {
    FUZZ_CHECK(!reporter.errors.empty());
    FUZZ_CHECK(reporter.messages.empty());
    for (const std::string& name : names) {
      FUZZ_CHECK(name == "datei1.ged" || name == "datei2.ged" || name == "merge.ged" ||
                 name == "merge.log");
    }
    return 0;
  }
  FUZZ_CHECK((names == std::set<std::string>{"datei1.ged", "datei2.ged", "merge.ged", "merge.log",
                                             "merge.html", "merge-paare.csv"}));
  FUZZ_CHECK(reporter.messages.size() == 1 && StartsWith(reporter.messages[0], "Fertig|"));

  const InputSlot& slot0 = store->slots[0];
  const std::string output = FileBytes(folder.File("merge.ged"));
  FUZZ_CHECK(StartsWith(output, HeaderLine(slot0)));
  std::string trailer;
  EncodeFromUnicode(slot0.encoding, U"0 TRLR\n", trailer);
  FUZZ_CHECK(EndsWith(output, trailer));
  bool outputFull = false;
  for (const std::string& error : reporter.errors) {
    outputFull = outputFull || error.find("Ergebnis zu gro") != std::string::npos;
  }
  const std::string problem = OutputProblem(output, *store, outputFull);
  if (!problem.empty()) std::fprintf(stderr, "merge.ged: %s\n", problem.c_str());
  FUZZ_CHECK(problem.empty());
  return 0;
}
