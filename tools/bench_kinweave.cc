// Benchmark: loads one or two GEDCOM files the way the tool does and prints
// where the time goes. With two files it runs the merge pass as well.
//
//   bench_kinweave FILE1.ged [FILE2.ged]
//
// Prints, per file, the import (reading and parsing) and the check run in
// megabytes and persons per second; then the sort, the walk and the pair
// merge of the merge pass; the export in seconds and output megabytes per
// second; the report written beside the output and its share of the whole
// job; and the peak memory of the process. The log goes beside FILE1 as
// usual.
#include <sys/resource.h>
#include <sys/stat.h>

#include <chrono>
#include <ctime>
#include <cstdio>
#include <memory>
#include <string>

#include "base/input_file.h"
#include "base/merge_log.h"
#include "check/checks.h"
#include "export/export.h"
#include "import/parser.h"
#include "report/report.h"
#include "run/merge_pass.h"
#include "store/store.h"

namespace {

// The benchmark has no one to show anything to; it counts the error boxes.
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

bool LoadTimed(kw::Store& store, kw::MergeLog& log, kw::Reporter& reporter, int slot,
               const std::string& path) {
  store.slots[slot].filePath = path;
  // The import's time includes opening: that is where the file is read.
  auto start = Clock::now();
  if (!kw::ReadWholeFile(path, store.slots[slot].bytes)) {
    std::fprintf(stderr, "cannot open %s\n", path.c_str());
    return false;
  }
  int64_t size = static_cast<int64_t>(store.slots[slot].bytes.size());
  kw::ParseGedcom(store, reporter, slot);
  double parseSeconds = Seconds(start);
  // What a load tells the report, as LoadSlot records it.
  store.provenance.StartLoad(slot);
  kw::LoadEntry& entry = store.provenance.load(slot);
  entry.loaded = true;
  entry.persons = store.slots[slot].personCount;
  entry.families = store.slots[slot].familyCount;
  entry.encoding = store.slots[slot].encoding;
  start = Clock::now();
  log.Capture(&entry.findings);
  int corrections = kw::CheckSlot(store, log, slot);
  log.Capture(nullptr);
  entry.corrections = corrections;
  double checkSeconds = Seconds(start);
  const kw::InputSlot& s = store.slots[slot];
  double megabytes = static_cast<double>(size) / 1e6;
  std::printf("file %d: %s\n", slot + 1, path.c_str());
  std::printf("  %.1f MB, %d persons, %d families, %d corrections\n", megabytes, s.personCount,
              s.familyCount, corrections);
  std::printf("  import: %.3f s  %.0f MB/s  %.0f persons/s\n", parseSeconds,
              megabytes / parseSeconds, s.personCount / parseSeconds);
  std::printf("  check:  %.3f s  %.0f MB/s  %.0f persons/s\n", checkSeconds,
              megabytes / checkSeconds, s.personCount / checkSeconds);
  double both = parseSeconds + checkSeconds;
  std::printf("  import and check: %.3f s  %.0f MB/s\n", both, megabytes / both);
  if (slot == 0) kw::HandOverCounters(store);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 4) {
    std::fprintf(stderr, "usage: %s FILE1.ged [FILE2.ged [OUTPUT.ged]]\n", argv[0]);
    return 2;
  }
  auto jobStart = Clock::now();
  auto store = std::make_unique<kw::Store>();
  QuietReporter reporter;
  kw::MergeLog log(store->slots[0].filePath, reporter);
  for (int slot = 0; slot + 1 < argc && slot < 2; ++slot) {
    if (!LoadTimed(*store, log, reporter, slot, argv[slot + 1])) return 1;
  }
  if (argc >= 3) {
    kw::MergeTiming timing;
    auto start = Clock::now();
    int merges = kw::MergePass(*store, log, reporter, &timing);
    double total = Seconds(start);
    std::printf("merge pass: %d merges\n", merges);
    std::printf("  sort: %.3f s  walk: %.3f s (pair merge %.3f s)  total: %.3f s\n",
                timing.sortSeconds, timing.walkSeconds, timing.pairMergeSeconds, total);
  }
  if (argc == 4) {
    auto start = Clock::now();
    int written = kw::ExportGedcom(*store, log, reporter, argv[3]);
    double seconds = Seconds(start);
    struct stat info;
    double megabytes = stat(argv[3], &info) == 0 ? static_cast<double>(info.st_size) / 1e6 : 0;
    std::printf("export: %s, %.1f MB, %d persons, %d families\n", written ? "written" : "failed",
                megabytes, store->slots[0].personCount, store->slots[0].familyCount);
    std::printf("  %.3f s  %.0f MB/s\n", seconds, megabytes / seconds);
    if (written) {
      kw::ReportPaths paths = kw::ReportPathsFor(argv[3]);
      start = Clock::now();
      std::clock_t cpuStart = std::clock();
      kw::ReportOutcome report =
          kw::WriteMergeReport(*store, argv[3], paths, kw::ReportDateNow());
      double reportSeconds = Seconds(start);
      double reportCpu = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
      double job = Seconds(jobStart);
      double jobCpu = static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
      auto sizeOf = [&info](const std::string& path) {
        return stat(path.c_str(), &info) == 0 ? static_cast<double>(info.st_size) / 1e6 : 0;
      };
      double html = sizeOf(paths.html);
      double csv = sizeOf(paths.csv);
      std::printf("report: %s, %.1f MB page, %.1f MB pairs (%zu pairs)\n",
                  report.html && report.csv ? "written" : "failed", html, csv,
                  store->provenance.matches().size());
      // On a machine shared with other work the processor time tells the
      // share more steadily than the clock on the wall.
      std::printf("  %.3f s, %.1f %% of the whole job (%.3f s)\n", reportSeconds,
                  100.0 * reportSeconds / job, job);
      std::printf("  processor time %.3f s, %.1f %% of the whole job's (%.3f s)\n", reportCpu,
                  100.0 * reportCpu / jobCpu, jobCpu);
    }
  }
  std::printf("peak memory: %.0f MB\n", PeakMegabytes());
  return 0;
}
