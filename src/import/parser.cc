#include "import/parser.h"

#include <charconv>
#include <climits>
#include <cstdint>
#include <string>
#include <vector>

#include "base/gedcom_tags.h"
#include "import/date.h"
#include "import/line_input.h"
#include "import/record_numbers.h"

namespace kw {

namespace {

// Positions are kept by sequence number; both slots together may in rare
// files hand out more numbers than the table was made for.
void SetRecordPos(std::vector<int64_t>& positions, int32_t sequence, int64_t position) {
  if (sequence < 0) return;
  if (static_cast<size_t>(sequence) >= positions.size()) positions.resize(sequence + 1, 0);
  positions[sequence] = position;
}


enum Event { kNoEvent, kBirth, kDeath, kMarriage };

// Keeps a record's cross-reference when it is not the plain "@I12@" form,
// so the output can name the record exactly as its file does.
void RememberXref(RecordNames& names, char letter, int n, std::string_view xref) {
  char plain[24] = {'@', letter};
  char* end = std::to_chars(plain + 2, plain + sizeof plain - 2, n).ptr;
  *end++ = '@';
  if (xref == std::string_view(plain, static_cast<size_t>(end - plain))) {
    names.Forget(n);
    return;
  }
  names.Add(xref, n);
}

bool IsBlankLine(std::string_view text) {
  for (char c : text) {
    if (!IsGedcomSpace(c)) return false;
  }
  return true;
}

class Parser {
 public:
  Parser(InputSlot& slot, int slotNumber, Reporter& reporter)
      : reporter_(reporter),
        slotNumber_(slotNumber),
        slot_(slot),
        input_(slot_.bytes),
        fileSize_(input_.size()),
        threshold_(fileSize_ / 100) {}

  ParseResult Run();

 private:
  bool HandleRecord(const ScannedLine& line);
  bool HandleSubLine(const ScannedLine& line);
  void StepProgress(int64_t position);
  void ReadName(std::string_view value);
  void ReadDate(std::string_view value);
  void ReadReference(const ScannedLine& line, bool note);
  void ReadCharacterSet(std::string_view value);
  Person& CurrentPerson() { return PersonEntry(slot_, person_); }
  Family& CurrentFamily() { return FamilyEntry(slot_, family_); }

  Reporter& reporter_;
  int slotNumber_;
  InputSlot& slot_;
  LineInput input_;
  int64_t fileSize_;
  int64_t threshold_;
  InputEncoding encoding_ = kEncodingPlain;
  bool encodingFixed_ = false;
  // Until the first level-0 record other than the header: where a CHAR
  // line may choose the encoding.
  bool inHeader_ = true;
  int person_ = 0;
  int family_ = 0;
  Event event_ = kNoEvent;
  int64_t recordPos_ = 0;
  int64_t lineStart_ = 0;  // of the line being read
  RecordNumbers numbers_;
  // Positions of note and source records read before any reference to
  // them, by the record's number.
  std::vector<int64_t> pendingNotePos_;
  std::vector<int64_t> pendingSourcePos_;
  ParseResult result_;
};

ParseResult Parser::Run() {
  EncodingProbe probe = input_.Probe();
  encoding_ = probe.encoding;
  encodingFixed_ = probe.fixed;
  numbers_.Collect(input_.bytes(), input_.position(), encoding_);
  PrepareSlot(slot_, numbers_.personTable(), numbers_.familyTable());
  slot_.sortIndex.reserve(numbers_.personLines());

  if (numbers_.tooMany()) {
    ShowError(reporter_, "\r\nZu viele Datens\xE4tze: mehr als %d Personen oder Familien "
              "lassen sich nicht nummerieren", INT32_MAX - 1);
    slot_.encoding = encoding_;
    return result_;
  }
  std::string_view visible;
  ScannedLine line;
  for (lineStart_ = input_.position(); input_.ReadScannedLine(encoding_, visible, line);
       lineStart_ = input_.position()) {
    // The rest of a line longer than 999 bytes comes without moving on in
    // the file. It is no line of its own: the numbering and the export read
    // whole lines, so a record line in it would be a record that the output
    // never writes but links to.
    const bool rest = input_.position() == lineStart_;
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
  if (TagCode(line.token2) == kTrlr) return false;
  const uint32_t type = TagCode(line.token3);
  const std::string xref(line.token2);
  if (TagCode(xref) == kHead || type == kIndi || type == kFam) ++result_.gedcomRecords;
  inHeader_ = inHeader_ && TagCode(xref) == kHead;

  // The lines of any other record belong to that record: a repository's
  // NAME must not rename the person read before it. So do the lines of a
  // person or family record passed over for its cross-reference; a
  // record that is read becomes the current one below.
  person_ = 0;
  if (type != kIndi) family_ = 0;
  int n = 0;
  if (type == kIndi) {
    if (!IsXref(xref)) return true;
    n = numbers_.PersonRecord(xref);
    if (n < 0) return false;  // no number left: the collection said so
    Person& person = PersonEntry(slot_, n);
    // A number met again (@I1@ after @I001@) keeps the name of its first
    // record: the export writes the person there and skips the later one,
    // so links must not name the later one.
    const bool again = person.number != 0;
    person.number = n;
    if (n >= slot_.personEnd) slot_.personEnd = n + 1;
    slot_.sortIndex.push_back(n);
    ++slot_.personCount;
    person.recordPos = recordPos_;
    if (!again) RememberXref(slot_.personNames, 'I', n, xref);
    person_ = n;
    return true;
  }
  if (type == kFam) {
    if (!IsXref(xref)) return true;
    n = numbers_.FamilyRecord(xref);
    if (n < 0) return false;
    Family& family = FamilyEntry(slot_, n);
    const bool again = family.number != 0;  // as for persons
    family.number = n;
    if (n >= slot_.familyEnd) slot_.familyEnd = n + 1;
    ++slot_.familyCount;
    family.recordPos = recordPos_;
    if (!again) RememberXref(slot_.familyNames, 'F', n, xref);
    family_ = n;
    return true;
  }
  bool note = type == kNote;
  bool numbered = (note || type == kSour) && ScanAnyXref(xref, &n) &&
                  n >= 0 && n < kNoteNumberLimit;
  // A numbered note or source is written under its new number: its own
  // name does not reach the output.
  if (slotNumber_ == 0 && IsXref(xref) && !numbered) slot_.xrefs.insert(xref);
  if (!numbered) {
    if (IsXref(xref)) slot_.otherRecordPos.emplace(xref, recordPos_);
    return true;
  }
  int sequence = note ? NoteSequence(slot_, n) : SourceSequence(slot_, n);
  if (sequence == 0) {
    // Not referenced yet: the position waits for the first reference.
    std::vector<int64_t>& pending = note ? pendingNotePos_ : pendingSourcePos_;
    if (static_cast<size_t>(n) >= pending.size()) pending.resize(static_cast<size_t>(n) + 1, 0);
    pending[n] = recordPos_;
    return true;
  }
  (note ? result_.notePositions : result_.sourcePositions).emplace_back(sequence, recordPos_);
  return true;
}

bool Parser::HandleSubLine(const ScannedLine& line) {
  if (line.level == 1) event_ = kNoEvent;
  const uint32_t tag = TagCode(line.token2);
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
      CurrentPerson().sex = line.token3.empty() ? 0 : line.token3[0];
      return true;
    case TagCode("FAMS"):
    case TagCode("FAMC"): {
      n = numbers_.FamilyReference(line.token3);
      if (n < 0) return true;
      FamilyEntry(slot_, n);  // a family the file lacks is absent, not out of reach
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
      n = numbers_.PersonReference(line.token3);
      if (n < 0) return true;
      PersonEntry(slot_, n);
      (tag == TagCode("HUSB") ? CurrentFamily().husband : CurrentFamily().wife) = n;
      return true;
    case TagCode("CHIL"):
      n = numbers_.PersonReference(line.token3);
      if (n < 0) return true;
      PersonEntry(slot_, n);
      AddRef(CurrentFamily().children, n);
      return true;
    case TagCode("NOTE"):
      ReadReference(line, true);
      return true;
    case TagCode("SOUR"):
      ReadReference(line, false);
      return true;
    case TagCode("CHAR"):
      // Only the header's CHAR line counts. A later one would read the
      // records after it in another encoding than the export reads the
      // whole file in, and their names and cross-references would not match.
      if (inHeader_) ReadCharacterSet(line.token3);
      return true;
    default:
      return true;
  }
}

// DATE under BIRT or CHR, DEAT or BURI, MARR: the first date that yields a
// year stays, and where its line starts.
void Parser::ReadDate(std::string_view value) {
  PackedDate* target = nullptr;
  int64_t* position = nullptr;
  if (event_ == kBirth) {
    target = &CurrentPerson().birth;
    position = &CurrentPerson().birthDatePos;
  } else if (event_ == kDeath) {
    target = &CurrentPerson().death;
    position = &CurrentPerson().deathDatePos;
  } else if (event_ == kMarriage) {
    target = &CurrentFamily().marriage;
    position = &CurrentFamily().marriageDatePos;
  }
  if (target == nullptr || DateYear(*target) != 0) return;
  const std::string text(value);  // the date reader wants a text that ends
  ParseDate(*target, text.c_str());
  if (DateYear(*target) != 0) *position = lineStart_;
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
  person.surname = slot_.pool.Add(surname.c_str());
  person.givenNames = slot_.pool.Add(given.c_str());
}

// NOTE @N5@ / SOUR @S5@: the first reference to a record hands out its
// sequence number, the number it carries in the merged output.
void Parser::ReadReference(const ScannedLine& line, bool note) {
  int m = 0;
  // Numbers of 200000 and more (nine-digit source numbers of some online
  // services) are not numbered: such records are copied under their own
  // cross-reference.
  if (!ScanAnyXref(line.token3, &m) || m < 0 || m >= kNoteNumberLimit) return;
  std::vector<int32_t>& seq = note ? slot_.noteSeq : slot_.sourceSeq;
  if (static_cast<size_t>(m) >= seq.size()) seq.resize(static_cast<size_t>(m) + 1, 0);
  if (seq[m] != 0) return;
  int32_t& count = note ? slot_.noteCount : slot_.sourceCount;
  seq[m] = ++count;
  const std::vector<int64_t>& pending = note ? pendingNotePos_ : pendingSourcePos_;
  if (static_cast<size_t>(m) < pending.size() && pending[m] != 0) {
    (note ? result_.notePositions : result_.sourcePositions).emplace_back(seq[m], pending[m]);
  }
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

ParseResult ParseGedcom(InputSlot& slot, int slotNumber, Reporter& reporter) {
  Parser parser(slot, slotNumber, reporter);
  return parser.Run();
}

void AddRecordPositions(Store& store, const ParseResult& parsed, int32_t noteOffset,
                        int32_t sourceOffset) {
  for (const auto& [sequence, position] : parsed.notePositions) {
    SetRecordPos(store.notePos, sequence + noteOffset, position);
  }
  for (const auto& [sequence, position] : parsed.sourcePositions) {
    SetRecordPos(store.sourcePos, sequence + sourceOffset, position);
  }
}

}  // namespace kw
