// Benchmark: runs the whole job the way the command line does and prints
// where the time goes.
//
//   bench_kinweave FILE1.ged [FILE2.ged [OUTPUT.ged]] [--sequential]
//
// Prints the loading (both files side by side, or one after the other with
// --sequential), the merge pass (sort, walk, pair merge), the export with
// the megabytes it wrote, the report written beside the output with its
// share of the job, the whole job, and the peak memory of the job.
// With an output it then checks the output: every person of input file 1 and every
// addition the log names must be an INDI record of it, and the log must name
// every pair of the merge pass as merged ("verschmolzen"); a person missing
// or a pair written unmerged makes the exit code 1. The log goes beside
// FILE1 as usual ("log").
#include <sys/resource.h>
#include <sys/stat.h>

#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstring>
#include <memory>
#include <set>
#include <string>

#include "base/gedcom_line.h"
#include "base/input_file.h"
#include "base/merge_log.h"
#include "export/export.h"
#include "report/report.h"
#include "run/load.h"
#include "run/merge_pass.h"
#include "store/store.h"

namespace {

// The benchmark has no one to show anything to; error boxes go to stderr.
class QuietReporter : public kw::Reporter {
 public:
  void ShowStatus(int, std::string_view) override {}
  void ShowError(std::string_view text) override {
    std::fprintf(stderr, "error box: %.*s\n", static_cast<int>(text.size()), text.data());
  }
  void ShowMessage(std::string_view, std::string_view) override {}
  void CreateProgress() override {}
  void StepProgress() override {}
  void DestroyProgress() override {}
  void Wait(int) override {}
};

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) {
  return std::chrono::duration<double>(Clock::now() - since).count();
}

double PeakMegabytes() {
  struct rusage usage;
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;  // kilobytes on Linux
}

double FileMegabytes(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 ? static_cast<double>(info.st_size) / 1e6 : 0;
}

void PrintSlot(const kw::Store& store, int slot) {
  const kw::InputSlot& s = store.slots[slot];
  std::printf("  file %d: %.1f MB, %d persons, %d families\n", slot + 1,
              static_cast<double>(s.bytes.size()) / 1e6, s.personCount, s.familyCount);
}

// The cross-references of the output's INDI records.
std::set<std::string> OutputPersons(const std::string& path) {
  std::string bytes;
  std::set<std::string> persons;
  if (!kw::ReadWholeFile(path, bytes)) return persons;
  kw::LineReader reader(bytes, kw::ProbeEncoding(bytes).encoding);
  std::string storage;
  std::string_view raw;
  while (reader.Next(raw)) {
    kw::ScannedLine line = kw::ScanLine(kw::ScanText(reader.encoding(), raw, storage));
    if (line.hasLevel && line.level == 0 && line.token3 == "INDI") persons.emplace(line.token2);
  }
  return persons;
}

// Every present person of input file 1 and every "hinzugefügt (RIN %d)" of
// the log must be in the output. Returns how many are not.
int MissingPersons(const kw::Store& store, const std::string& outputPath, const std::string& log) {
  std::set<std::string> persons = OutputPersons(outputPath);
  int missing = 0;
  const kw::InputSlot& slot0 = store.slots[0];
  for (int32_t n = 1; n < static_cast<int32_t>(slot0.persons.size()); ++n) {
    if (slot0.persons[n].number != 0 && persons.count(kw::PersonXref(slot0, n)) == 0) ++missing;
  }
  const std::string added = "hinzugef\xFCgt (RIN ";
  for (size_t at = log.find(added); at != std::string::npos; at = log.find(added, at + 1)) {
    int number = std::atoi(log.c_str() + at + added.size());
    if (persons.count("@I" + std::to_string(number) + "@") == 0) ++missing;
  }
  return missing;
}

// How many persons the log names as merged: each pair of the merge pass is
// written as one rebuilt record, logged with "verschmolzen".
int MergedInLog(const std::string& log) {
  const std::string merged = "\nverschmolzen\n";
  int count = 0;
  for (size_t at = log.find(merged); at != std::string::npos; at = log.find(merged, at + 1)) ++count;
  return count;
}

}  // namespace

int main(int argc, char** argv) {
  bool sequential = false;
  std::string paths[3];
  int count = 0;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--sequential") == 0) {
      sequential = true;
    } else if (count < 3) {
      paths[count++] = argv[i];
    } else {
      count = 4;
    }
  }
  if (count < 1 || count > 3) {
    std::fprintf(stderr, "usage: %s FILE1.ged [FILE2.ged [OUTPUT.ged]] [--sequential]\n", argv[0]);
    return 2;
  }
  auto store = std::make_unique<kw::Store>();
  QuietReporter reporter;
  kw::MergeLog log(store->slots[0].filePath, reporter);
  Clock::time_point jobStart = Clock::now();

  Clock::time_point start = Clock::now();
  bool loaded = true;
  if (count == 1 || sequential) {
    for (int slot = 0; slot < count && slot < 2; ++slot) {
      Clock::time_point one = Clock::now();
      loaded = loaded && kw::LoadSlot(*store, log, reporter, slot, paths[slot]) ==
                             kw::LoadResult::kLoaded;
      double seconds = Seconds(one);
      double megabytes = FileMegabytes(paths[slot]);
      std::printf("load %d (import and checks): %.3f s  %.0f MB/s\n", slot + 1, seconds,
                  megabytes / seconds);
    }
  } else {
    kw::LoadResults results = kw::LoadBothSlots(*store, log, reporter, paths[0], paths[1]);
    loaded = results.first == kw::LoadResult::kLoaded && results.second == kw::LoadResult::kLoaded;
  }
  double loadSeconds = Seconds(start);
  double inputMegabytes = FileMegabytes(paths[0]) + (count >= 2 ? FileMegabytes(paths[1]) : 0);
  std::printf("loads (import and checks%s): %.3f s  %.0f MB/s\n",
              count >= 2 && !sequential ? ", side by side" : "", loadSeconds,
              inputMegabytes / loadSeconds);
  for (int slot = 0; slot < count && slot < 2; ++slot) PrintSlot(*store, slot);
  std::printf("  peak memory so far: %.0f MB\n", PeakMegabytes());
  if (!loaded) {
    std::fprintf(stderr, "a load failed\n");
    return 1;
  }

  int merges = 0;
  kw::PersonLines lines;
  // As the merge run does it: the report's dates are read beside the walk.
  kw::ReportPreparation prepared(*store);
  if (count >= 2) {
    kw::MergeTiming timing;
    start = Clock::now();
    merges = kw::MergePass(*store, log, reporter, &timing, &lines, &prepared);
    double total = Seconds(start);
    std::printf("merge pass: %d merges\n", merges);
    std::printf("  sort: %.3f s  walk: %.3f s (pair merge %.3f s)  total: %.3f s\n",
                timing.sortSeconds, timing.walkSeconds, timing.pairMergeSeconds, total);
    std::printf("  beside the walk (persons' lines, the report's dates): %.3f s\n",
                timing.besideSeconds);
    std::printf("  peak memory so far: %.0f MB\n", PeakMegabytes());
  }
  int missing = 0;
  int mergedInLog = merges;
  if (count == 3) {
    start = Clock::now();
    int written = kw::ExportGedcom(*store, log, reporter, paths[2], &lines);
    log.Flush();
    double seconds = Seconds(start);
    double megabytes = FileMegabytes(paths[2]);
    std::printf("export: %s, %.1f MB, %d persons, %d families\n", written ? "written" : "failed",
                megabytes, store->slots[0].personCount, store->slots[0].familyCount);
    std::printf("  %.3f s  %.0f MB/s\n", seconds, megabytes / seconds);
    if (written) {
      kw::ReportPaths reportPaths = kw::ReportPathsFor(paths[2]);
      start = Clock::now();
      std::clock_t cpuStart = std::clock();
      kw::ReportOutcome report =
          kw::WriteMergeReport(*store, paths[2], reportPaths, kw::ReportDateNow(), &prepared);
      double reportSeconds = Seconds(start);
      double reportCpu = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
      double job = Seconds(jobStart);
      double jobCpu = static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
      std::printf("report: %s, %.1f MB page, %.1f MB pairs (%zu pairs)\n",
                  report.html && report.csv ? "written" : "failed",
                  FileMegabytes(reportPaths.html), FileMegabytes(reportPaths.csv),
                  store->provenance.matches().size());
      // On a machine shared with other work the processor time tells the
      // share more steadily than the clock on the wall.
      std::printf("  %.3f s, %.1f %% of the whole job (%.3f s)\n", reportSeconds,
                  100.0 * reportSeconds / job, job);
      std::printf("  processor time %.3f s, %.1f %% of the whole job's (%.3f s)\n", reportCpu,
                  100.0 * reportCpu / jobCpu, jobCpu);
    }
    std::printf("whole job: %.3f s\n", Seconds(jobStart));
    std::printf("peak memory of the job: %.0f MB\n", PeakMegabytes());
    std::string logPath = log.path();
    log.Close();
    std::string logText;
    kw::ReadWholeFile(logPath, logText);
    missing = MissingPersons(*store, paths[2], logText);
    mergedInLog = MergedInLog(logText);
    bool ok = missing == 0 && mergedInLog == merges;
    std::printf("output check: %s (%d persons missing, %d of %d pairs written merged)\n",
                ok ? "ok" : "FAILED", missing, mergedInLog, merges);
  }
  if (count < 3) std::printf("peak memory: %.0f MB\n", PeakMegabytes());
  return missing == 0 && mergedInLog == merges ? 0 : 1;
}
