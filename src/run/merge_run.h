// The merge run, what "VERSCHMELZEN" starts: the output path from the
// output name, the refusals, the merge pass, the export, the closing status
// and log lines, the log moved beside the output, and the "Fertig" box.
// The dialog and the command line both call StartMerge.
#ifndef KINWEAVE_RUN_MERGE_RUN_H_
#define KINWEAVE_RUN_MERGE_RUN_H_

#include <string>
#include <string_view>

#include "base/merge_log.h"
#include "base/reporter.h"
#include "store/store.h"

namespace kw {

// The output path: the output name (its first 99 characters) in the
// directory of input file 1, with ".ged" appended when the name has no ".".
std::string BuildOutputPath(const std::string& input1Path, const std::string& outputName);

// True when `path` names the same file as `other`: the same file on disk
// when both exist, else the same resolved path.
bool SameFile(const std::string& path, const std::string& other);

enum class MergeOutcome {
  kWritten,  // the output file was written; the "Fertig" box said where
  // Refused before anything ran, with an error box: the dialog stays open.
  kRefused,
  // The run went through its steps, but the output could not be written.
  kFailed,
};

// The merge run for an output path built already: kWritten or kFailed.
// After a written output the report goes beside it (merge.html and
// merge-paare.csv for merge.ged), dated `reportDate` (UTF-8; "" means now).
// A report that cannot be written gets an error box and no "Bericht
// öffnen"; the run still counts as written, since the merged file and the
// log are there. A run that failed writes no report.
MergeOutcome RunMerge(Store& store, MergeLog& log, Reporter& reporter,
                      const std::string& outputPath, std::string_view reportDate = {});

// What the "VERSCHMELZEN" button does with the text of the output field:
// refuses with an error box when input file 1 was not chosen ("\r\nBitte
// zuerst Datei1 wählen") or when the output path names an input file
// ("\r\nAusgabedatei %s darf keine Eingabedatei sein"), then kRefused;
// otherwise builds the output path and runs the merge.
MergeOutcome StartMerge(Store& store, MergeLog& log, Reporter& reporter,
                        const std::string& outputName, std::string_view reportDate = {});

}  // namespace kw

#endif  // KINWEAVE_RUN_MERGE_RUN_H_
