// The demo report as a browser shows it: headless Chromium renders
// merge.html with its script, and the page must show every pair that the
// log calls "verschmolzen", both persons under their cross-references.
// Chromium comes with scripts/setup.sh; without it the test skips.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "report/report_text.h"
#include "run/merge_run.h"
#include "support/load_fixture.h"

namespace kw {
namespace {

namespace fs = std::filesystem;

bool ChromiumPresent() { return std::system("command -v chromium >/dev/null 2>&1") == 0; }

// One side of a "verschmolzen" entry of the log: "%6d given surname years".
struct LoggedPerson {
  std::string number;
  std::string name;  // UTF-8
};

LoggedPerson ParseDescription(const std::string& line) {
  std::istringstream words(line);
  LoggedPerson person;
  words >> person.number;
  std::vector<std::string> rest;
  for (std::string word; words >> word;) rest.push_back(word);
  // The years close the line: "1785", "-1850".
  while (!rest.empty() && rest.back().find_first_not_of("-0123456789") == std::string::npos) {
    rest.pop_back();
  }
  std::string name;
  for (const std::string& word : rest) name += (name.empty() ? "" : " ") + word;
  person.name = Utf8Converter().Convert(name);
  return person;
}

// The pairs of the log, file 1's person first.
std::vector<std::pair<LoggedPerson, LoggedPerson>> MergedPairs(const std::string& log) {
  std::vector<std::string> lines;
  std::istringstream in(log);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  std::vector<std::pair<LoggedPerson, LoggedPerson>> pairs;
  for (size_t i = 2; i < lines.size(); ++i) {
    if (lines[i] != "verschmolzen") continue;
    pairs.emplace_back(ParseDescription(lines[i - 2]), ParseDescription(lines[i - 1]));
  }
  return pairs;
}

// The texts of the cells of each row of the pair table, as rendered.
std::vector<std::vector<std::string>> PairRows(const std::string& dom) {
  std::vector<std::vector<std::string>> rows;
  for (size_t at = dom.find("<tr id=\"p"); at != std::string::npos;
       at = dom.find("<tr id=\"p", at + 1)) {
    std::string row = dom.substr(at, dom.find("</tr>", at) - at);
    if (row.substr(0, row.find('>')).find("hidden") != std::string::npos) continue;
    std::vector<std::string> cells;
    for (size_t cell = row.find("<td"); cell != std::string::npos;
         cell = row.find("<td", cell + 1)) {
      size_t start = row.find('>', cell) + 1;
      std::string text = row.substr(start, row.find("</td>", start) - start);
      std::string plain;
      int depth = 0;
      for (size_t k = 0; k < text.size(); ++k) {
        if (text[k] == '<') ++depth;
        if (depth == 0) plain += text[k];
        if (text[k] == '>') --depth;
      }
      cells.push_back(plain);
    }
    rows.push_back(cells);
  }
  return rows;
}

TEST(ReportInBrowser, ShowsEveryPairOfTheLog) {
  if (!ChromiumPresent())
    GTEST_SKIP() << "chromium is not installed (scripts/setup.sh installs it)";
  test::LoadSetup s;
  s.LoadExamples();
  ASSERT_EQ(StartMerge(*s.store, s.log, s.reporter, "merge.ged"), MergeOutcome::kWritten);

  std::string command =
      "timeout 120 chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run "
      "--disable-background-networking --disable-component-update --disable-sync "
      "--user-data-dir='" +
      s.dir.File("profile") + "' --dump-dom 'file://" + s.dir.File("merge.html") + "' >'" +
      s.dir.File("dom.html") + "' 2>'" + s.dir.File("chromium.err") + "'";
  ASSERT_EQ(std::system(command.c_str()), 0) << test::ReadFile(s.dir.File("chromium.err"));
  std::string dom = test::ReadFile(s.dir.File("dom.html"));
  EXPECT_NE(dom.find("<div id=\"filter\">"), std::string::npos) << "the script showed the filter";

  auto pairs = MergedPairs(test::ReadFile(s.dir.File("merge.log")));
  auto rows = PairRows(dom);
  ASSERT_EQ(pairs.size(), 8u);
  ASSERT_EQ(rows.size(), pairs.size());
  for (const auto& [one, two] : pairs) {
    bool shown = false;
    for (const std::vector<std::string>& cells : rows) {
      shown = shown ||
              (cells.size() == 17 && cells[2] == "@I" + one.number + "@" && cells[3] == one.name &&
               cells[7] == "@I" + two.number + "@" && cells[8] == two.name);
    }
    EXPECT_TRUE(shown) << one.number << " " << one.name << " / " << two.number << " " << two.name;
  }
}

}  // namespace
}  // namespace kw
