// The merge report: a page a genealogist can read beside the merged file
// and the log. One HTML file in German (UTF-8, no outside resource, readable
// without scripts; a small inline script filters and sorts), and a CSV file
// of every merged pair for a spreadsheet.
//
// The page has a head (both inputs, the output, the date) and the sections
// "Verschmolzen" (one row per pair: both persons side by side, how the pair
// was found, its evidence, the differences, and whether to check it),
// "Hinzugefügt" (persons and families of input file 2), "Widersprüche"
// (parents of a pair not taken for one) and "Korrekturen Datei1/Datei2"
// (the findings of each load's checks). A section shows at most
// kReportRowLimit rows and says how many more there are; the CSV file holds
// every pair with the columns of the page's pair table.
#ifndef KINWEAVE_REPORT_REPORT_H_
#define KINWEAVE_REPORT_REPORT_H_

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "store/store.h"

namespace kw {

constexpr size_t kReportRowLimit = 5000;

struct ReportPaths {
  std::string html;  // the output path with its extension replaced by "html"
  std::string csv;   // the output path without its extension, "-paare.csv" added
};

// merge.ged gives merge.html and merge-paare.csv beside it; a file name
// without a "." keeps its whole name as the stem.
ReportPaths ReportPathsFor(const std::string& outputPath);

// The local date and time as the report's head shows it:
// "07.12.2025, 14:05 Uhr".
std::string ReportDateNow();

struct ReportOutcome {
  bool html = false;  // the page was written
  bool csv = false;   // the file of pairs was written
};

class WrittenDates;

// What the report can do before the export has run: read the dates of
// every person of both files as the files write them, the merged pairs'
// among them, by person number. It reads the persons' date positions and
// the files' bytes and changes nothing of the store, so it may run beside
// the name walk, which only links persons; not beside the export, which
// adds to the tables. Lives until the report is written; the store must
// outlive it.
class ReportPreparation {
 public:
  explicit ReportPreparation(Store& store);
  ~ReportPreparation();
  ReportPreparation(const ReportPreparation&) = delete;
  ReportPreparation& operator=(const ReportPreparation&) = delete;

  // Both files side by side where `sideBySide` and they hold persons
  // enough to be worth a thread.
  void ReadDates(bool sideBySide);
  bool read() const { return read_; }
  WrittenDates& dates() { return *dates_; }

 private:
  Store& store_;
  std::unique_ptr<WrittenDates> dates_;
  bool read_ = false;
};

// Writes both files after a merge run whose output was written: the store
// holds both slots, the output's tables in slot 0 and the provenance of
// the run. `date` (UTF-8) is shown as the date of the report. A file that
// cannot be written whole is removed. `prepared`, when given, holds the
// dates read before; otherwise the report reads them itself.
ReportOutcome WriteMergeReport(Store& store, const std::string& outputPath,
                               const ReportPaths& paths, std::string_view date,
                               ReportPreparation* prepared = nullptr);

}  // namespace kw

#endif  // KINWEAVE_REPORT_REPORT_H_
