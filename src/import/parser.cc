#include "import/parser.h"

#include <charconv>
#include <cstdint>
#include <string>
#include <vector>

#include "import/date.h"
#include "import/line_input.h"
#include "import/record_numbers.h"

namespace kw {

namespace {

bool TagIs(std::string_view token, const char* tag) { return TagCode(token) == TagCode(tag); }

enum Event { kNoEvent, kBirth, kDeath, kMarriage };

// Keeps a record's cross-reference when it is not the plain "@I12@" form,
// so the output can name the record exactly as its file does. Returns
// whether the form was plain.
bool RememberXref(std::unordered_map<int32_t, std::string>& kept,
                  std::unordered_map<std::string, int32_t>& byXref, char letter, int n,
                  const std::string& xref) {
  char plain[24] = {'@', letter};
  char* end = std::to_chars(plain + 2, plain + sizeof plain - 2, n).ptr;
  *end++ = '@';
  if (xref.size() == static_cast<size_t>(end - plain) &&
      xref.compare(0, xref.size(), plain, xref.size()) == 0) {
    kept.erase(n);
    return true;
  }
  kept[n] = xref;
  byXref[xref] = n;
  return false;
}

// Positions are kept by sequence number; both slots together may in rare
// files hand out more numbers than the table was made for.
void SetRecordPos(std::vector<int64_t>& positions, int32_t sequence, int64_t position) {
  if (sequence < 0) return;
  if (static_cast<size_t>(sequence) >= positions.size()) positions.resize(sequence + 1, 0);
  positions[sequence] = position;
}

bool IsBlankLine(std::string_view text) {
  for (char c : text) {
    if (!IsGedcomSpace(c)) return false;
  }
  return true;
}

class Parser {
 public:
  Parser(Store& store, Reporter& reporter, int slot)
      : store_(store),
        reporter_(reporter),
        slotNumber_(slot),
        slot_(store.slots[slot]),
        input_(slot_.bytes),
        fileSize_(input_.size()),
        threshold_(fileSize_ / 100),
        pendingNotePos_(kNoteCapacity, 0),
        pendingSourcePos_(kNoteCapacity, 0) {}

  ParseResult Run();

 private:
  bool HandleRecord(const ScannedLine& line);
  bool HandleSubLine(const ScannedLine& line);
  void StepProgress(int64_t position);
  void ReadName(std::string_view value);
  void ReadDate(std::string_view value);
  void ReadReference(const ScannedLine& line, bool note);
  void ReadCharacterSet(std::string_view value);
  Person& CurrentPerson() { return slot_.persons[person_]; }
  Family& CurrentFamily() { return slot_.families[family_]; }

  Store& store_;
  Reporter& reporter_;
  int slotNumber_;
  InputSlot& slot_;
  LineInput input_;
  int64_t fileSize_;
  int64_t threshold_;
  InputEncoding encoding_ = kEncodingPlain;
  bool encodingFixed_ = false;
  int person_ = 0;
  int family_ = 0;
  Event event_ = kNoEvent;
  int64_t recordPos_ = 0;
  RecordNumbers numbers_;
  // Positions of note and source records read before any reference to them.
  std::vector<int64_t> pendingNotePos_;
  std::vector<int64_t> pendingSourcePos_;
  ParseResult result_;
};

ParseResult Parser::Run() {
  PrepareSlot(slot_);
  EncodingProbe probe = input_.Probe();
  encoding_ = probe.encoding;
  encodingFixed_ = probe.fixed;
  numbers_.Collect(input_.bytes(), input_.position(), encoding_);
  if (slotNumber_ == 0) slot_.xrefs.reserve(numbers_.recordLines());
  std::string text;
  int64_t lineEnd = input_.position();
  while (input_.ReadLine(encoding_, text)) {
    // The rest of a line longer than 999 bytes comes without moving on in
    // the file. It is no line of its own: the numbering and the export read
    // whole lines, so a record line in it would be a record that the output
    // never writes but links to.
    const bool rest = input_.position() == lineEnd;
    lineEnd = input_.position();
    // A NUL ends what the parser looks at, as it ends a C string.
    std::string_view visible(text.c_str());
    ScannedLine line = ScanLine(visible);
    if (!line.hasLevel || rest) {
      if (!IsBlankLine(visible)) ++result_.skippedLines;
      continue;
    }
    bool goOn = line.level == 0 ? HandleRecord(line) : HandleSubLine(line);
    if (!goOn) break;
  }
  slot_.encoding = encoding_;
  return result_;
}

void Parser::StepProgress(int64_t position) {
  if (position <= threshold_) return;
  int percent = fileSize_ > 0 ? static_cast<int>(position * 100 / fileSize_) : 100;
  threshold_ += fileSize_ / 100;
  reporter_.StepProgress();
  ShowStatus(reporter_, 1, "%d%% erledigt", percent == 99 ? 100 : percent);
}

bool Parser::HandleRecord(const ScannedLine& line) {
  recordPos_ = input_.position();
  StepProgress(recordPos_);
  if (TagIs(line.token2, "TRLR")) return false;
  std::string_view type = line.token3;
  const std::string xref(line.token2);
  if (TagIs(xref, "HEAD") || TagIs(type, "INDI") || TagIs(type, "FAM")) {
    ++result_.gedcomRecords;
  }

  // The lines of any other record belong to that record: a repository's
  // NAME must not rename the person read before it.
  if (!TagIs(type, "INDI")) person_ = 0;
  if (!TagIs(type, "INDI") && !TagIs(type, "FAM")) family_ = 0;
  int n = 0;
  if (TagIs(type, "INDI")) {
    if (!IsXref(xref)) return true;
    n = numbers_.PersonRecord(xref);
    if (n >= kPersonCapacity) {
      ShowError(reporter_, "\r\n GED Datei zu gro\xDF. >%d Personen", n);
      return false;
    }
    Person& person = slot_.persons[n];
    // A number met again (@I1@ after @I001@) keeps the name of its first
    // record: the export writes the person there and skips the later one,
    // so links must not name the later one.
    const bool again = person.number != 0;
    person.number = n;
    if (n >= slot_.personEnd) slot_.personEnd = n + 1;
    // Only a repeated number can bring more INDI lines than there is room.
    if (slot_.personCount < kPersonCapacity) slot_.sortIndex[slot_.personCount++] = n;
    person.recordPos = recordPos_;
    bool plain = again || RememberXref(slot_.personXref, slot_.personByXref, 'I', n, xref);
    if (slotNumber_ == 0 && !plain) slot_.xrefs.insert(xref);
    if (numbers_.PersonHanded(xref)) {
      slot_.personLogNumber[n] = RecordNumbers::DisplayNumber(xref, n);
    }
    person_ = n;
    return true;
  }
  if (TagIs(type, "FAM")) {
    if (!IsXref(xref)) return true;
    n = numbers_.FamilyRecord(xref);
    if (n >= kFamilyCapacity) {
      ShowError(reporter_, "\r\n GED Datei zu gro\xDF. >%d Familien", n);
      return false;
    }
    Family& family = slot_.families[n];
    const bool again = family.number != 0;  // as for persons
    family.number = n;
    if (n >= slot_.familyEnd) slot_.familyEnd = n + 1;
    ++slot_.familyCount;
    family.recordPos = recordPos_;
    bool plain = again || RememberXref(slot_.familyXref, slot_.familyByXref, 'F', n, xref);
    if (slotNumber_ == 0 && !plain) slot_.xrefs.insert(xref);
    if (numbers_.FamilyHanded(xref)) {
      slot_.familyLogNumber[n] = RecordNumbers::DisplayNumber(xref, n);
    }
    family_ = n;
    return true;
  }
  if (slotNumber_ == 0 && IsXref(xref)) slot_.xrefs.insert(xref);
  bool note = TagIs(type, "NOTE");
  bool numbered = (note || TagIs(type, "SOUR")) && ScanAnyXref(xref, &n) &&
                  n >= 0 && n < kNoteCapacity;
  if (!numbered) {
    if (IsXref(xref)) slot_.otherRecordPos.emplace(xref, recordPos_);
    return true;
  }
  int sequence = note ? slot_.noteSeq[n] : slot_.sourceSeq[n];
  if (sequence == 0) {
    // Not referenced yet: the position waits for the first reference.
    (note ? pendingNotePos_ : pendingSourcePos_)[n] = recordPos_;
    return true;
  }
  SetRecordPos(note ? store_.notePos : store_.sourcePos, sequence, recordPos_);
  return true;
}

bool Parser::HandleSubLine(const ScannedLine& line) {
  if (line.level == 1) event_ = kNoEvent;
  const uint32_t tag = TagCode(line.token2);
  const std::string value(line.token3);
  int n = 0;
  switch (tag) {
    case TagCode("BIRT"):
    case TagCode("CHR"):
      event_ = kBirth;
      return true;
    case TagCode("DEAT"):
    case TagCode("BURI"):
      event_ = kDeath;
      return true;
    case TagCode("MARR"):
      event_ = kMarriage;
      return true;
    case TagCode("DATE"):
      ReadDate(line.value);
      return true;
    case TagCode("NAME"):
      ReadName(line.value);
      return true;
    case TagCode("SEX"):
      CurrentPerson().sex = value.empty() ? 0 : value[0];
      return true;
    case TagCode("FAMS"):
    case TagCode("FAMC"): {
      n = numbers_.FamilyReference(value);
      if (n < 0) return true;
      family_ = n;
      RefList& list =
          tag == TagCode("FAMS") ? CurrentPerson().spouseFamilies : CurrentPerson().parentFamilies;
      if (!HasRef(list, n)) AddRef(list, n);
      return true;
    }
    case TagCode("HUSB"):
    case TagCode("WIFE"):
      // The value starts right after the tag and its one blank.
      if (!line.value.empty() && IsGedcomSpace(line.value[0])) return true;
      n = numbers_.PersonReference(value);
      if (n < 0) return true;
      (tag == TagCode("HUSB") ? CurrentFamily().husband : CurrentFamily().wife) = n;
      return true;
    case TagCode("CHIL"):
      n = numbers_.PersonReference(value);
      if (n < 0) return true;
      AddRef(CurrentFamily().children, n);
      return true;
    case TagCode("NOTE"):
      ReadReference(line, true);
      return true;
    case TagCode("SOUR"):
      ReadReference(line, false);
      return true;
    case TagCode("CHAR"):
      ReadCharacterSet(value);
      return true;
    default:
      return true;
  }
}

// DATE under BIRT or CHR, DEAT or BURI, MARR: the first date that yields a
// year stays.
void Parser::ReadDate(std::string_view value) {
  PackedDate* target = nullptr;
  if (event_ == kBirth) target = &CurrentPerson().birth;
  if (event_ == kDeath) target = &CurrentPerson().death;
  if (event_ == kMarriage) target = &CurrentFamily().marriage;
  // The value ends where the line's text ends, at its NUL.
  if (target != nullptr && DateYear(*target) == 0) ParseDate(*target, value.data());
}

// NAME Anna Maria /Huber/: the given names before the first "/", the
// surname up to the next "/" (or the end).
void Parser::ReadName(std::string_view value) {
  size_t slash = value.find('/');
  if (slash == std::string_view::npos) return;
  std::string given(value.substr(0, slash));
  while (!given.empty() && given.back() == ' ') given.pop_back();
  std::string_view rest = value.substr(slash + 1);
  std::string surname(rest.substr(0, rest.find('/')));
  Person& person = CurrentPerson();
  person.surname = store_.pool.Add(surname.c_str(), reporter_);
  person.givenNames = store_.pool.Add(given.c_str(), reporter_);
}

// NOTE @N5@ / SOUR @S5@: the first reference to a record hands out its
// sequence number, the number it carries in the merged output.
void Parser::ReadReference(const ScannedLine& line, bool note) {
  int m = 0;
  // Numbers of 200000 and more (nine-digit source numbers of some online
  // services) are not numbered: such records are copied under their own
  // cross-reference.
  if (!ScanAnyXref(line.token3, &m) || m < 0 || m >= kNoteCapacity) return;
  std::vector<int32_t>& seq = note ? slot_.noteSeq : slot_.sourceSeq;
  if (seq[m] != 0) return;
  int32_t& count = note ? slot_.noteCount : slot_.sourceCount;
  seq[m] = ++count;
  int64_t pending = (note ? pendingNotePos_ : pendingSourcePos_)[m];
  if (pending != 0) SetRecordPos(note ? store_.notePos : store_.sourcePos, seq[m], pending);
}

// A byte-order mark or a UTF-16 start has decided already; otherwise the
// CHAR line chooses how the following lines are read. A file read byte by
// byte up to its CHAR line cannot be UTF-16, so "UNICODE" there is read as
// UTF-8.
void Parser::ReadCharacterSet(std::string_view value) {
  if (encodingFixed_) return;
  if (value == "ANSEL") {
    encoding_ = kEncodingAnsel;
  } else if (value == "UTF-8" || value == "UTF8" || value == "UNICODE") {
    encoding_ = kEncodingUtf8;
  } else {
    encoding_ = kEncodingPlain;
  }
}

}  // namespace

ParseResult ParseGedcom(Store& store, Reporter& reporter, int slot) {
  Parser parser(store, reporter, slot);
  return parser.Run();
}

}  // namespace kw
