#include "run/merge_run.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>

#include "base/display_path.h"
#include "base/output_file.h"
#include "export/export.h"
#include "report/report.h"
#include "run/merge_pass.h"

namespace kw {

namespace {

constexpr size_t kMaxOutputName = 99;

// The log's final name: the output path with "log" after its last ".".
std::string FinalLogPath(const std::string& outputPath) {
  size_t dot = outputPath.rfind('.');
  if (dot == std::string::npos) return outputPath + ".log";
  return outputPath.substr(0, dot + 1) + "log";
}

// Moves the log beside the output, never replacing a file that is there:
// then the log stays where it is. False when the move failed otherwise.
bool MoveLog(const std::string& from, const std::string& to, int* error) {
  *error = MoveWithoutReplacing(from, to);
  return *error == 0 || *error == EEXIST;
}

// Writes the report beside the output and returns the page's path, or ""
// when it was not written (an error box said why). A report never takes
// the name of the output or of an input file.
std::string WriteReport(Store& store, Reporter& reporter, const std::string& outputPath,
                        std::string_view reportDate, ReportPreparation& prepared) {
  ReportPaths paths = ReportPathsFor(outputPath);
  for (const std::string* path : {&paths.html, &paths.csv}) {
    if (SameFile(*path, outputPath) || SameFile(*path, store.slots[0].filePath) ||
        SameFile(*path, store.slots[1].filePath)) {
      ShowError(reporter, "\r\nBericht nicht geschrieben: %s ist die Ausgabedatei oder eine "
                "Eingabedatei", DisplayPath(*path).c_str());
      return "";
    }
  }
  std::string date = reportDate.empty() ? ReportDateNow() : std::string(reportDate);
  ReportOutcome outcome = WriteMergeReport(store, outputPath, paths, date, &prepared);
  for (const auto& [written, path] : {std::pair{outcome.html, &paths.html},
                                      std::pair{outcome.csv, &paths.csv}}) {
    if (!written) {
      ShowError(reporter, "\r\nBericht %s kann nicht geschrieben werden",
                DisplayPath(*path).c_str());
    }
  }
  return outcome.html ? paths.html : "";
}

}  // namespace

std::string BuildOutputPath(const std::string& input1Path, const std::string& outputName) {
  std::string name = outputName.substr(0, kMaxOutputName);
  size_t slash = input1Path.rfind('/');
  std::string path = slash == std::string::npos ? name : input1Path.substr(0, slash + 1) + name;
  size_t nameStart = path.rfind('/');
  nameStart = nameStart == std::string::npos ? 0 : nameStart + 1;
  if (path.find('.', nameStart) == std::string::npos) path += ".ged";
  return path;
}

bool SameFile(const std::string& path, const std::string& other) {
  struct stat a, b;
  const bool hasPath = stat(path.c_str(), &a) == 0;
  const bool hasOther = stat(other.c_str(), &b) == 0;
  if (hasPath && hasOther) return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
  if (hasPath != hasOther) return false;  // a file that is there is not one that is not
  std::error_code ignored;
  return std::filesystem::weakly_canonical(path, ignored) ==
         std::filesystem::weakly_canonical(other, ignored);
}

MergeOutcome RunMerge(Store& store, MergeLog& log, Reporter& reporter,
                      const std::string& outputPath, std::string_view reportDate) {
  // A slot whose load was refused takes part as an empty slot.
  for (InputSlot& slot : store.slots) {
    if (!slot.prepared()) PrepareSlot(slot);
  }
  PersonLines lines;
  ReportPreparation prepared(store);
  MergePass(store, log, reporter, nullptr, &lines, &prepared);
  reporter.Wait(1000);
  ShowStatus(reporter, 0, "Export...");
  int written = ExportGedcom(store, log, reporter, outputPath, &lines);
  log.Flush();
  std::string reportPath;
  if (written) {
    ShowStatus(reporter, 0, "Bericht...");
    reportPath = WriteReport(store, reporter, outputPath, reportDate, prepared);
  }

  const InputSlot& slot0 = store.slots[0];
  ShowStatus(reporter, 1, "%d Personen %d Familien", slot0.personCount, slot0.familyCount);
  ShowStatus(reporter, 0, "Fertig!");
  std::string shownPath = DisplayPath(outputPath);
  // A run whose export could not write the output does not claim it did.
  if (written) log.Write("%s wurde erzeugt\r\n", shownPath.c_str());
  log.Write("%d Personen\n", slot0.personCount);
  log.Write("%d Familien\n\n", slot0.familyCount);
  std::string logPath = log.path();
  // The log's own failures have shown their box: the run did not succeed,
  // and a log cut short keeps its working name, never the final one.
  bool logWhole = log.Close();
  if (!logWhole) written = 0;
  std::string finalLogPath = FinalLogPath(outputPath);
  int error = 0;
  // A log that cannot move stays as "log" beside input file 1; after a
  // written output that is a failure to say, after a failed one it adds
  // nothing to the box already shown.
  if (logWhole && !logPath.empty() && !MoveLog(logPath, finalLogPath, &error) && written) {
    ShowError(reporter, "\r\nFehler beim Schreiben von %s: %s",
              DisplayPath(finalLogPath).c_str(), WriteErrorReason(error).c_str());
    written = 0;
  }
  if (written) {
    reporter.BeforeBox();
    reporter.ShowFinished(Format("\r\n%s\r\n wurde erzeugt", shownPath.c_str()), reportPath);
  }
  return written ? MergeOutcome::kWritten : MergeOutcome::kFailed;
}

MergeOutcome StartMerge(Store& store, MergeLog& log, Reporter& reporter,
                        const std::string& outputName, std::string_view reportDate) {
  const std::string& input1 = store.slots[0].filePath;
  const std::string& input2 = store.slots[1].filePath;
  if (input1.empty()) {
    ShowError(reporter, "\r\nBitte zuerst Datei1 w\xE4hlen");
    return MergeOutcome::kRefused;
  }
  if (input2.empty()) {
    ShowError(reporter, "\r\nBitte zuerst Datei2 w\xE4hlen");
    return MergeOutcome::kRefused;
  }
  std::string outputPath = BuildOutputPath(input1, outputName);
  if (SameFile(outputPath, input1) || SameFile(outputPath, input2)) {
    ShowError(reporter, "\r\nAusgabedatei %s darf keine Eingabedatei sein",
              DisplayPath(outputPath).c_str());
    return MergeOutcome::kRefused;
  }
  return RunMerge(store, log, reporter, outputPath, reportDate);
}

}  // namespace kw
