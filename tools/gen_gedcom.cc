// gen_gedcom: writes large synthetic GEDCOM 5.5.1 files of German families,
// deterministic from a seed, for load and merge benchmarks and sanitizer runs.
//
//   gen_gedcom --persons N [--seed S] [--encoding ansi|utf8] [--order name] OUTPUT.ged
//   gen_gedcom --pair --persons N [--overlap F] [--seed S] [--encoding ansi|utf8]
//              [--order name] [--map MAP.txt] OUTPUT1.ged OUTPUT2.ged
//
// The work is done in two steps so that one world can be written as several
// overlapping files: the WorldBuilder invents persons, families, dates and
// places; the GedcomWriter writes the part of the world that a FileView
// selects, with the view's own record numbers, choosing date forms and
// (rarely) name spellings as it goes. A single file views the whole world.
// A pair views two kin-connected regions of a larger world that share a
// fraction F of each file's N persons; the second file is numbered in a
// shuffled order, spells more names otherwise, writes dates in other forms,
// now and then lacks a date the first file has (or the other way round), and
// contradicts the first file's birth year for about one person in a hundred.
//
// Every link is stated on both sides (HUSB/WIFE/CHIL and FAMS/FAMC), so a
// generated file loads without findings of the consistency check.

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/fold.h"

namespace kw {
namespace {

// The largest files written. Note and source numbers stay below 200000:
// the tool numbers notes and sources of higher numbers by name only.
constexpr int kMaxPersonNumber = 999999;
constexpr int kMaxFamilyNumber = 999999;
constexpr int kMaxNoteNumber = 199999;
constexpr int kMaxSourceNumber = 199999;

// ---------------------------------------------------------------------------
// Random numbers: splitmix64, small and fast, and the same on every platform
// (the standard distributions are not, so none of them is used).

class Rng {
 public:
  explicit Rng(uint64_t seed) : state_(seed) {}

  uint64_t Next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }

  // A number from 0 to n - 1 (n > 0).
  int Below(int n) {
    return static_cast<int>(((Next() >> 32) * static_cast<uint64_t>(n)) >> 32);
  }

  // From lo to hi, both included.
  int Between(int lo, int hi) { return lo + Below(hi - lo + 1); }

  // True with a chance of per_mille in 1000.
  bool Chance(int per_mille) { return Below(1000) < per_mille; }

  // Skewed towards the front of a table: entry 0 is the most common.
  int Skewed(int n) { return Below(Below(n) + 1); }

 private:
  uint64_t state_;
};

// ---------------------------------------------------------------------------
// Text tables, written in UTF-8 and converted to the output's encoding when a
// writer starts. A name table entry lists the spellings of one name,
// separated by "|"; the first is the common one.

const char* const kSurnames[] = {
    "Müller|Mueller|Müler", "Schmidt|Schmitt|Schmid", "Meier|Mayer|Meyer|Maier",
    "Schneider|Schnaider", "Fischer", "Weber", "Schäfer|Schaefer|Schäffer",
    "Wagner|Wagener", "Becker|Bäcker", "Hoffmann|Hofmann", "Schulz|Schultz|Schulze",
    "Koch", "Bauer|Baur", "Richter", "Klein", "Wolf|Wolff", "Schröder|Schroeder",
    "Neumann", "Schwarz|Schwartz", "Zimmermann", "Braun", "Krüger|Krueger",
    "Hartmann", "Lange", "Werner", "Krause", "Lehmann", "Huber|Hueber",
    "Kaiser|Kayser|Keyser", "Fuchs", "Köhler|Koehler|Kohler", "Jäger|Jaeger|Jeger",
    "Groß|Gross", "Weiß|Weiss", "Möller|Moeller", "Scholz", "Jung", "Hahn",
    "Schubert", "Vogel", "Keller", "Günther|Guenther|Günter", "Frank", "Berger",
    "Winkler", "Roth|Rot", "Beck", "Lorenz", "Baumann", "Albrecht", "Schuster",
    "Böhm|Boehm|Böhme", "Winter", "Kraus|Krauß|Krauss", "Schuhmacher|Schumacher",
    "Krämer|Kraemer|Kremer", "Vogt|Voigt", "Stein", "Sommer", "Seidel",
    "Brandt|Brand", "Haas|Haase", "Schreiber", "Graf|Graff", "Dietrich",
    "Ziegler", "Kühn|Kuehn|Kuhn", "Engel", "Horn", "Pfeiffer|Pfeifer",
    "Straßer|Strasser", "Nußbaum|Nussbaum", "Süß|Süss|Suess", "Rößler|Roessler",
    "Häußler|Häussler|Heussler", "Dürr|Duerr", "Fürst|Fuerst", "Bäuerle",
    "Öttinger|Oettinger", "Ühlein|Uehlein", "Äberle|Aeberle|Eberle", "Löffler",
    "Gößwein", "Rüdiger", "Schäuble", "Wörner", "Mühlbauer|Muehlbauer"};

const char* const kMaleNames[] = {
    "Johann", "Johann Georg", "Georg", "Johannes", "Johann Adam", "Johann Jakob",
    "Hans", "Jürgen", "Günther|Günter", "Friedrich", "Wilhelm", "Karl|Carl",
    "Heinrich", "Jakob|Jacob", "Michael", "Andreas", "Peter", "Paul", "Martin",
    "Christian", "Franz", "Josef|Joseph", "Ludwig", "August", "Gottlieb",
    "Gottfried", "Konrad|Conrad", "Philipp", "Matthäus", "Balthasar",
    "Kaspar|Caspar", "Sebastian", "Ernst", "Otto", "Hermann", "Walter|Walther",
    "Hans-Jürgen", "Jörg", "Bernhard", "Ulrich", "Rüdiger", "Lothar", "Klaus|Claus",
    "Götz", "Jörg Peter", "Anton", "Leonhard", "Valentin"};

const char* const kFemaleNames[] = {
    "Anna", "Maria", "Anna Maria", "Maria Magdalena", "Katharina|Catharina",
    "Käthe", "Elisabeth|Elisabetha", "Margaretha|Margarethe|Margareta",
    "Barbara", "Eva", "Christina|Christine", "Sophie|Sophia", "Dorothea",
    "Susanna", "Johanna", "Luise|Louise", "Wilhelmine", "Friederike",
    "Karoline|Caroline", "Auguste", "Emma", "Bertha|Berta", "Frieda", "Gertrud",
    "Hedwig", "Helene", "Ursula", "Bärbel", "Lotte", "Grete", "Änne",
    "Theresia|Therese", "Walburga", "Kunigunde", "Ottilie", "Mathilde",
    "Anna Barbara", "Eva Rosina", "Rosine|Rosina", "Jülie"};

const char* const kPlaces[] = {
    "München, Oberbayern", "Nürnberg, Mittelfranken", "Würzburg, Unterfranken",
    "Fürth, Mittelfranken", "Köln, Rheinprovinz", "Düsseldorf, Rheinprovinz",
    "Münster, Westfalen", "Lübeck", "Göttingen, Hannover", "Tübingen, Württemberg",
    "Lörrach, Baden", "Müllheim, Baden", "Gießen, Hessen", "Saarbrücken",
    "Osnabrück, Hannover", "Bückeburg, Schaumburg-Lippe", "Lüneburg, Hannover",
    "Straßburg, Elsass", "Rüdesheim am Rhein, Nassau", "Königsberg, Ostpreußen",
    "Görlitz, Schlesien", "Weißenburg, Mittelfranken", "Großbottwar, Württemberg",
    "Mühlhausen, Thüringen", "Zweibrücken, Pfalz", "Überlingen, Baden",
    "Öhringen, Württemberg", "Ägidienberg, Rheinprovinz", "Bad Tölz, Oberbayern",
    "Neuötting, Oberbayern", "Fürstenfeldbruck, Oberbayern", "Schwäbisch Hall, Württemberg",
    "Höchst am Main, Hessen", "Sankt Märgen, Baden", "Dürkheim, Pfalz",
    "Kirchheim unter Teck, Württemberg", "Nördlingen, Schwaben", "Füssen, Schwaben",
    "Lößnitz, Sachsen", "Oberweißbach, Thüringen"};

const char* const kOccupations[] = {
    "Bauer", "Tagelöhner", "Bäcker", "Müller", "Schmied", "Weber", "Schäfer",
    "Lehrer", "Pfarrer", "Schuhmacher", "Zimmermann", "Händler", "Gastwirt",
    "Fuhrmann", "Küfer", "Schneider", "Maurer", "Metzger", "Bürgermeister",
    "Förster", "Häusler", "Näherin", "Magd", "Knecht", "Wäscherin"};

const char* const kNoteSentences[] = {
    "Laut Kirchenbuch getauft in der Pfarrkirche St. Georg.",
    "Die Familie zog später nach Württemberg.",
    "Eintrag schwer lesbar; die Schreibweise des Namens ist unsicher.",
    "Pate: Johann Georg Müller, Bäckermeister.",
    "Quelle: „Ortssippenbuch“, S. 112.",
    "Vermerk des Pfarrers: »ledig verstorben«.",
    "Auswanderung nach Amerika geplant – nicht erfolgt.",
    "Größe des Hofes: zwölf Morgen Äcker und Wiesen.",
    "Gebühr für die Abschrift: 5 € beim Standesamt.",
    "Nach dem Tod des Vaters übernahm er die Mühle.",
    "Im Hungerjahr 1817 verlor die Familie zwei Kinder.",
    "Er diente drei Jahre beim Königlich Bayerischen Infanterie-Regiment.",
    "Die Trauung fand im Haus der Brautmutter statt.",
    "Taufzeugen waren die Großeltern mütterlicherseits.",
    "Später wohnhaft in der Schloßstraße 7.",
    "Nachlass geregelt am 3. Mai; Erbe: 200 Gulden.",
    "Geburt unehelich, später durch Heirat legitimiert.",
    "Der Name wird im Kirchenbuch auch „Mayer“ geschrieben.",
    "Angaben nach mündlicher Überlieferung der Enkelin Käthe.",
    "Todesursache laut Sterbebuch: Auszehrung."};

const char* const kSourceKinds[] = {
    "Kirchenbuch", "Taufbuch", "Ehebuch", "Sterbebuch", "Familienregister",
    "Standesamtsregister", "Ortssippenbuch"};

const char* const kSourceAuthors[] = {
    "Evangelisches Pfarramt", "Katholisches Pfarramt", "Standesamt",
    "Gemeindearchiv", "Verein für Familienkunde"};

const char* const kEnglishMonths[] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                      "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
const char* const kGermanMonths[] = {"JAN", "FEB", "MÄR", "APR", "MAI", "JUN",
                                     "JUL", "AUG", "SEP", "OKT", "NOV", "DEZ"};

template <typename T, size_t N>
constexpr int Count(const T (&)[N]) {
  return static_cast<int>(N);
}

// ---------------------------------------------------------------------------
// Encodings.

enum class Encoding { kAnsi, kUtf8 };

// Windows-1252 bytes 0x80..0x9F and the characters they stand for.
struct Cp1252Extra {
  uint32_t code_point;
  char byte;
};
const Cp1252Extra kCp1252Extras[] = {
    {0x20AC, '\x80'}, {0x201A, '\x82'}, {0x0192, '\x83'}, {0x201E, '\x84'},
    {0x2026, '\x85'}, {0x2020, '\x86'}, {0x2021, '\x87'}, {0x02C6, '\x88'},
    {0x2030, '\x89'}, {0x0160, '\x8A'}, {0x2039, '\x8B'}, {0x0152, '\x8C'},
    {0x017D, '\x8E'}, {0x2018, '\x91'}, {0x2019, '\x92'}, {0x201C, '\x93'},
    {0x201D, '\x94'}, {0x2022, '\x95'}, {0x2013, '\x96'}, {0x2014, '\x97'},
    {0x02DC, '\x98'}, {0x2122, '\x99'}, {0x0161, '\x9A'}, {0x203A, '\x9B'},
    {0x0153, '\x9C'}, {0x017E, '\x9E'}, {0x0178, '\x9F'}};

char Cp1252Byte(uint32_t code_point) {
  if (code_point < 0x80 || (code_point >= 0xA0 && code_point <= 0xFF)) {
    return static_cast<char>(code_point);
  }
  for (const Cp1252Extra& extra : kCp1252Extras) {
    if (extra.code_point == code_point) return extra.byte;
  }
  return '?';
}

// Converts one of the UTF-8 table texts above to the output encoding.
std::string Encode(std::string_view utf8, Encoding encoding) {
  if (encoding == Encoding::kUtf8) return std::string(utf8);
  std::string out;
  size_t i = 0;
  while (i < utf8.size()) {
    unsigned char lead = static_cast<unsigned char>(utf8[i]);
    int length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    uint32_t code_point = length == 1 ? lead : lead & (0x3F >> (length - 1));
    for (int k = 1; k < length && i + k < utf8.size(); ++k) {
      code_point = (code_point << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
    }
    out += Cp1252Byte(code_point);
    i += length;
  }
  return out;
}

// A table of names, each with its spellings, in one encoding.
using NameTable = std::vector<std::vector<std::string>>;

NameTable MakeNameTable(const char* const* entries, int count, Encoding encoding) {
  NameTable table;
  for (int i = 0; i < count; ++i) {
    std::vector<std::string> spellings;
    std::string_view rest = entries[i];
    for (;;) {
      size_t bar = rest.find('|');
      spellings.push_back(Encode(rest.substr(0, bar), encoding));
      if (bar == std::string_view::npos) break;
      rest.remove_prefix(bar + 1);
    }
    table.push_back(spellings);
  }
  return table;
}

std::vector<std::string> MakeTextTable(const char* const* entries, int count,
                                       Encoding encoding) {
  std::vector<std::string> table;
  for (int i = 0; i < count; ++i) table.push_back(Encode(entries[i], encoding));
  return table;
}

// ---------------------------------------------------------------------------
// The world: what is true about everyone, independent of any file.

struct Date {
  int16_t year = 0;
  int8_t month = 1;
  int8_t day = 1;
};

int DaysInMonth(int month) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return kDays[month - 1];
}

Date AddDays(Date date, int days) {
  int day = date.day + days;
  while (day > DaysInMonth(date.month)) {
    day -= DaysInMonth(date.month);
    if (++date.month > 12) {
      date.month = 1;
      ++date.year;
    }
  }
  date.day = static_cast<int8_t>(day);
  return date;
}

struct Event {
  Date date;
  int16_t place = 0;
};

enum EventKind { kBirth, kChristening, kDeath, kBurial, kEventKinds };
const char* const kEventTags[kEventKinds] = {"BIRT", "CHR", "DEAT", "BURI"};

// A name: an entry of a name table and the spelling this person's line uses.
struct NameRef {
  int16_t entry = 0;
  int8_t spelling = 0;
};

struct Person {
  NameRef surname;
  NameRef given;
  char sex = 'M';
  uint8_t recorded = 0;  // bit per EventKind: the event is in the records
  Event events[kEventKinds];
  int16_t occupation = -1;   // -1: none recorded
  int32_t source = -1;       // -1: no citation
  uint32_t note_seed = 0;    // 0: no note
  int32_t parent_family = -1;
  int32_t spouse_families[2] = {-1, -1};
};

struct Family {
  int32_t husband = -1;
  int32_t wife = -1;
  int32_t first_child = 0;  // children are consecutive persons
  int32_t child_count = 0;
  bool marriage_recorded = false;
  Event marriage;
  int16_t home = 0;  // the place where the children are born
  uint32_t note_seed = 0;
};

struct World {
  std::vector<Person> persons;
  std::vector<Family> families;
  int source_count = 0;
};

// ---------------------------------------------------------------------------
// Building the world generation by generation: founder couples first, then
// each generation's unmarried children marry one another or newcomers, and
// their families have the next generation. The number of families per
// generation is held steady, so the tree is deep (about eleven generations
// from 1600 on) rather than wide.

constexpr int kFirstYear = 1600;
constexpr int kYearsPerGeneration = 30;
constexpr int kGenerations = 11;
constexpr int kLastYear = 2020;

class WorldBuilder {
 public:
  WorldBuilder(int person_target, int family_limit, uint64_t seed)
      : person_target_(person_target),
        family_limit_(family_limit),
        rng_(seed),
        surnames_(MakeNameTable(kSurnames, Count(kSurnames), Encoding::kUtf8)),
        male_names_(MakeNameTable(kMaleNames, Count(kMaleNames), Encoding::kUtf8)),
        female_names_(MakeNameTable(kFemaleNames, Count(kFemaleNames), Encoding::kUtf8)) {}

  World Build() {
    world_.persons.reserve(person_target_);
    world_.source_count =
        std::min(kMaxSourceNumber, std::max(5, person_target_ / 150));
    families_per_generation_ =
        std::max(1, static_cast<int>(person_target_ / (kGenerations * 2.65)));
    std::vector<int> pool;
    for (int generation = 0; !PersonsFull() && !FamiliesFull(); ++generation) {
      pool = RunGeneration(generation, std::move(pool));
    }
    AddLoners();
    return std::move(world_);
  }

 private:
  bool PersonsFull() const {
    return static_cast<int>(world_.persons.size()) >= person_target_;
  }
  bool FamiliesFull() const {
    return static_cast<int>(world_.families.size()) >= family_limit_;
  }

  // Marries the generation's unmarried persons (pool) and newcomers into a
  // steady number of families; returns their children, the next pool.
  std::vector<int> RunGeneration(int generation, std::vector<int> pool) {
    Shuffle(pool);
    std::vector<int> men, women;
    for (int p : pool) {
      if (DiedYoung(world_.persons[p])) continue;
      (world_.persons[p].sex == 'M' ? men : women).push_back(p);
    }

    int base_year = kFirstYear + generation * kYearsPerGeneration;
    int wanted = families_per_generation_;
    int inside = std::min({wanted * 11 / 20, static_cast<int>(men.size()),
                           static_cast<int>(women.size())});
    size_t next_man = 0, next_woman = 0;
    std::vector<int> children;
    for (int f = 0; f < wanted && !PersonsFull() && !FamiliesFull(); ++f) {
      int husband = -1, wife = -1;
      if (f < inside) {
        husband = men[next_man++];
        wife = TakeNonSibling(women, next_woman, world_.persons[husband].parent_family);
      } else if (rng_.Below(2) == 0 && next_man < men.size()) {
        husband = men[next_man++];
      } else if (next_woman < women.size()) {
        wife = women[next_woman++];
      } else if (next_man < men.size()) {
        husband = men[next_man++];
      }
      if (husband < 0) husband = NewNewcomer('M', PartnerBirthYear(wife, base_year));
      if (wife < 0 && !PersonsFull()) {
        wife = NewNewcomer('F', PartnerBirthYear(husband, base_year));
      }
      FoundFamily(husband, wife, children);
    }
    return children;
  }

  // Children who died before they could marry stay out of the pool.
  static bool DiedYoung(const Person& person) {
    return person.events[kDeath].date.year - person.events[kBirth].date.year < 16;
  }

  // The next woman who is not a sister of the husband; a sister is skipped
  // and stays single.
  int TakeNonSibling(const std::vector<int>& women, size_t& next, int parent_family) {
    while (next < women.size()) {
      int wife = women[next++];
      if (parent_family < 0 || world_.persons[wife].parent_family != parent_family) {
        return wife;
      }
    }
    return -1;
  }

  int PartnerBirthYear(int partner, int base_year) {
    int year = partner >= 0 ? world_.persons[partner].events[kBirth].date.year
                            : base_year;
    return year + rng_.Between(-6, 6);
  }

  // A family of husband and wife (wife may be -1 when the persons ran out),
  // its marriage, perhaps a second marriage, and its children.
  void FoundFamily(int husband, int wife, std::vector<int>& children) {
    int born = world_.persons[husband].events[kBirth].date.year;
    if (wife >= 0) born = std::max<int>(born, world_.persons[wife].events[kBirth].date.year);
    int marriage_year = born + rng_.Between(19, 32);
    int f = NewFamily(husband, wife, marriage_year);
    int last_birth = RaiseChildren(f, marriage_year, ChildCount(), children);
    SurviveUntil(husband, last_birth);
    if (wife >= 0) SurviveUntil(wife, last_birth);

    if (rng_.Chance(60)) Remarry(husband, last_birth + rng_.Between(1, 5), children);
  }

  // A widower's second family with a newcomer, usually with few children.
  void Remarry(int person, int year, std::vector<int>& children) {
    if (PersonsFull() || FamiliesFull() || year >= kLastYear) return;
    int second = NewNewcomer('F', year - rng_.Between(20, 30));
    int f = NewFamily(person, second, year);
    int last_birth = RaiseChildren(f, year, rng_.Below(3), children);
    SurviveUntil(person, last_birth);
    SurviveUntil(second, last_birth);
  }

  int ChildCount() {
    int count = rng_.Below(3) + rng_.Below(2);
    if (rng_.Chance(100)) count += rng_.Between(2, 10);
    return count;
  }

  // Parents live at least until their last child is born (or the marriage).
  void SurviveUntil(int p, int year) {
    Person& person = world_.persons[p];
    Event* events = person.events;
    if (events[kDeath].date.year > year) return;
    events[kDeath].date = RandomDate(year + rng_.Between(1, 40));
    events[kBurial].date = AddDays(events[kDeath].date, rng_.Between(2, 4));
    if (events[kDeath].date.year >= kLastYear) {
      person.recorded &= ~((1 << kDeath) | (1 << kBurial));
    }
  }

  int NewFamily(int husband, int wife, int marriage_year) {
    int f = static_cast<int>(world_.families.size());
    Family family;
    family.husband = husband;
    family.wife = wife;
    family.marriage.date = RandomDate(marriage_year);
    family.marriage_recorded = rng_.Chance(850);
    Person& anchor = world_.persons[wife >= 0 ? wife : husband];
    family.marriage.place = anchor.events[kBirth].place;
    family.home = rng_.Chance(800) ? anchor.events[kBirth].place : RandomPlace();
    if (rng_.Chance(50)) family.note_seed = NoteSeed();
    world_.families.push_back(family);
    LinkSpouse(husband, f);
    if (wife >= 0) LinkSpouse(wife, f);
    return f;
  }

  void LinkSpouse(int person, int f) {
    int32_t* slots = world_.persons[person].spouse_families;
    if (slots[0] < 0) {
      slots[0] = f;
    } else {
      slots[1] = f;
    }
  }

  // Returns the year of the last birth (the marriage year without children).
  int RaiseChildren(int f, int marriage_year, int count, std::vector<int>& children) {
    world_.families[f].first_child = static_cast<int>(world_.persons.size());
    int year = marriage_year;
    for (int i = 0; i < count && !PersonsFull(); ++i) {
      year += rng_.Between(1, 3);
      const Family& family = world_.families[f];
      const Person& father = world_.persons[family.husband];
      char sex = rng_.Below(2) == 0 ? 'M' : 'F';
      int place = rng_.Chance(850) ? family.home : RandomPlace();
      int child = NewPerson(sex, father.surname, year, place, f);
      children.push_back(child);
      ++world_.families[f].child_count;
    }
    return year;
  }

  // A person who marries into the tree: no parents in the world.
  int NewNewcomer(char sex, int birth_year) {
    NameRef surname;
    surname.entry = static_cast<int16_t>(rng_.Skewed(static_cast<int>(surnames_.size())));
    surname.spelling = static_cast<int8_t>(
        rng_.Skewed(static_cast<int>(surnames_[surname.entry].size())));
    return NewPerson(sex, surname, birth_year, RandomPlace(), -1);
  }

  int NewPerson(char sex, NameRef surname, int birth_year, int place, int parent_family) {
    Person person;
    person.sex = sex;
    person.surname = surname;
    const NameTable& names = sex == 'M' ? male_names_ : female_names_;
    person.given.entry = static_cast<int16_t>(rng_.Skewed(static_cast<int>(names.size())));
    person.given.spelling = static_cast<int8_t>(
        rng_.Skewed(static_cast<int>(names[person.given.entry].size())));
    person.parent_family = parent_family;
    FillEvents(person, std::min(birth_year, kLastYear), place);
    if (rng_.Chance(300)) person.occupation = static_cast<int16_t>(rng_.Below(Count(kOccupations)));
    if (rng_.Chance(250)) person.source = rng_.Below(world_.source_count);
    if (rng_.Chance(100)) person.note_seed = NoteSeed();
    world_.persons.push_back(person);
    return static_cast<int>(world_.persons.size()) - 1;
  }

  void FillEvents(Person& person, int birth_year, int place) {
    Event* events = person.events;
    events[kBirth].date = RandomDate(birth_year);
    events[kBirth].place = static_cast<int16_t>(place);
    events[kChristening].date = AddDays(events[kBirth].date, rng_.Between(0, 7));
    events[kChristening].place = static_cast<int16_t>(place);
    int age = rng_.Chance(100) ? rng_.Between(0, 10) : rng_.Between(35, 92);
    events[kDeath].date = RandomDate(birth_year + age);
    events[kDeath].place = rng_.Chance(700) ? static_cast<int16_t>(place) : RandomPlace();
    events[kBurial].date = AddDays(events[kDeath].date, rng_.Between(2, 4));
    events[kBurial].place = events[kDeath].place;

    bool dead = events[kDeath].date.year < kLastYear;
    if (rng_.Chance(920)) person.recorded |= 1 << kBirth;
    if (rng_.Chance(450)) person.recorded |= 1 << kChristening;
    if (dead && rng_.Chance(750)) person.recorded |= 1 << kDeath;
    if (dead && rng_.Chance(350)) person.recorded |= 1 << kBurial;
  }

  // When the family numbers are used up, the rest of the persons stand alone,
  // as unconnected persons do in real files.
  void AddLoners() {
    while (!PersonsFull()) {
      int year = rng_.Between(kFirstYear, kLastYear - 20);
      NewNewcomer(rng_.Below(2) == 0 ? 'M' : 'F', year);
    }
  }

  Date RandomDate(int year) {
    Date date;
    date.year = static_cast<int16_t>(year);
    date.month = static_cast<int8_t>(rng_.Between(1, 12));
    date.day = static_cast<int8_t>(rng_.Between(1, DaysInMonth(date.month)));
    return date;
  }

  int16_t RandomPlace() { return static_cast<int16_t>(rng_.Skewed(Count(kPlaces))); }

  uint32_t NoteSeed() { return static_cast<uint32_t>(rng_.Next() >> 33) + 1; }

  void Shuffle(std::vector<int>& items) {
    for (int i = static_cast<int>(items.size()) - 1; i > 0; --i) {
      std::swap(items[i], items[rng_.Below(i + 1)]);
    }
  }

  const int person_target_;
  const int family_limit_;
  Rng rng_;
  const NameTable surnames_;
  const NameTable male_names_;
  const NameTable female_names_;
  int families_per_generation_ = 1;
  World world_;
};

// ---------------------------------------------------------------------------
// File views: which part of the world a file holds and under which numbers.
// A number of 0 means "not in this file". Every number must stay within the
// limits at the top of this file.

struct FileView {
  std::vector<int> person_numbers;
  std::vector<int> family_numbers;
  std::vector<int> source_numbers;
};

FileView WholeWorldView(const World& world) {
  FileView view;
  view.person_numbers.resize(world.persons.size());
  view.family_numbers.resize(world.families.size());
  view.source_numbers.resize(world.source_count);
  for (size_t i = 0; i < view.person_numbers.size(); ++i) view.person_numbers[i] = static_cast<int>(i) + 1;
  for (size_t i = 0; i < view.family_numbers.size(); ++i) view.family_numbers[i] = static_cast<int>(i) + 1;
  for (size_t i = 0; i < view.source_numbers.size(); ++i) view.source_numbers[i] = static_cast<int>(i) + 1;
  return view;
}

// World indices ordered by their number in the view; absent ones left out.
std::vector<int> InNumberOrder(const std::vector<int>& numbers) {
  int highest = 0;
  for (int n : numbers) highest = std::max(highest, n);
  std::vector<int> by_number(highest + 1, -1);
  for (size_t i = 0; i < numbers.size(); ++i) {
    if (numbers[i] > 0) by_number[numbers[i]] = static_cast<int>(i);
  }
  std::vector<int> order;
  for (int index : by_number) {
    if (index >= 0) order.push_back(index);
  }
  return order;
}

// ---------------------------------------------------------------------------
// Pair views: two kin-connected regions of one world. Both grow
// breadth-first over the kin graph (persons and the families that join
// them). The first grows from a random person; the second from the person
// the first reached last, on its outer shell, and takes persons of the first
// region until the shared share is reached and others until the rest is, so
// the shared persons lie where the two regions meet, as they do when two
// researchers work on neighbouring branches of one family.

enum RegionState : uint8_t { kFree, kInFirst, kTaken };

// How many persons a region may still take of each kind.
struct RegionBudget {
  int free = 0;      // persons in no region yet
  int in_first = 0;  // persons of the first region
};

class RegionGrower {
 public:
  RegionGrower(const World& world, Rng& rng)
      : world_(world), rng_(rng), family_done_(world.families.size(), false) {}

  // Grows `region` from `start` (or a random person when it is -1) until the
  // budget is spent; when the kin graph around it is used up, the growth
  // goes on from another random person. Persons taken are marked kTaken.
  void Grow(std::vector<uint8_t>& state, std::vector<int>& region, int start,
            RegionBudget budget) {
    std::fill(family_done_.begin(), family_done_.end(), false);
    size_t head = region.size();
    if (start >= 0 && CanTake(state[start], budget)) Take(start, state, region, budget);
    while (budget.free > 0 || budget.in_first > 0) {
      if (head == region.size()) {
        int other = RandomTakeable(state, budget);
        if (other < 0) return;
        Take(other, state, region, budget);
        continue;
      }
      const Person& person = world_.persons[region[head++]];
      VisitFamily(person.parent_family, state, region, budget);
      for (int f : person.spouse_families) VisitFamily(f, state, region, budget);
    }
  }

 private:
  void VisitFamily(int f, std::vector<uint8_t>& state, std::vector<int>& region,
                   RegionBudget& budget) {
    if (f < 0 || family_done_[f]) return;
    family_done_[f] = true;
    const Family& family = world_.families[f];
    for (int p : {family.husband, family.wife}) {
      if (p >= 0 && CanTake(state[p], budget)) Take(p, state, region, budget);
    }
    for (int i = 0; i < family.child_count; ++i) {
      int child = family.first_child + i;
      if (CanTake(state[child], budget)) Take(child, state, region, budget);
    }
  }

  static bool CanTake(uint8_t state, const RegionBudget& budget) {
    return (state == kFree && budget.free > 0) || (state == kInFirst && budget.in_first > 0);
  }

  static void Take(int p, std::vector<uint8_t>& state, std::vector<int>& region,
                   RegionBudget& budget) {
    --(state[p] == kFree ? budget.free : budget.in_first);
    state[p] = kTaken;
    region.push_back(p);
  }

  // A random person the budget allows, or -1 when there is none.
  int RandomTakeable(const std::vector<uint8_t>& state, const RegionBudget& budget) {
    int count = static_cast<int>(state.size());
    if (count == 0) return -1;
    int start = rng_.Below(count);
    for (int i = 0; i < count; ++i) {
      int p = (start + i) % count;
      if (CanTake(state[p], budget)) return p;
    }
    return -1;
  }

  const World& world_;
  Rng& rng_;
  std::vector<bool> family_done_;
};

// A family belongs to a view when at least two of its members do (or its
// only member). Beyond the family number limit, the families with the fewest
// members in the view are left out; their links then go unwritten on both
// sides.
std::vector<int> FamiliesOf(const World& world, const std::vector<int>& person_numbers) {
  std::vector<int> included;
  std::vector<int> members_in_view(world.families.size(), 0);
  for (size_t f = 0; f < world.families.size(); ++f) {
    const Family& family = world.families[f];
    int members = 0, in_view = 0;
    auto count = [&](int p) {
      if (p < 0) return;
      ++members;
      if (person_numbers[p] != 0) ++in_view;
    };
    count(family.husband);
    count(family.wife);
    for (int i = 0; i < family.child_count; ++i) count(family.first_child + i);
    members_in_view[f] = in_view;
    if (in_view >= std::min(2, members)) included.push_back(static_cast<int>(f));
  }
  if (static_cast<int>(included.size()) > kMaxFamilyNumber) {
    std::stable_sort(included.begin(), included.end(), [&](int a, int b) {
      return members_in_view[a] > members_in_view[b];
    });
    included.resize(kMaxFamilyNumber);
    std::sort(included.begin(), included.end());
  }
  return included;
}

// Numbers the listed world indices 1, 2, ... in the order given, or in a
// shuffled order so that the numbers say nothing about the other file.
void Number(std::vector<int>& numbers, size_t world_size, std::vector<int> indices,
            bool shuffled, Rng& rng) {
  numbers.assign(world_size, 0);
  if (shuffled) {
    for (int i = static_cast<int>(indices.size()) - 1; i > 0; --i) {
      std::swap(indices[i], indices[rng.Below(i + 1)]);
    }
  }
  for (size_t i = 0; i < indices.size(); ++i) numbers[indices[i]] = static_cast<int>(i) + 1;
}

// Puts persons in the order of their names as the tool orders them (folded
// surname, then given name; the usual spelling of each), the order in which
// many programs export their persons.
void SortByName(const World& world, std::vector<int>& persons) {
  const NameTable surnames = MakeNameTable(kSurnames, Count(kSurnames), Encoding::kAnsi);
  const NameTable males = MakeNameTable(kMaleNames, Count(kMaleNames), Encoding::kAnsi);
  const NameTable females = MakeNameTable(kFemaleNames, Count(kFemaleNames), Encoding::kAnsi);
  auto given = [&](const Person& p) -> const std::string& {
    return (p.sex == 'M' ? males : females)[p.given.entry][p.given.spelling];
  };
  std::stable_sort(persons.begin(), persons.end(), [&](int a, int b) {
    const Person& x = world.persons[a];
    const Person& y = world.persons[b];
    const std::string& sx = surnames[x.surname.entry][x.surname.spelling];
    const std::string& sy = surnames[y.surname.entry][y.surname.spelling];
    int order = FoldCompare(sx.c_str(), sy.c_str(), 1000);
    if (order == 0) order = FoldCompare(given(x).c_str(), given(y).c_str(), 1000);
    return order > 0;
  });
}

FileView MakeView(const World& world, std::vector<int> persons, bool shuffled, bool byName,
                  Rng& rng) {
  std::sort(persons.begin(), persons.end());
  FileView view;
  if (byName) {
    SortByName(world, persons);
    Number(view.person_numbers, world.persons.size(), persons, false, rng);
  } else {
    Number(view.person_numbers, world.persons.size(), persons, shuffled, rng);
  }
  Number(view.family_numbers, world.families.size(), FamiliesOf(world, view.person_numbers),
         shuffled, rng);
  std::vector<int> sources(world.source_count);
  for (int s = 0; s < world.source_count; ++s) sources[s] = s;
  Number(view.source_numbers, world.source_count, sources, shuffled, rng);
  return view;
}

struct PairViews {
  FileView first;
  FileView second;
  int shared = 0;
};

// Two views of `per_file` persons each (fewer only when the world is too
// small), of which `shared` are in both.
PairViews MakePairViews(const World& world, int per_file, int shared, uint64_t seed,
                        bool byName) {
  Rng rng(seed ^ 0x9A1EF11E5ull);
  RegionGrower grower(world, rng);
  std::vector<uint8_t> state(world.persons.size(), kFree);

  std::vector<int> first;
  RegionBudget budget;
  budget.free = per_file;
  grower.Grow(state, first, -1, budget);

  for (int p : first) state[p] = kInFirst;
  std::vector<int> second;
  budget.in_first = std::min<int>(shared, static_cast<int>(first.size()));
  budget.free = per_file - budget.in_first;
  grower.Grow(state, second, first.empty() ? -1 : first.back(), budget);

  PairViews views;
  views.first = MakeView(world, first, false, byName, rng);
  views.second = MakeView(world, second, true, byName, rng);
  for (size_t p = 0; p < world.persons.size(); ++p) {
    if (views.first.person_numbers[p] != 0 && views.second.person_numbers[p] != 0) ++views.shared;
  }
  return views;
}

// ---------------------------------------------------------------------------
// Output: lines collected in a buffer and written in large blocks.

class Output {
 public:
  explicit Output(std::FILE* file) : file_(file) { buffer_.reserve(kBlock + 4096); }

  Output& operator<<(std::string_view text) {
    buffer_.append(text);
    return *this;
  }
  Output& operator<<(char c) {
    buffer_.push_back(c);
    return *this;
  }
  Output& operator<<(int number) {
    char digits[12];
    int length = 0;
    unsigned value = number < 0 ? 0u - static_cast<unsigned>(number) : static_cast<unsigned>(number);
    do {
      digits[length++] = static_cast<char>('0' + value % 10);
      value /= 10;
    } while (value != 0);
    if (number < 0) buffer_.push_back('-');
    while (length > 0) buffer_.push_back(digits[--length]);
    return *this;
  }

  // Ends a line with CR LF and writes the buffer out once a block is full.
  void EndLine() {
    buffer_.append("\r\n");
    if (buffer_.size() >= kBlock) Flush();
  }

  // False when a write failed at any time.
  bool Finish() {
    Flush();
    return ok_;
  }

  int64_t bytes() const { return written_ + static_cast<int64_t>(buffer_.size()); }

 private:
  static constexpr size_t kBlock = 1 << 20;

  void Flush() {
    if (buffer_.empty()) return;
    if (std::fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size()) ok_ = false;
    written_ += static_cast<int64_t>(buffer_.size());
    buffer_.clear();
  }

  std::FILE* file_;
  std::string buffer_;
  int64_t written_ = 0;
  bool ok_ = true;
};

// ---------------------------------------------------------------------------
// The GEDCOM writer.

// Which file of a pair is written; a file of its own is neither.
enum class PairSide { kNone, kFirst, kSecond };

struct WriteOptions {
  Encoding encoding = Encoding::kAnsi;
  uint64_t seed = 1;
  // Chance in 1000 that a name is written in another of its spellings.
  int variant_per_mille = 10;
  PairSide side = PairSide::kNone;
  // The same in both files of a pair: decides per world person where the
  // two files disagree (see PairFate).
  uint64_t world_seed = 1;
};

// How one file of a pair departs from the world for one person. Drawn from
// the person's world index alone, so both files agree on who lacks a date
// where: a date is missing from at most one of the two files.
struct PairFate {
  bool birth_undated = false;  // BIRT and CHR without a DATE line
  bool death_undated = false;  // DEAT and BURI without a DATE line
  int birth_year_shift = 0;    // a contradiction: another birth (and CHR) year
};

PairFate FateOf(uint64_t world_seed, int p, PairSide side) {
  PairFate fate;
  if (side == PairSide::kNone) return fate;
  Rng rng(world_seed ^ (static_cast<uint64_t>(p) * 0xD1B54A32D192ED03ull));
  bool first = side == PairSide::kFirst;
  int birth_roll = rng.Below(1000);
  int death_roll = rng.Below(1000);
  int contradiction_roll = rng.Below(1000);
  int shift = rng.Between(1, 5) * (rng.Below(2) == 0 ? 1 : -1);
  fate.birth_undated = first ? birth_roll < 30 : birth_roll >= 30 && birth_roll < 60;
  fate.death_undated = first ? death_roll < 40 : death_roll >= 40 && death_roll < 80;
  if (!first && contradiction_roll < 10) fate.birth_year_shift = shift;
  return fate;
}

struct WriteCounts {
  int persons = 0;
  int families = 0;
  int notes = 0;
  int sources = 0;
};

class GedcomWriter {
 public:
  GedcomWriter(const World& world, const FileView& view, const WriteOptions& options,
               Output& out)
      : world_(world),
        view_(view),
        options_(options),
        out_(out),
        rng_(options.seed ^ 0x5EED0F11E5ull),
        surnames_(MakeNameTable(kSurnames, Count(kSurnames), options.encoding)),
        male_names_(MakeNameTable(kMaleNames, Count(kMaleNames), options.encoding)),
        female_names_(MakeNameTable(kFemaleNames, Count(kFemaleNames), options.encoding)),
        places_(MakeTextTable(kPlaces, Count(kPlaces), options.encoding)),
        occupations_(MakeTextTable(kOccupations, Count(kOccupations), options.encoding)),
        sentences_(MakeTextTable(kNoteSentences, Count(kNoteSentences), options.encoding)),
        german_months_(MakeTextTable(kGermanMonths, Count(kGermanMonths), options.encoding)),
        source_kinds_(MakeTextTable(kSourceKinds, Count(kSourceKinds), options.encoding)),
        source_authors_(MakeTextTable(kSourceAuthors, Count(kSourceAuthors), options.encoding)) {}

  WriteCounts Write() {
    WriteHeader();
    for (int p : InNumberOrder(view_.person_numbers)) WritePerson(p);
    for (int f : InNumberOrder(view_.family_numbers)) WriteFamily(f);
    WriteNotes();
    for (int s : InNumberOrder(view_.source_numbers)) WriteSource(s);
    Line("0 TRLR");
    return counts_;
  }

 private:
  void WriteHeader() {
    Line("0 HEAD");
    Line("1 SOUR GEN_GEDCOM");
    Line("2 NAME gen_gedcom");
    Line("2 VERS 1.0");
    Line("1 DEST ANY");
    Line("1 DATE 1 JAN 2024");
    Line("1 SUBM @U1@");
    Line("1 FILE synthetic.ged");
    Line("1 GEDC");
    Line("2 VERS 5.5.1");
    Line("2 FORM LINEAGE-LINKED");
    Line(options_.encoding == Encoding::kUtf8 ? "1 CHAR UTF-8" : "1 CHAR ANSI");
    Line("1 LANG German");
    Line("0 @U1@ SUBM");
    out_ << "1 NAME " << Encode("Synthetische Daten für Lasttests", options_.encoding);
    out_.EndLine();
  }

  void WritePerson(int p) {
    const Person& person = world_.persons[p];
    ++counts_.persons;
    out_ << "0 @I" << view_.person_numbers[p] << "@ INDI";
    out_.EndLine();
    WriteName(person);
    out_ << "1 SEX " << person.sex;
    out_.EndLine();
    PairFate fate = FateOf(options_.world_seed, p, options_.side);
    for (int kind = 0; kind < kEventKinds; ++kind) {
      if (!(person.recorded & (1 << kind))) continue;
      bool birth_side = kind == kBirth || kind == kChristening;
      Event event = person.events[kind];
      if (birth_side) event.date.year = static_cast<int16_t>(event.date.year + fate.birth_year_shift);
      bool dated = !(birth_side ? fate.birth_undated : fate.death_undated);
      WriteEvent(kEventTags[kind], event, dated);
    }
    if (person.occupation >= 0) {
      out_ << "1 OCCU " << occupations_[person.occupation];
      out_.EndLine();
    }
    WriteFamilyLink("FAMC", person.parent_family);
    for (int f : person.spouse_families) WriteFamilyLink("FAMS", f);
    if (person.source >= 0) WriteCitation(1, person.source);
    if (person.note_seed != 0) WriteNoteReference(person.note_seed);
  }

  void WriteName(const Person& person) {
    const NameTable& given_names = person.sex == 'M' ? male_names_ : female_names_;
    const std::string& given = Spelling(given_names, person.given);
    const std::string& surname = Spelling(surnames_, person.surname);
    out_ << "1 NAME " << given << " /" << surname << '/';
    out_.EndLine();
    if (!rng_.Chance(300)) return;
    out_ << "2 GIVN " << given;
    out_.EndLine();
    out_ << "2 SURN " << surname;
    out_.EndLine();
  }

  // The spelling the person's line uses, now and then another one.
  const std::string& Spelling(const NameTable& table, NameRef name) {
    const std::vector<std::string>& spellings = table[name.entry];
    if (spellings.size() > 1 && rng_.Chance(options_.variant_per_mille)) {
      return spellings[rng_.Below(static_cast<int>(spellings.size()))];
    }
    return spellings[name.spelling];
  }

  void WriteEvent(const char* tag, const Event& event, bool dated = true) {
    out_ << "1 " << tag;
    out_.EndLine();
    if (dated) {
      out_ << "2 DATE ";
      if (options_.side == PairSide::kNone) {
        WriteDate(event.date);
      } else {
        WritePairDate(event.date);
      }
      out_.EndLine();
    }
    if (rng_.Chance(700)) {
      out_ << "2 PLAC " << places_[event.place];
      out_.EndLine();
    }
    if (rng_.Chance(60)) WriteCitation(2, rng_.Below(static_cast<int>(view_.source_numbers.size())));
  }

  // One date in one of the forms German and English files use; the
  // qualified forms stay true to the date (VOR names a later year).
  void WriteDate(const Date& date) {
    int form = rng_.Below(100);
    if (form < 25) {
      out_ << static_cast<int>(date.day) << ' ' << kEnglishMonths[date.month - 1] << ' '
           << static_cast<int>(date.year);
    } else if (form < 40) {
      out_ << static_cast<int>(date.day) << ' ' << german_months_[date.month - 1] << ' '
           << static_cast<int>(date.year);
    } else if (form < 53) {
      WriteTwoDigits(date.day);
      out_ << '.';
      WriteTwoDigits(date.month);
      out_ << '.' << static_cast<int>(date.year);
    } else if (form < 63) {
      out_ << static_cast<int>(date.year);
    } else if (form < 68) {
      out_ << kEnglishMonths[date.month - 1] << ' ' << static_cast<int>(date.year);
    } else if (form < 74) {
      out_ << "ABT " << date.year + rng_.Between(-1, 1);
    } else if (form < 79) {
      out_ << "UNG " << date.year + rng_.Between(-1, 1);
    } else if (form < 83) {
      out_ << "VOR " << date.year + rng_.Between(1, 3);
    } else if (form < 86) {
      out_ << "BEF " << date.year + rng_.Between(1, 3);
    } else if (form < 89) {
      out_ << (rng_.Below(2) == 0 ? "AFT " : "NAC ") << date.year - rng_.Between(1, 3);
    } else if (form < 94) {
      out_ << "BET " << date.year - rng_.Between(0, 5) << " AND "
           << date.year + rng_.Between(1, 10);
    } else if (form < 97) {
      out_ << "ABT " << static_cast<int>(date.day) << ' ' << kEnglishMonths[date.month - 1]
           << ' ' << static_cast<int>(date.year);
    } else {
      out_ << (rng_.Below(2) == 0 ? "CAL " : "BER ") << static_cast<int>(date.year);
    }
  }

  // The dates of a pair keep the year (only a contradiction changes it), so
  // the two files differ in form only: the first prefers German months
  // ("12 MAI 1850"), the second English months, "ABT 1850" and dotted dates.
  void WritePairDate(const Date& date) {
    int form = rng_.Below(100);
    bool first = options_.side == PairSide::kFirst;
    int day = date.day, year = date.year;
    if (first ? form < 50 : form < 10) {
      out_ << day << ' ' << german_months_[date.month - 1] << ' ' << year;
    } else if (first ? form < 65 : form < 50) {
      out_ << day << ' ' << kEnglishMonths[date.month - 1] << ' ' << year;
    } else if (first ? form < 80 : form < 70) {
      WriteTwoDigits(date.day);
      out_ << '.';
      WriteTwoDigits(date.month);
      out_ << '.' << year;
    } else if (first ? form < 90 : form < 85) {
      out_ << (first ? "UNG " : "ABT ") << year;
    } else if (first ? form < 95 : form < 92) {
      if (first) {
        out_ << german_months_[date.month - 1];
      } else {
        out_ << kEnglishMonths[date.month - 1];
      }
      out_ << ' ' << year;
    } else {
      out_ << year;
    }
  }

  // Dotted dates are written "24.12.1850" and "03.05.1850" as often as "3.5.1850".
  void WriteTwoDigits(int number) {
    if (number < 10 && rng_.Below(2) == 0) out_ << '0';
    out_ << number;
  }

  void WriteFamilyLink(const char* tag, int f) {
    if (f < 0 || view_.family_numbers[f] == 0) return;
    out_ << "1 " << tag << " @F" << view_.family_numbers[f] << '@';
    out_.EndLine();
  }

  void WriteCitation(int level, int source) {
    int number = view_.source_numbers[source];
    if (number == 0) return;
    out_ << level << " SOUR @S" << number << '@';
    out_.EndLine();
    if (rng_.Below(2) == 0) return;
    out_ << level + 1 << " PAGE Nr. " << rng_.Between(1, 400);
    out_.EndLine();
  }

  // Notes are numbered in the order of their first reference and written
  // after the families.
  void WriteNoteReference(uint32_t seed) {
    if (static_cast<int>(note_seeds_.size()) >= kMaxNoteNumber) return;
    note_seeds_.push_back(seed);
    out_ << "1 NOTE @N" << static_cast<int>(note_seeds_.size()) << '@';
    out_.EndLine();
  }

  void WriteFamily(int f) {
    const Family& family = world_.families[f];
    ++counts_.families;
    out_ << "0 @F" << view_.family_numbers[f] << "@ FAM";
    out_.EndLine();
    WritePartner("HUSB", family.husband);
    WritePartner("WIFE", family.wife);
    if (family.marriage_recorded) WriteEvent("MARR", family.marriage);
    for (int i = 0; i < family.child_count; ++i) WritePartner("CHIL", family.first_child + i);
    if (family.note_seed != 0) WriteNoteReference(family.note_seed);
  }

  void WritePartner(const char* tag, int p) {
    if (p < 0 || view_.person_numbers[p] == 0) return;
    out_ << "1 " << tag << " @I" << view_.person_numbers[p] << '@';
    out_.EndLine();
  }

  void WriteNotes() {
    for (size_t i = 0; i < note_seeds_.size(); ++i) {
      ++counts_.notes;
      out_ << "0 @N" << static_cast<int>(i) + 1 << "@ NOTE";
      Rng text_rng(note_seeds_[i]);
      int paragraphs = text_rng.Between(1, 3);
      for (int k = 0; k < paragraphs; ++k) {
        if (k > 0) out_ << "1 CONT";
        if (k > 0 && text_rng.Chance(200)) {
          out_.EndLine();  // an empty line between paragraphs
          out_ << "1 CONT";
        }
        WriteNoteParagraph(Paragraph(text_rng));
      }
    }
  }

  std::string Paragraph(Rng& text_rng) {
    int sentences = text_rng.Chance(80) ? text_rng.Between(5, 10) : text_rng.Between(1, 3);
    std::string text;
    for (int i = 0; i < sentences; ++i) {
      if (i > 0) text += ' ';
      text += sentences_[text_rng.Below(static_cast<int>(sentences_.size()))];
    }
    return text;
  }

  // Continues the open NOTE or CONT line with the paragraph; a long one goes
  // on in CONC lines, cut where neither side of the cut is a blank (readers
  // may trim blanks at line ends) and never inside a UTF-8 character.
  void WriteNoteParagraph(const std::string& text) {
    constexpr size_t kChunk = 200;
    size_t start = 0;
    for (bool first = true; start < text.size(); first = false) {
      size_t end = text.size();
      if (end - start > kChunk) {
        end = start + kChunk;
        while (end > start + kChunk / 2 && !GoodCut(text, end)) --end;
      }
      if (!first) out_ << "1 CONC";
      out_ << ' ' << std::string_view(text).substr(start, end - start);
      out_.EndLine();
      start = end;
    }
    if (text.empty()) out_.EndLine();
  }

  bool GoodCut(const std::string& text, size_t at) const {
    if (text[at] == ' ' || text[at - 1] == ' ') return false;
    bool continuation = (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80;
    return !(options_.encoding == Encoding::kUtf8 && continuation);
  }

  void WriteSource(int s) {
    ++counts_.sources;
    int place = s % Count(kPlaces);
    int from = kFirstYear + (s / Count(kPlaces)) % 12 * 30;
    out_ << "0 @S" << view_.source_numbers[s] << "@ SOUR";
    out_.EndLine();
    out_ << "1 TITL " << source_kinds_[s % source_kinds_.size()] << ' ' << places_[place]
         << ' ' << from << '-' << from + 29;
    out_.EndLine();
    out_ << "1 AUTH " << source_authors_[s % source_authors_.size()] << ' ' << places_[place];
    out_.EndLine();
    if (s % 4 == 0) {
      out_ << "1 NOTE Mikrofilm Nr. " << 100000 + s;  // an inline note, no reference
      out_.EndLine();
    }
  }

  void Line(std::string_view text) {
    out_ << text;
    out_.EndLine();
  }

  const World& world_;
  const FileView& view_;
  const WriteOptions options_;
  Output& out_;
  Rng rng_;
  const NameTable surnames_;
  const NameTable male_names_;
  const NameTable female_names_;
  const std::vector<std::string> places_;
  const std::vector<std::string> occupations_;
  const std::vector<std::string> sentences_;
  const std::vector<std::string> german_months_;
  const std::vector<std::string> source_kinds_;
  const std::vector<std::string> source_authors_;
  std::vector<uint32_t> note_seeds_;
  WriteCounts counts_;
};

// ---------------------------------------------------------------------------
// Command line.

struct Arguments {
  int persons = 0;
  uint64_t seed = 1;
  Encoding encoding = Encoding::kAnsi;
  bool pair = false;
  double overlap = 0.5;
  bool overlap_given = false;
  const char* map = nullptr;
  bool byName = false;
  const char* outputs[2] = {nullptr, nullptr};
};

int Usage() {
  std::fprintf(stderr,
               "usage: gen_gedcom --persons N [--seed S] [--encoding ansi|utf8] [--order name]\n"
               "                  OUTPUT.ged\n"
               "       gen_gedcom --pair --persons N [--overlap F] [--seed S]\n"
               "                  [--encoding ansi|utf8] [--order name] [--map MAP.txt]\n"
               "                  OUTPUT1.ged OUTPUT2.ged\n"
               "  N from 1 to %d persons per file;\n"
               "  --order name numbers and writes the persons in name order;\n"
               "  F from 0 to 1, the share of each file's persons that are in both (0.5)\n",
               kMaxPersonNumber);
  return 2;
}

bool ParseNumber(const char* text, uint64_t max, uint64_t& value) {
  char* end = nullptr;
  if (*text < '0' || *text > '9') return false;
  unsigned long long parsed = std::strtoull(text, &end, 10);
  if (*end != '\0' || parsed > max) return false;
  value = parsed;
  return true;
}

bool ParseFraction(const char* text, double& value) {
  char* end = nullptr;
  if ((*text < '0' || *text > '9') && *text != '.') return false;
  double parsed = std::strtod(text, &end);
  if (*end != '\0' || !(parsed >= 0.0 && parsed <= 1.0)) return false;
  value = parsed;
  return true;
}

bool ParseArguments(int argc, char** argv, Arguments& args) {
  int output_count = 0;
  for (int i = 1; i < argc; ++i) {
    std::string_view arg = argv[i];
    bool has_value = i + 1 < argc;
    uint64_t number = 0;
    if (arg == "--persons" && has_value) {
      if (!ParseNumber(argv[++i], kMaxPersonNumber, number) || number == 0) return false;
      args.persons = static_cast<int>(number);
    } else if (arg == "--seed" && has_value) {
      if (!ParseNumber(argv[++i], UINT64_MAX, number)) return false;
      args.seed = number;
    } else if (arg == "--encoding" && has_value) {
      std::string_view name = argv[++i];
      if (name == "ansi") {
        args.encoding = Encoding::kAnsi;
      } else if (name == "utf8") {
        args.encoding = Encoding::kUtf8;
      } else {
        return false;
      }
    } else if (arg == "--pair") {
      args.pair = true;
    } else if (arg == "--overlap" && has_value) {
      if (!ParseFraction(argv[++i], args.overlap)) return false;
      args.overlap_given = true;
    } else if (arg == "--map" && has_value) {
      args.map = argv[++i];
    } else if (arg == "--order" && has_value) {
      if (std::string_view(argv[++i]) != "name") return false;
      args.byName = true;
    } else if (!arg.empty() && arg[0] != '-' && output_count < 2) {
      args.outputs[output_count++] = argv[i];
    } else {
      return false;
    }
  }
  if ((args.overlap_given || args.map != nullptr) && !args.pair) return false;
  return args.persons > 0 && output_count == (args.pair ? 2 : 1);
}

// Writes one view of the world to `path` and reports its counts on stderr,
// after `label` (the path itself for a file of a pair). False on failure.
bool WriteFile(const char* path, const World& world, const FileView& view,
               const WriteOptions& options, const char* label) {
  std::FILE* file = std::fopen(path, "wb");
  if (file == nullptr) {
    std::fprintf(stderr, "gen_gedcom: cannot create %s: %s\n", path, std::strerror(errno));
    return false;
  }
  Output out(file);
  WriteCounts counts = GedcomWriter(world, view, options, out).Write();
  bool written = out.Finish();
  if (std::fclose(file) != 0) written = false;
  if (!written) {
    std::fprintf(stderr, "gen_gedcom: cannot write %s\n", path);
    return false;
  }
  std::fprintf(stderr, "%s%d persons, %d families, %lld bytes\n", label, counts.persons,
               counts.families, static_cast<long long>(out.bytes()));
  return true;
}

int RunSingle(const Arguments& args) {
  World world = WorldBuilder(args.persons, kMaxFamilyNumber, args.seed).Build();
  FileView view = WholeWorldView(world);
  if (args.byName) {
    std::vector<int> persons(world.persons.size());
    for (size_t p = 0; p < persons.size(); ++p) persons[p] = static_cast<int>(p);
    SortByName(world, persons);
    Rng unused(args.seed);
    Number(view.person_numbers, world.persons.size(), persons, false, unused);
  }
  WriteOptions options;
  options.encoding = args.encoding;
  options.seed = args.seed;
  return WriteFile(args.outputs[0], world, view, options, "") ? 0 : 1;
}

// The truth a merge of the pair should find: one line "N1 N2" per person in
// both files, N1 the person's number in the first file, N2 in the second.
bool WriteMap(const char* path, const PairViews& views) {
  std::FILE* file = std::fopen(path, "wb");
  if (file == nullptr) {
    std::fprintf(stderr, "gen_gedcom: cannot create %s: %s\n", path, std::strerror(errno));
    return false;
  }
  for (int p : InNumberOrder(views.first.person_numbers)) {
    int second = views.second.person_numbers[p];
    if (second != 0) std::fprintf(file, "%d %d\n", views.first.person_numbers[p], second);
  }
  if (std::fclose(file) == 0) return true;
  std::fprintf(stderr, "gen_gedcom: cannot write %s\n", path);
  return false;
}

// The world holds both files' persons and a fifth more, so that the second
// region still finds kin to grow into (with less, it runs into pockets the
// first region has closed off and goes on in scattered pieces). Its
// families are not limited, only each file's are.
int RunPair(const Arguments& args) {
  int shared = static_cast<int>(args.persons * args.overlap + 0.5);
  int world_size = (2 * args.persons - shared) + (2 * args.persons - shared) / 5 + 100;
  World world = WorldBuilder(world_size, std::numeric_limits<int>::max(), args.seed).Build();
  PairViews views = MakePairViews(world, args.persons, shared, args.seed, args.byName);

  WriteOptions options;
  options.encoding = args.encoding;
  options.world_seed = args.seed;
  options.seed = args.seed;
  options.side = PairSide::kFirst;
  std::string label = std::string(args.outputs[0]) + ": ";
  if (!WriteFile(args.outputs[0], world, views.first, options, label.c_str())) return 1;

  options.seed = args.seed ^ 0x5EC0DF11Eull;
  options.side = PairSide::kSecond;
  options.variant_per_mille = 150;
  label = std::string(args.outputs[1]) + ": ";
  if (!WriteFile(args.outputs[1], world, views.second, options, label.c_str())) return 1;
  std::fprintf(stderr, "%d persons in both files\n", views.shared);
  if (args.map != nullptr && !WriteMap(args.map, views)) return 1;
  return 0;
}

int Run(int argc, char** argv) {
  Arguments args;
  if (!ParseArguments(argc, argv, args)) return Usage();
  return args.pair ? RunPair(args) : RunSingle(args);
}

}  // namespace
}  // namespace kw

int main(int argc, char** argv) { return kw::Run(argc, argv); }
