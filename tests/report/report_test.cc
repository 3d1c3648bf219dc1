// The merge report where the golden cases do not reach: its texts (escaping
// for HTML, fields of the CSV file, counts, file names), the cut of a long
// section with the CSV file holding every pair, and a report that cannot be
// written beside a written merge.
#include "report/report.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "report/report_text.h"
#include "run/merge_run.h"
#include "support/load_fixture.h"
#include "support/table.h"

namespace kw {
namespace {

namespace fs = std::filesystem;

size_t Count(const std::string& text, const std::string& piece) {
  size_t n = 0;
  for (size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1)) ++n;
  return n;
}

TEST(ReportText, EscapesQuotesAndNamesFiles) {
  std::string html;
  AppendHtml("Anna <unbekannt> & \"Hannes\" O'Brien", html);
  EXPECT_EQ(html, "Anna &lt;unbekannt&gt; &amp; &quot;Hannes&quot; O&#39;Brien");

  std::string csv;
  for (const char* field : {"Meier", "Kling; S\xC3\xB6hne", "Johann \"Hannes\"", " Anna", "Anna ",
                            "=1+2", "@I1@", "-5", "zwei\nZeilen"}) {
    AppendCsvField(field, csv);
    csv += '|';
    // A field written first and made a field afterwards comes out the same.
    std::string row = "1;", expected = "1;";
    row += field;
    FinishCsvField(row, 2);
    AppendCsvField(field, expected);
    EXPECT_EQ(row, expected);
  }
  EXPECT_EQ(csv,
            "Meier|\"Kling; S\xC3\xB6hne\"|\"Johann \"\"Hannes\"\"\"|\" Anna\"|\"Anna \"|"
            "'=1+2|'@I1@|'-5|\"zwei\nZeilen\"|");

  std::string href;
  AppendHrefPath("Ahnen A-Z/zweig Baum#1-paare.csv", href);
  EXPECT_EQ(href, "Ahnen%20A-Z/zweig%20Baum%231-paare.csv");
  Utf8Converter utf8;
  EXPECT_EQ(utf8.Convert("Gro\xDF \x80"), "Gro\xC3\x9F \xE2\x82\xAC");
  EXPECT_EQ(Utf8FromNativePath("/a/\xFF.ged"), "/a/\xEF\xBF\xBD.ged");

  for (const test::TableRow& row : test::ReadTable("report-names", 3)) {
    const ReportPaths paths = ReportPathsFor(row.Raw(1));
    const std::string& kind = row.Raw(0);
    EXPECT_EQ(kind == "html" ? paths.html : kind == "csv" ? paths.csv : GroupedNumber(row.Int(1)),
              row.Raw(2)) << row;
  }
}

// More pairs than a section shows: the page cuts after kReportRowLimit
// rows and says so, the CSV file has them all, pairs to check first.
TEST(Report, LongSectionIsCutAndTheCsvFileHoldsEveryPair) {
  test::TempDir dir;
  auto store = std::make_unique<Store>();
  PrepareSlot(store->slots[0]);
  PrepareSlot(store->slots[1]);
  const int pairs = static_cast<int>(kReportRowLimit) + 3;
  for (int n = 1; n <= pairs; ++n) {
    for (InputSlot& slot : store->slots) {
      Person& p = PersonEntry(slot, n);
      p.number = n;
      p.givenNames = slot.pool.Add(n == pairs ? "<b>Tom</b> & \"Jerry\"" : "Karl");
      p.surname = slot.pool.Add("Meier");
      p.birth = 1800 + n % 100;
    }
    MatchEvidence evidence;
    evidence.sameBirthYear = n != pairs;  // the last pair rests on its name alone
    // The last pair was spread from the first pair past the cut.
    store->provenance.AddMatch(
        {n, n, n == pairs ? 5000 : 0, n == pairs ? FoundBy::kChild : FoundBy::kNameWalk, evidence});
  }
  std::string output = dir.File("merge.ged");
  ReportPaths paths = ReportPathsFor(output);
  ReportOutcome outcome = WriteMergeReport(*store, output, paths, "heute");
  ASSERT_TRUE(outcome.html && outcome.csv);

  std::string html = test::ReadFile(paths.html);
  EXPECT_EQ(Count(html, "<tr id=\"p"), kReportRowLimit);
  EXPECT_NE(html.find("Die ersten 5.000 von 5.003 Zeilen; 3 weitere stehen in "
                      "<a href=\"merge-paare.csv\">merge-paare.csv</a>"),
            std::string::npos);
  EXPECT_LT(html.find("<tr id=\"p5003\" class=\"pruefen\">"), html.find("<tr id=\"p1\">"));
  EXPECT_NE(html.find("&lt;b&gt;Tom&lt;/b&gt; &amp; &quot;Jerry&quot; Meier"), std::string::npos);
  EXPECT_EQ(html.find("<b>Tom"), std::string::npos);
  EXPECT_EQ(html.find("\"p5002\""), std::string::npos) << "cut off";
  EXPECT_NE(html.find("Nr. 5000"), std::string::npos);
  EXPECT_EQ(html.find("#p5000"), std::string::npos) << "a link to a row the page lacks";

  std::string csv = test::ReadFile(paths.csv);
  EXPECT_EQ(Count(csv, "\r\n"), static_cast<size_t>(pairs) + 1);
  EXPECT_EQ(csv.rfind("\xEF\xBB\xBFNr;Pr\xC3\xBC"
                      "fen;Datei1 Nr;",
                      0),
            0u);
  EXPECT_EQ(csv.find("\r\n5003;pr\xC3\xBC"
                     "fen;I5003;\"<b>Tom</b> & \"\"Jerry\"\" Meier\";;1803;"),
            csv.find("\r\n"))
      << "the pair to check is the first row";
  EXPECT_NE(csv.find("\r\n5002;;I5002;Karl Meier;;1802;;I5002;"), std::string::npos);
}

// A merge whose report cannot be written is still a written merge: the
// error box names the report, the "Fertig" box offers none.
TEST(Report, UnwritableReportLeavesTheMergeWritten) {
  test::LoadSetup s;
  s.LoadExamples();
  fs::create_directory(s.dir.File("merge.html"));
  EXPECT_EQ(StartMerge(*s.store, s.log, s.reporter, "merge.ged"), MergeOutcome::kWritten);
  ASSERT_EQ(s.reporter.errors.size(), 1u);
  EXPECT_EQ(s.reporter.errors[0],
            "\r\nBericht " + s.dir.File("merge.html") + " kann nicht geschrieben werden");
  EXPECT_EQ(s.reporter.messages.size(), 1u);
  EXPECT_TRUE(fs::exists(s.dir.File("merge.ged")));
  EXPECT_TRUE(fs::exists(s.dir.File("merge-paare.csv")));

  // An output named like its report would be overwritten by it.
  test::LoadSetup t;
  t.LoadExamples();
  EXPECT_EQ(StartMerge(*t.store, t.log, t.reporter, "baum.html"), MergeOutcome::kWritten);
  ASSERT_EQ(t.reporter.errors.size(), 1u);
  EXPECT_EQ(t.reporter.errors[0], "\r\nBericht nicht geschrieben: " + t.dir.File("baum.html") +
                                      " ist die Ausgabedatei oder eine Eingabedatei");
  EXPECT_EQ(test::ReadFile(t.dir.File("baum.html")).rfind("0 HEAD", 0), 0u);
  EXPECT_FALSE(fs::exists(t.dir.File("baum-paare.csv")));
}

}  // namespace
}  // namespace kw
