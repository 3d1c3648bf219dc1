// kinweave-cli: the merge of two GEDCOM files from the command line, the
// same steps the dialog takes.
//
//   kinweave-cli DATEI1 DATEI2 [AUSGABEDATEI]
//
// Loads DATEI1 into slot 0 and DATEI2 into slot 1, then merges into
// AUSGABEDATEI (default "merge.ged") in the directory of DATEI1. The log
// ends up beside the output (AUSGABE.log), or as "log" beside DATEI1 when a
// file of that name exists already; the report beside it too (AUSGABE.html
// and AUSGABE-paare.csv), its path printed after the "Fertig" line.
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "base/merge_log.h"
#include "console_reporter.h"
#include "run/load.h"
#include "run/merge_run.h"
#include "store/store.h"

namespace {

const char kUsage[] =
    "Aufruf: kinweave-cli DATEI1 DATEI2 [AUSGABEDATEI]\n"
    "\n"
    "Verschmilzt zwei GEDCOM-Dateien zu einer.\n"
    "  DATEI1        erste Eingabedatei (.ged); ihre Datens\xC3\xA4tze bleiben alle erhalten\n"
    "  DATEI2        zweite Eingabedatei (.ged)\n"
    "  AUSGABEDATEI  Name der Ausgabedatei im Verzeichnis von DATEI1\n"
    "                (Vorgabe: merge.ged; ohne \".\" wird \".ged\" angeh\xC3\xA4ngt)\n"
    "\n"
    "Das Protokoll steht danach neben der Ausgabedatei (AUSGABEDATEI.log).\n"
    "Daneben der Bericht (AUSGABEDATEI.html) und alle verschmolzenen Paare als\n"
    "Tabelle (AUSGABEDATEI-paare.csv).\n"
    "Ende mit 0, wenn die Ausgabedatei geschrieben wurde.\n";

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  bool optionGiven = false;
  for (int i = 1; i < argc; ++i) optionGiven = optionGiven || argv[i][0] == '-';
  if (argc < 3 || argc > 4 || optionGiven) {
    std::fputs(kUsage, stderr);
    return 2;
  }

  // A file size limit makes writes fail instead of ending the program, so
  // the run can say why and leave nothing half written.
  std::signal(SIGXFSZ, SIG_IGN);
  auto store = std::make_unique<kw::Store>();
  kw::ConsoleReporter reporter(stdout, stderr, isatty(STDERR_FILENO) != 0);
  kw::MergeLog log(store->slots[0].filePath, reporter);

  kw::LoadResults loaded = kw::LoadBothSlots(*store, log, reporter, argv[1], argv[2]);
  if (loaded.first != kw::LoadResult::kLoaded || loaded.second != kw::LoadResult::kLoaded) return 1;
  std::string outputName = argc == 4 ? argv[3] : "merge.ged";
  return kw::StartMerge(*store, log, reporter, outputName) == kw::MergeOutcome::kWritten ? 0 : 1;
}
