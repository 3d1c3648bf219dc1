#include "report/report.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <ctime>
#include <future>
#include <system_error>
#include <vector>

#include "base/display_path.h"
#include "base/side_by_side.h"
#include "base/version.h"
#include "report/report_file.h"
#include "report/report_page.h"
#include "report/report_text.h"
#include "report/written_dates.h"

// The report is UTF-8, and so are the texts of this file, unlike the
// Windows-1252 texts of the core.

namespace kw {

namespace {

// One person as a row shows it: UTF-8 texts, not escaped yet.
struct PersonCells {
  int32_t number = 0;
  std::string xref, name, sex, birth, death;
  long long birthKey = 0, deathKey = 0;
};

// Which of a pair's cells differ; the page marks them, the CSV names them.
struct Differences {
  bool name = false, sex = false, birth = false, death = false;
};

long long DateKey(PackedDate date) {
  return DateYear(date) * 10000LL + DateMonth(date) * 100 + DateDay(date);
}

bool SameText(const char* a, const char* b) {
  return std::strcmp(a != nullptr ? a : "", b != nullptr ? b : "") == 0;
}

bool SameDate(PackedDate a, PackedDate b) {
  return (a & ~kDateIncomplete) == (b & ~kDateIncomplete);
}

void AppendName(Utf8Converter& utf8, const Person& person, std::string& out) {
  const char* given = person.givenNames != nullptr ? person.givenNames : "";
  const char* surname = person.surname != nullptr ? person.surname : "";
  utf8.Append(given, out);
  if (*given != '\0' && *surname != '\0') out += ' ';
  utf8.Append(surname, out);
}

void AppendSex(Utf8Converter& utf8, char sex, std::string& out) {
  if (sex == 'M') {
    out += 'm';
  } else if (sex == 'F') {
    out += 'w';
  } else if (sex != 0) {
    utf8.Append(std::string_view(&sex, 1), out);
  }
}

Differences Compare(const Person& p, const Person& q) {
  Differences differences;
  differences.name = !SameText(p.givenNames, q.givenNames) || !SameText(p.surname, q.surname);
  differences.sex = p.sex != q.sex;
  differences.birth = !SameDate(p.birth, q.birth);
  differences.death = !SameDate(p.death, q.death);
  return differences;
}

const char* EncodingName(InputEncoding encoding) {
  switch (encoding) {
    case kEncodingAnsel:
      return "ANSEL";
    case kEncodingUtf8:
      return "UTF-8";
    case kEncodingUtf16Le:
      return "UTF-16 (LE)";
    case kEncodingUtf16Be:
      return "UTF-16 (BE)";
    default:
      return "Windows-1252 (ANSI)";
  }
}

const char* RelationText(FoundBy how) {
  switch (how) {
    case FoundBy::kFather:
      return "Vater von";
    case FoundBy::kMother:
      return "Mutter von";
    case FoundBy::kSpouse:
      return "Ehepartner von";
    case FoundBy::kChild:
      return "Kind von";
    default:
      return "Namensvergleich";
  }
}

// The findings of a load's checks: the log text split before each "###"
// that starts a line, line ends at both ends trimmed.
std::vector<std::string_view> SplitFindings(std::string_view text) {
  std::vector<std::string_view> findings;
  size_t start = text.find("###");
  while (start != std::string_view::npos) {
    size_t next = text.find("\n###", start);
    std::string_view finding =
        text.substr(start, next == std::string_view::npos ? next : next - start);
    while (!finding.empty() && (finding.back() == '\r' || finding.back() == '\n')) {
      finding.remove_suffix(1);
    }
    findings.push_back(finding);
    start = next == std::string_view::npos ? next : next + 1;
  }
  return findings;
}

std::string CountText(size_t n, const char* one, const char* many) {
  return GroupedNumber(static_cast<long long>(n)) + " " + (n == 1 ? one : many);
}

// The rows of the CSV file, one pair each, written straight from the store:
// on a large merge they are most of the report's work. A CsvRows has
// buffers of its own and changes nothing it reads, so two of them write two
// parts of the rows side by side. The page takes the texts it shares with
// the CSV file from one of them.
class CsvRows {
 public:
  // All but `store` are the report's plan of the pairs; they must outlive
  // this and stay as they are while it writes.
  CsvRows(const Store& store, const WrittenDates& dates, const std::vector<char>& check,
          const std::vector<int32_t>& pairOfPerson0)
      : store_(store), dates_(dates), check_(check), pairOfPerson0_(pairOfPerson0) {}

  // "Kind von Nr. 12" and the differing cells ("Name, Geburt") of a pair.
  void Texts(const MatchEntry& match, const Differences& differences);
  const std::string& found() const { return found_; }
  const std::string& differing() const { return differing_; }

  // Appends the row of pair `index` and makes its texts.
  void Row(size_t index, const MatchEntry& match, std::string& out);

 private:
  void Side(int slot, int32_t person, std::string& out);

  const Store& store_;
  const WrittenDates& dates_;
  const std::vector<char>& check_;
  const std::vector<int32_t>& pairOfPerson0_;
  Utf8Converter utf8_;
  ScratchRing ring_;  // the dates the files do not write, in the log's form
  std::string found_, differing_;
  std::string birth_, death_;  // Windows-1252, as read
};

class ReportWriter {
 public:
  ReportWriter(Store& store, const std::string& outputPath, const ReportPaths& paths,
               std::string_view date, ReportPreparation& prepared)
      : store_(store),
        outputPath_(outputPath),
        paths_(paths),
        date_(date),
        prepared_(prepared),
        dates_(prepared.dates()) {}

  ReportOutcome Write();

 private:
  std::string& Html() { return html_.text(); }
  void Spill() {
    html_.Spill();
    csv_.Spill();
  }

  void PlanPairs();
  // `readBefore`: the person's dates are among those read before the export
  // (not so for the persons the export added).
  void FillPerson(int slot, int32_t person, PersonCells& cells, bool readBefore = false);
  void AppendPersonSummary(int slot, int32_t person);
  void AppendPairLink(int32_t person0);

  void Head();
  void HeadRow(const char* label, const std::string& path, long long persons, long long families,
               const char* encoding, const std::string& corrections);
  void SectionStart(const char* id, const std::string& heading);
  bool TableStart(size_t rows, const char* id, const char* groups, const char* const* columns);
  void TableEnd(size_t rows, const std::string& rest);
  void Cell(std::string_view utf8, bool differs = false);
  void KeyedCell(long long key, std::string_view utf8, bool differs = false);

  void Pairs();
  void PairHtmlRow(size_t index, const MatchEntry& match, const Differences& differences);
  // Appends the CSV rows [begin, end) by `rows`.
  void WriteRows(CsvRows& rows, size_t begin, size_t end, std::string& out) const;
  // The page's row of row `row`, after its CSV row.
  void PageRow(size_t row);
  void AppendPairSide(const PersonCells& cells, const Differences& differences);
  void AddedPersons(const std::vector<const AdditionEntry*>& persons);
  void AddedFamilies(const std::vector<const AdditionEntry*>& families);
  void Contradictions();
  void Corrections(int slot);

  Store& store_;
  const std::string& outputPath_;
  const ReportPaths& paths_;
  std::string date_;
  ReportFile html_;
  ReportFile csv_;
  Utf8Converter utf8_;
  ReportPreparation& prepared_;
  WrittenDates& dates_;

  std::vector<int32_t> order_;  // pair indexes in the order of the rows
  std::vector<int32_t> rowOf_;  // the row of each pair
  std::vector<char> check_;     // by pair: needs checking
  size_t checkCount_ = 0;
  std::vector<int32_t> pairOfPerson0_;  // by slot-0 person: its pair, -1 for none
  CsvRows rows_{store_, dates_, check_, pairOfPerson0_};  // and the page's shared texts

  PersonCells sides_[2];
  std::string birthText_, deathText_;  // Windows-1252, as read
  std::string scratch_;
};

ReportOutcome ReportWriter::Write() {
  ReportOutcome outcome;
  bool htmlOpen = html_.Open(paths_.html);
  bool csvOpen = csv_.Open(paths_.csv);
  PlanPairs();

  std::string title = "Bericht: " + Utf8FromNativePath(BaseName(outputPath_));
  AppendPageStart(title, Html());
  Head();
  AppendFilterBox(Html());
  Pairs();
  std::vector<const AdditionEntry*> persons, families;
  for (const AdditionEntry& addition : store_.provenance.additions()) {
    (addition.family ? families : persons).push_back(&addition);
  }
  SectionStart("hinzugefuegt", "Hinzugefügt aus Datei2");
  AddedPersons(persons);
  AddedFamilies(families);
  Contradictions();
  Corrections(0);
  Corrections(1);
  AppendPageEnd(Html());

  outcome.html = htmlOpen && html_.Close();
  outcome.csv = csvOpen && csv_.Close();
  return outcome;
}

// ---------------------------------------------------------------------------
// Persons as cells

void ReportWriter::FillPerson(int slot, int32_t person, PersonCells& cells, bool readBefore) {
  const InputSlot& s = store_.slots[slot];
  const Person& p = s.persons[person];
  cells.number = person;
  cells.xref.clear();
  cells.xref += PersonXref(s, person);
  cells.name.clear();
  AppendName(utf8_, p, cells.name);
  cells.sex.clear();
  AppendSex(utf8_, p.sex, cells.sex);
  if (readBefore) {
    dates_.OfLocated(slot, person, birthText_, deathText_, store_.ring);
  } else {
    dates_.OfPerson(slot, person, birthText_, deathText_);
  }
  cells.birth.clear();
  utf8_.Append(birthText_, cells.birth);
  cells.death.clear();
  utf8_.Append(deathText_, cells.death);
  cells.birthKey = DateKey(p.birth);
  cells.deathKey = DateKey(p.death);
}

// "@I7@ Wilhelmine Meier, * 1835, † 1901", escaped, for the tables that
// name persons in one cell.
void ReportWriter::AppendPersonSummary(int slot, int32_t person) {
  PersonCells& cells = sides_[0];
  FillPerson(slot, person, cells);
  std::string text = cells.xref + " " + cells.name;
  if (!cells.birth.empty()) text += ", * " + cells.birth;
  if (!cells.death.empty()) text += ", † " + cells.death;
  AppendHtml(text, Html());
}

// "Nr. 12" of the pair that holds the slot-0 person, a link when its row is
// on the page.
void ReportWriter::AppendPairLink(int32_t person0) {
  int32_t pair = person0 >= 0 && static_cast<size_t>(person0) < pairOfPerson0_.size()
                     ? pairOfPerson0_[person0]
                     : -1;
  if (pair < 0) return;
  std::string number = std::to_string(pair + 1);
  if (static_cast<size_t>(rowOf_[pair]) < kReportRowLimit) {
    Html() += "<a href=\"#p" + number + "\">Nr. " + number + "</a>";
  } else {
    Html() += "Nr. " + number;
  }
}

// ---------------------------------------------------------------------------
// Page pieces

void ReportWriter::SectionStart(const char* id, const std::string& heading) {
  Html() += "<h2 id=\"";
  Html() += id;
  Html() += "\">";
  AppendHtml(heading, Html());
  Html() += "</h2>\n";
}

// `groups`, when given, is a heading row written as it stands. A table
// without rows is only the word "Keine"; false then.
bool ReportWriter::TableStart(size_t rows, const char* id, const char* groups,
                              const char* const* columns) {
  if (rows == 0) {
    Html() += "<p>Keine.</p>\n";
    return false;
  }
  Html() += "<table class=\"daten\" id=\"";
  Html() += id;
  Html() += "\">\n<thead>\n";
  if (groups != nullptr) Html() += groups;
  Html() += "<tr>";
  for (const char* const* column = columns; *column != nullptr; ++column) {
    Html() += "<th>";
    Html() += *column;
    Html() += "</th>";
  }
  Html() += "</tr>\n</thead>\n<tbody>\n";
  return true;
}

// `rest` says where the rows beyond the limit can be found.
void ReportWriter::TableEnd(size_t rows, const std::string& rest) {
  Html() += "</tbody>\n</table>\n";
  if (rows <= kReportRowLimit) return;
  Html() += "<p class=\"mehr\">Die ersten " + GroupedNumber(kReportRowLimit) + " von " +
            GroupedNumber(static_cast<long long>(rows)) + " Zeilen; " +
            GroupedNumber(static_cast<long long>(rows - kReportRowLimit)) + " weitere " + rest +
            ".</p>\n";
}

void ReportWriter::Cell(std::string_view utf8, bool differs) {
  Html() += differs ? "<td class=\"anders\">" : "<td>";
  AppendHtml(utf8, Html());
  Html() += "</td>";
}

void ReportWriter::KeyedCell(long long key, std::string_view utf8, bool differs) {
  Html() += "<td data-k=\"" + std::to_string(key) + (differs ? "\" class=\"anders\">" : "\">");
  AppendHtml(utf8, Html());
  Html() += "</td>";
}

// ---------------------------------------------------------------------------
// The head

void ReportWriter::HeadRow(const char* label, const std::string& path, long long persons,
                           long long families, const char* encoding,
                           const std::string& corrections) {
  Html() += "<tr><th>";
  Html() += label;
  Html() += "</th>";
  Cell(Utf8FromNativePath(path));
  Html() += "<td class=\"zahl\">" + GroupedNumber(persons) + "</td><td class=\"zahl\">" +
            GroupedNumber(families) + "</td>";
  Cell(encoding);
  Html() += "<td class=\"zahl\">" + corrections + "</td></tr>\n";
}

void ReportWriter::Head() {
  const Provenance& provenance = store_.provenance;
  Html() += "<h1>Bericht zur Verschmelzung</h1>\n<p class=\"hinweis\">kinweave! V";
  Html() += kProgramVersion;
  Html() += " · erstellt am ";
  AppendHtml(date_, Html());
  Html() +=
      "</p>\n<table class=\"kopf\">\n<thead><tr><th></th><th>Datei</th><th>Personen</th>"
      "<th>Familien</th><th>Zeichensatz</th><th>Korrekturen</th></tr></thead>\n<tbody>\n";
  for (int slot = 0; slot < 2; ++slot) {
    const LoadEntry& load = provenance.load(slot);
    HeadRow(slot == 0 ? "Datei1" : "Datei2", store_.slots[slot].filePath, load.persons,
            load.families, load.loaded ? EncodingName(load.encoding) : "nicht geladen",
            GroupedNumber(load.corrections));
  }
  const InputSlot& out = store_.slots[0];
  HeadRow("Ausgabe", outputPath_, out.personCount, out.familyCount, EncodingName(out.encoding), "");
  Html() += "</tbody>\n</table>\n";

  size_t addedPersons = 0;
  for (const AdditionEntry& addition : provenance.additions()) addedPersons += !addition.family;
  size_t addedFamilies = provenance.additions().size() - addedPersons;
  Html() += "<ul>\n<li><a href=\"#verschmolzen\">Verschmolzen</a>: " +
            CountText(provenance.matches().size(), "Paar", "Paare") + ", davon " +
            GroupedNumber(static_cast<long long>(checkCount_)) + " zu prüfen</li>\n";
  Html() += "<li><a href=\"#hinzugefuegt\">Hinzugefügt</a>: " +
            CountText(addedPersons, "Person", "Personen") + ", " +
            CountText(addedFamilies, "Familie", "Familien") + "</li>\n";
  Html() += "<li><a href=\"#widersprueche\">Widersprüche</a>: " +
            GroupedNumber(static_cast<long long>(provenance.contradictions().size())) + "</li>\n";
  Html() +=
      "<li><a href=\"#korrekturen1\">Korrekturen Datei1</a>, "
      "<a href=\"#korrekturen2\">Korrekturen Datei2</a></li>\n</ul>\n";
}

// ---------------------------------------------------------------------------
// Verschmolzen

// Pairs to check come first, each group in the order the pairs were found.
void ReportWriter::PlanPairs() {
  const std::vector<MatchEntry>& matches = store_.provenance.matches();
  check_.resize(matches.size());
  for (size_t i = 0; i < matches.size(); ++i) {
    check_[i] = NeedsChecking(matches[i].evidence);
    checkCount_ += check_[i];
  }
  order_.clear();
  order_.reserve(matches.size());
  for (int pass = 1; pass >= 0; --pass) {
    for (size_t i = 0; i < matches.size(); ++i) {
      if (check_[i] == pass) order_.push_back(static_cast<int32_t>(i));
    }
  }
  rowOf_.resize(matches.size());
  for (size_t row = 0; row < order_.size(); ++row) rowOf_[order_[row]] = static_cast<int32_t>(row);
  pairOfPerson0_.assign(store_.slots[0].persons.size(), -1);
  for (size_t i = 0; i < matches.size(); ++i) {
    int32_t p = matches[i].person0;
    if (p > 0 && static_cast<size_t>(p) < pairOfPerson0_.size()) {
      pairOfPerson0_[p] = static_cast<int32_t>(i);
    }
  }
  if (!prepared_.read()) prepared_.ReadDates(true);
}

const char* const kPairColumns[] = {
    "Nr.",      "Prüfen",        "Nr.",           "Name",           "Geschl.",    "Geburt",
    "Tod",      "Nr.",           "Name",          "Geschl.",        "Geburt",     "Tod",
    "Gefunden", "Gleiche Jahre", "Abst. Vorname", "Abst. Nachname", "Abweichend", nullptr};
const char kPairGroups[] =
    "<tr><th colspan=\"2\"></th><th colspan=\"5\">Datei1</th><th colspan=\"5\">Datei2</th>"
    "<th></th><th colspan=\"3\">Belege</th><th></th></tr>\n";
const char kPairCsvHeader[] =
    "\xEF\xBB\xBFNr;Prüfen;Datei1 Nr;Datei1 Name;Datei1 Geschlecht;Datei1 Geburt;"
    "Datei1 Tod;Datei2 Nr;Datei2 Name;Datei2 Geschlecht;Datei2 Geburt;Datei2 Tod;Gefunden;"
    "Gleiche Jahre;Abstand Vorname;Abstand Nachname;Abweichend\r\n";

void ReportWriter::Pairs() {
  const std::vector<MatchEntry>& matches = store_.provenance.matches();
  SectionStart("verschmolzen", "Verschmolzen");
  Html() +=
      "<p class=\"hinweis\">Je Zeile ein Paar: links die Person aus Datei1, rechts die aus "
      "Datei2, rot was sich unterscheidet. „Gefunden“ sagt, ob der "
      "Namensvergleich das Paar fand oder ob es als Vater, Mutter, Ehepartner oder Kind eines "
      "früher gefundenen Paares dazukam. Die Belege nennen die Jahre, die beide Seiten "
      "gleich haben, und den Abstand der Vor- und der Nachnamen (0: gleich, 1: gleich "
      "klingend, mehr je weiter sie auseinanderliegen, 8: ein Name fehlt); das Geschlecht ist "
      "bei jedem Paar auf beiden Seiten dasselbe.</p>\n"
      "<p class=\"hinweis\"><b>Zu prüfen</b> (gelb, oben) sind Paare, für die "
      "weniger als zwei eigene Belege sprechen: gleiches Geburtsjahr, gleiches Sterbejahr, "
      "gleiches Heiratsjahr (jeweils auf beiden Seiten bekannt) und ähnliche Vornamen "
      "(Abstand unter 6) zählen je einmal. Solche Paare stehen nur auf dem Namen oder "
      "auf einem Verwandten.</p>\n";
  bool table = TableStart(matches.size(), "paare", kPairGroups, kPairColumns);
  csv_.text() += kPairCsvHeader;

  // The rows are written in rounds: in each, this thread writes a block of
  // rows (and the page's rows, all in the first block) while another
  // writes the next block into a buffer that follows it.
  constexpr size_t kBlock = 16384;
  static_assert(kBlock >= kReportRowLimit, "the page's rows are in the first block");
  CsvRows other(store_, dates_, check_, pairOfPerson0_);
  std::string otherRows;
  const size_t rows = order_.size();
  for (size_t begin = 0; begin < rows; begin += 2 * kBlock) {
    size_t middle = std::min(begin + kBlock, rows);
    size_t end = std::min(begin + 2 * kBlock, rows);
    std::future<void> next;
    if (middle < end) {
      try {
        next = std::async(std::launch::async, [&] {
          otherRows.clear();
          WriteRows(other, middle, end, otherRows);
        });
      } catch (const std::system_error&) {
        middle = end;  // no thread to be had: this one writes the round
      }
    }
    for (size_t row = begin; row < middle; ++row) {
      WriteRows(rows_, row, row + 1, csv_.text());
      if (row < kReportRowLimit) PageRow(row);
      Spill();
    }
    if (next.valid()) {
      next.get();
      csv_.text() += otherRows;
      Spill();
    }
  }
  std::string csvName = Utf8FromNativePath(BaseName(paths_.csv));
  std::string rest = "stehen in <a href=\"";
  AppendHrefPath(csvName, rest);
  rest += "\">";
  AppendHtml(csvName, rest);
  rest += "</a>";
  if (table) TableEnd(matches.size(), rest);
}

// "Geburt, Tod, Heirat": the years both persons share.
const char* SameYearsText(const MatchEvidence& evidence) {
  static const char* const kTexts[8] = {
      "",       "Geburt",         "Tod",         "Geburt, Tod",
      "Heirat", "Geburt, Heirat", "Tod, Heirat", "Geburt, Tod, Heirat"};
  return kTexts[evidence.sameBirthYear | evidence.sameDeathYear << 1 |
                evidence.sameMarriageYear << 2];
}

// "Kind von Nr. 12" and the differing cells, as the CSV file writes them.
void CsvRows::Texts(const MatchEntry& match, const Differences& differences) {
  found_ = RelationText(match.how);
  if (match.how != FoundBy::kNameWalk) {
    char digits[16];
    found_ += " Nr. ";
    found_.append(
        digits,
        std::to_chars(digits, digits + sizeof(digits), pairOfPerson0_[match.from0] + 1).ptr);
  }
  differing_.clear();
  auto add = [&](bool differs, const char* what) {
    if (!differs) return;
    if (!differing_.empty()) differing_ += ", ";
    differing_ += what;
  };
  add(differences.name, "Name");
  add(differences.sex, "Geschlecht");
  add(differences.birth, "Geburt");
  add(differences.death, "Tod");
}

// The texts the report makes itself (numbers, "prüfen", how the pair was
// found, the evidence, the differences) need no quoting; those from the
// files are fields.
void CsvRows::Row(size_t index, const MatchEntry& match, std::string& out) {
  Texts(match, Compare(store_.slots[0].persons[match.person0],
                       store_.slots[1].persons[match.person1]));
  const MatchEvidence& evidence = match.evidence;
  char digits[16];
  out.append(digits, std::to_chars(digits, digits + sizeof(digits), index + 1).ptr);
  out += check_[index] != 0 ? ";prüfen" : ";";
  Side(0, match.person0, out);
  Side(1, match.person1, out);
  out += ';';
  out += found_;
  out += ';';
  out += SameYearsText(evidence);
  out += ';';
  out.append(digits,
             std::to_chars(digits, digits + sizeof(digits), evidence.givenNameDistance).ptr);
  out += ';';
  out.append(digits, std::to_chars(digits, digits + sizeof(digits), evidence.surnameDistance).ptr);
  out += ';';
  out += differing_;
  out += "\r\n";
}

// One person's five fields.
void CsvRows::Side(int slot, int32_t person, std::string& out) {
  const InputSlot& s = store_.slots[slot];
  const Person& p = s.persons[person];
  out += ';';
  size_t start = out.size();
  out += PersonXref(s, person);
  // Without its "@" signs, which a spreadsheet reads as a formula's start.
  if (out.size() - start >= 2 && out[start] == '@' && out.back() == '@') {
    out.pop_back();
    out.erase(start, 1);
  }
  FinishCsvField(out, start);
  out += ';';
  start = out.size();
  AppendName(utf8_, p, out);
  FinishCsvField(out, start);
  out += ';';
  start = out.size();
  AppendSex(utf8_, p.sex, out);
  FinishCsvField(out, start);
  dates_.OfLocated(slot, person, birth_, death_, ring_);
  for (const std::string* date : {&birth_, &death_}) {
    out += ';';
    start = out.size();
    utf8_.Append(*date, out);
    FinishCsvField(out, start);
  }
}

// The rows read persons and names all over the tables and the text pool:
// what the rows a little ahead will read is asked for now, so that the
// reads overlap instead of waiting one after the other.
void ReportWriter::WriteRows(CsvRows& rows, size_t begin, size_t end, std::string& out) const {
  constexpr size_t kPersonsAhead = 24;
  constexpr size_t kNamesAhead = 12;
  const std::vector<MatchEntry>& matches = store_.provenance.matches();
  const PersonTable& persons0 = store_.slots[0].persons;
  const PersonTable& persons1 = store_.slots[1].persons;
  for (size_t row = begin; row < end; ++row) {
    if (row + kPersonsAhead < order_.size()) {
      const MatchEntry& later = matches[order_[row + kPersonsAhead]];
      PrefetchPerson(persons0[later.person0]);
      PrefetchPerson(persons1[later.person1]);
      dates_.Prefetch(0, later.person0);
      dates_.Prefetch(1, later.person1);
    }
    if (row + kNamesAhead < order_.size()) {
      const MatchEntry& later = matches[order_[row + kNamesAhead]];
      for (const Person* p : {&persons0[later.person0], &persons1[later.person1]}) {
        __builtin_prefetch(p->givenNames);
        __builtin_prefetch(p->surname);
      }
    }
    size_t index = static_cast<size_t>(order_[row]);
    rows.Row(index, matches[index], out);
  }
}

void ReportWriter::PageRow(size_t row) {
  size_t index = static_cast<size_t>(order_[row]);
  const MatchEntry& match = store_.provenance.matches()[index];
  FillPerson(0, match.person0, sides_[0], true);
  FillPerson(1, match.person1, sides_[1], true);
  PairHtmlRow(index, match,
              Compare(store_.slots[0].persons[match.person0],
                      store_.slots[1].persons[match.person1]));
}

void ReportWriter::AppendPairSide(const PersonCells& cells, const Differences& differences) {
  KeyedCell(cells.number, cells.xref);
  Cell(cells.name, differences.name);
  Cell(cells.sex, differences.sex);
  KeyedCell(cells.birthKey, cells.birth, differences.birth);
  KeyedCell(cells.deathKey, cells.death, differences.death);
}

void ReportWriter::PairHtmlRow(size_t index, const MatchEntry& match,
                               const Differences& differences) {
  std::string number = std::to_string(index + 1);
  bool check = check_[index] != 0;
  Html() += "<tr id=\"p" + number + (check ? "\" class=\"pruefen\">" : "\">");
  KeyedCell(static_cast<long long>(index + 1), number);
  KeyedCell(check ? 0 : 1, check ? "prüfen" : "");
  AppendPairSide(sides_[0], differences);
  AppendPairSide(sides_[1], differences);
  if (match.how == FoundBy::kNameWalk) {
    Cell(rows_.found());
  } else {
    Html() += "<td>";
    Html() += RelationText(match.how);
    Html() += ' ';
    AppendPairLink(match.from0);
    Html() += " (";
    scratch_.clear();
    AppendName(utf8_, store_.slots[0].persons[match.from0], scratch_);
    AppendHtml(scratch_, Html());
    Html() += ")</td>";
  }
  Cell(SameYearsText(match.evidence));
  KeyedCell(match.evidence.givenNameDistance, std::to_string(match.evidence.givenNameDistance));
  KeyedCell(match.evidence.surnameDistance, std::to_string(match.evidence.surnameDistance));
  Cell(rows_.differing());
  Html() += "</tr>\n";
}

// ---------------------------------------------------------------------------
// Hinzugefügt, Widersprüche, Korrekturen

void ReportWriter::AddedPersons(const std::vector<const AdditionEntry*>& persons) {
  static const char* const kColumns[] = {"Datei2", "Ausgabe", "Name", "Geschl.",
                                         "Geburt", "Tod",     nullptr};
  Html() += "<h3>Personen</h3>\n";
  if (!TableStart(persons.size(), "personen", nullptr, kColumns)) return;
  for (size_t row = 0; row < persons.size() && row < kReportRowLimit; ++row) {
    const AdditionEntry& addition = *persons[row];
    PersonCells& cells = sides_[1];
    FillPerson(1, addition.source, cells);
    Html() += "<tr>";
    KeyedCell(cells.number, cells.xref);
    KeyedCell(addition.number, "@I" + std::to_string(addition.number) + "@");
    Cell(cells.name);
    Cell(cells.sex);
    KeyedCell(cells.birthKey, cells.birth);
    KeyedCell(cells.deathKey, cells.death);
    Html() += "</tr>\n";
    Spill();
  }
  TableEnd(persons.size(), "stehen im Protokoll");
}

void ReportWriter::AddedFamilies(const std::vector<const AdditionEntry*>& families) {
  static const char* const kColumns[] = {"Datei2", "Ausgabe", "Mann", "Frau",
                                         "Heirat", "Kinder",  nullptr};
  Html() += "<h3>Familien</h3>\n";
  if (!TableStart(families.size(), "familien", nullptr, kColumns)) return;
  const InputSlot& slot1 = store_.slots[1];
  for (size_t row = 0; row < families.size() && row < kReportRowLimit; ++row) {
    const AdditionEntry& addition = *families[row];
    const Family& family = slot1.families[addition.source];
    Html() += "<tr>";
    KeyedCell(addition.source, FamilyXref(slot1, addition.source));
    KeyedCell(addition.number, "@F" + std::to_string(addition.number) + "@");
    for (int32_t spouse : {family.husband, family.wife}) {
      Html() += "<td>";
      if (spouse != 0 && slot1.persons[spouse].number != 0) AppendPersonSummary(1, spouse);
      Html() += "</td>";
    }
    dates_.OfFamily(1, addition.source, birthText_);
    KeyedCell(DateKey(family.marriage), utf8_.Convert(birthText_));
    KeyedCell(family.children.count(), std::to_string(family.children.count()));
    Html() += "</tr>\n";
    Spill();
  }
  TableEnd(families.size(), "stehen im Protokoll");
}

void ReportWriter::Contradictions() {
  static const char* const kColumns[] = {
      "Art",  "Kind in Datei1", "Kind in Datei2", "Elternteil in Datei1", "Elternteil in Datei2",
      "Paar", nullptr};
  const std::vector<ContradictionEntry>& contradictions = store_.provenance.contradictions();
  SectionStart("widersprueche", "Widersprüche");
  Html() +=
      "<p class=\"hinweis\">Ein Paar wurde verschmolzen, aber sein Vater oder seine Mutter in "
      "Datei1 und in Datei2 nicht: beide Elternteile bleiben getrennt in der Ausgabe.</p>\n";
  if (!TableStart(contradictions.size(), "widersprueche-tabelle", nullptr, kColumns)) return;
  for (size_t row = 0; row < contradictions.size() && row < kReportRowLimit; ++row) {
    const ContradictionEntry& entry = contradictions[row];
    Html() += "<tr>";
    Cell(entry.father ? "Vater" : "Mutter");
    const int32_t persons[4][2] = {
        {0, entry.child0}, {1, entry.child1}, {0, entry.parent0}, {1, entry.parent1}};
    for (const auto& [slot, person] : persons) {
      Html() += "<td>";
      AppendPersonSummary(slot, person);
      Html() += "</td>";
    }
    Html() += "<td>";
    AppendPairLink(entry.child0);
    Html() += "</td></tr>\n";
    Spill();
  }
  TableEnd(contradictions.size(), "stehen im Protokoll");
}

void ReportWriter::Corrections(int slot) {
  static const char* const kColumns[] = {"Nr.", "Befund", nullptr};
  const LoadEntry& load = store_.provenance.load(slot);
  std::vector<std::string_view> findings = SplitFindings(load.findings);
  SectionStart(slot == 0 ? "korrekturen1" : "korrekturen2",
               slot == 0 ? "Korrekturen Datei1" : "Korrekturen Datei2");
  Html() +=
      "<p class=\"hinweis\">Was die Prüfung beim Laden fand und richtigstellte, "
      "wie es im Protokoll steht; das Protokoll zählt " +
      GroupedNumber(load.corrections) + " automatisch korrigierte Fehler.</p>\n";
  if (!TableStart(findings.size(), slot == 0 ? "korrekturen1-tabelle" : "korrekturen2-tabelle",
                  nullptr, kColumns)) {
    return;
  }
  for (size_t row = 0; row < findings.size() && row < kReportRowLimit; ++row) {
    Html() += "<tr>";
    KeyedCell(static_cast<long long>(row + 1), std::to_string(row + 1));
    Html() += "<td class=\"befund\">";
    AppendHtml(utf8_.Convert(findings[row]), Html());
    Html() += "</td></tr>\n";
    Spill();
  }
  TableEnd(findings.size(), "stehen im Protokoll");
}

}  // namespace

ReportPaths ReportPathsFor(const std::string& outputPath) {
  size_t slash = outputPath.rfind('/');
  size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
  size_t dot = outputPath.rfind('.');
  std::string stem =
      dot == std::string::npos || dot < nameStart ? outputPath : outputPath.substr(0, dot);
  return ReportPaths{stem + ".html", stem + "-paare.csv"};
}

std::string ReportDateNow() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[40];
  std::strftime(text, sizeof(text), "%d.%m.%Y, %H:%M Uhr", &local);
  return text;
}

// ---------------------------------------------------------------------------
// Before the export

ReportPreparation::ReportPreparation(Store& store)
    : store_(store), dates_(std::make_unique<WrittenDates>(store)) {}

ReportPreparation::~ReportPreparation() = default;

// Every person, not only those of the merged pairs: the dates are read
// before the pairs are known, on a core the name walk leaves idle.
void ReportPreparation::ReadDates(bool sideBySide) {
  constexpr size_t kWorthAThread = 4096;
  SideBySide(
      sideBySide && std::min(store_.slots[0].persons.size(), store_.slots[1].persons.size()) >=
                        kWorthAThread,
      [this] { dates_->Locate(0); }, [this] { dates_->Locate(1); });
  read_ = true;
}

ReportOutcome WriteMergeReport(Store& store, const std::string& outputPath,
                               const ReportPaths& paths, std::string_view date,
                               ReportPreparation* prepared) {
  ReportPreparation own(store);
  ReportWriter writer(store, outputPath, paths, date, prepared != nullptr ? *prepared : own);
  return writer.Write();
}

}  // namespace kw
