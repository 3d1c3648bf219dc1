// The demo report as a browser shows it: headless Chromium renders
// merge.html with its script, and the page must show every merged pair,
// both persons under their cross-references and names.
// Chromium comes with scripts/setup.sh; without it the test skips.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "report/report_text.h"
#include "run/merge_run.h"
#include "support/load_fixture.h"

namespace kw {
namespace {

namespace fs = std::filesystem;

bool ChromiumPresent() { return std::system("command -v chromium >/dev/null 2>&1") == 0; }

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

  const std::vector<MatchEntry>& pairs = s.store->provenance.matches();
  auto rows = PairRows(dom);
  ASSERT_EQ(pairs.size(), 8u);
  ASSERT_EQ(rows.size(), pairs.size());
  Utf8Converter utf8;
  auto name = [&](const Person& p) { return utf8.Convert(std::string(p.givenNames) + " " + p.surname); };
  for (const MatchEntry& pair : pairs) {
    const std::string one = PersonXref(s.slot(0), pair.person0);
    const std::string two = PersonXref(s.slot(1), pair.person1);
    bool shown = false;
    for (const std::vector<std::string>& cells : rows) {
      shown = shown || (cells.size() == 17 && cells[2] == one &&
                        cells[3] == name(s.person(0, pair.person0)) && cells[7] == two &&
                        cells[8] == name(s.person(1, pair.person1)));
    }
    EXPECT_TRUE(shown) << one << " / " << two;
  }
}

}  // namespace
}  // namespace kw
