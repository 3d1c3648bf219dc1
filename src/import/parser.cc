#include "import/parser.h"

#include <charconv>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "import/date.h"
#include "import/record_numbers.h"

namespace kw {

namespace {

// White space as "%s" and "%d" skip it: blank, tab, LF, VT, FF, CR.
constexpr bool kSpace[256] = {false, false, false, false, false, false, false,
                              false, false, true,  true,  true,  true,  true};

bool IsSpace(char c) { return c == ' ' || kSpace[static_cast<unsigned char>(c)]; }

// Reads a signed decimal number at `text` the way "%d" does: leading white
// space and a sign allowed. False when no digit follows. Values beyond the
// int range are clamped, so they fail every range test.
bool ScanNumber(const char* text, int* value, const char** end = nullptr) {
  while (IsSpace(*text)) ++text;
  bool negative = false;
  if (*text == '+' || *text == '-') negative = *text++ == '-';
  if (*text < '0' || *text > '9') return false;
  long long number = 0;
  for (; *text >= '0' && *text <= '9'; ++text) {
    if (number <= INT_MAX) number = number * 10 + (*text - '0');
  }
  if (number > INT_MAX) number = negative ? static_cast<long long>(INT_MAX) + 1 : INT_MAX;
  *value = static_cast<int>(negative ? -number : number);
  if (end != nullptr) *end = text;
  return true;
}

// A cross-reference: "@" ... "@" around at least one character.
bool IsXref(const std::string& token) {
  return token.size() >= 3 && token.front() == '@' && token.back() == '@';
}

// "@%c%d@": '@', any one character, then a number.
bool ScanAnyXref(const char* text, int* number) {
  if (text[0] != '@' || text[1] == '\0') return false;
  return ScanNumber(text + 2, number);
}

// A tag matches by its first four bytes: a four-letter tag also matches a
// longer token that begins with it (BIRTH is BIRT), a three-letter tag only
// the exact token (its NUL is the fourth byte). The four bytes, up to the
// token's end and padded with NULs, make one number per tag.
constexpr uint32_t TagCode(const char* tag) {
  uint32_t code = 0;
  for (int i = 0; i < 4 && tag[i] != '\0'; ++i) {
    code |= static_cast<uint32_t>(static_cast<unsigned char>(tag[i])) << (8 * i);
  }
  return code;
}

uint32_t TagCode(const std::string& token) { return TagCode(token.c_str()); }

bool TagIs(const std::string& token, const char* tag) { return TagCode(token) == TagCode(tag); }

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

// One GEDCOM line split into level, two tokens and the raw value start.
struct Line {
  int level = 0;
  std::string xrefOrTag;    // second token
  std::string typeOrValue;  // third token
  const char* value = "";   // after the tag and the one blank that follows it
};

void ReadToken(const char*& p, std::string& token) {
  token.clear();
  while (IsSpace(*p)) ++p;
  const char* start = p;
  while (*p != '\0' && !IsSpace(*p)) ++p;
  token.assign(start, static_cast<size_t>(p - start));
}

// Returns false when the line does not begin with a level number.
bool SplitLine(const std::string& text, Line& line) {
  const char* p = text.c_str();
  if (!ScanNumber(p, &line.level, &p)) return false;
  ReadToken(p, line.xrefOrTag);
  line.value = p;
  if (*line.value == ' ' || *line.value == '\t') ++line.value;
  ReadToken(p, line.typeOrValue);
  return true;
}

bool IsBlankLine(const std::string& text) {
  for (char c : text) {
    if (!IsSpace(c)) return false;
  }
  return true;
}

class Parser {
 public:
  Parser(Store& store, Reporter& reporter, int slot, LineInput& input, int64_t fileSize)
      : store_(store),
        reporter_(reporter),
        slotNumber_(slot),
        slot_(store.slots[slot]),
        input_(input),
        fileSize_(fileSize),
        threshold_(fileSize / 100),
        pendingNotePos_(kNoteCapacity, 0),
        pendingSourcePos_(kNoteCapacity, 0) {}

  ParseResult Run();

 private:
  bool HandleRecord(const Line& line);
  bool HandleSubLine(const Line& line);
  void StepProgress(int64_t position);
  void ReadName(const char* value);
  void ReadDate(const char* value);
  void ReadReference(const Line& line, bool note);
  void ReadCharacterSet(const std::string& value);
  Person& CurrentPerson() { return slot_.persons[person_]; }
  Family& CurrentFamily() { return slot_.families[family_]; }

  Store& store_;
  Reporter& reporter_;
  int slotNumber_;
  InputSlot& slot_;
  LineInput& input_;
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
  numbers_.Collect(input_, encoding_);
  if (slotNumber_ == 0) slot_.xrefs.reserve(numbers_.recordLines());
  std::string text;
  Line line;
  while (input_.ReadLine(encoding_, text)) {
    if (!SplitLine(text, line)) {
      if (!IsBlankLine(text)) ++result_.skippedLines;
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

bool Parser::HandleRecord(const Line& line) {
  recordPos_ = input_.position();
  StepProgress(recordPos_);
  if (TagIs(line.xrefOrTag, "TRLR")) return false;
  const std::string& type = line.typeOrValue;
  if (TagIs(line.xrefOrTag, "HEAD") || TagIs(type, "INDI") || TagIs(type, "FAM")) {
    ++result_.gedcomRecords;
  }

  // The lines of any other record belong to that record: a repository's
  // NAME must not rename the person read before it.
  if (!TagIs(type, "INDI")) person_ = 0;
  if (!TagIs(type, "INDI") && !TagIs(type, "FAM")) family_ = 0;
  int n = 0;
  if (TagIs(type, "INDI")) {
    if (!IsXref(line.xrefOrTag)) return true;
    n = numbers_.PersonRecord(line.xrefOrTag);
    if (n >= kPersonCapacity) {
      ShowError(reporter_, "\r\n GED Datei zu gro\xDF. >%d Personen", n);
      return false;
    }
    Person& person = slot_.persons[n];
    person.number = n;
    if (n >= slot_.personEnd) slot_.personEnd = n + 1;
    // Only a repeated number can bring more INDI lines than there is room.
    if (slot_.personCount < kPersonCapacity) slot_.sortIndex[slot_.personCount++] = n;
    person.recordPos = recordPos_;
    bool plain = RememberXref(slot_.personXref, slot_.personByXref, 'I', n, line.xrefOrTag);
    if (slotNumber_ == 0 && !plain) slot_.xrefs.insert(line.xrefOrTag);
    if (numbers_.PersonHanded(line.xrefOrTag)) {
      slot_.personLogNumber[n] = RecordNumbers::DisplayNumber(line.xrefOrTag, n);
    }
    person_ = n;
    return true;
  }
  if (TagIs(type, "FAM")) {
    if (!IsXref(line.xrefOrTag)) return true;
    n = numbers_.FamilyRecord(line.xrefOrTag);
    if (n >= kFamilyCapacity) {
      ShowError(reporter_, "\r\n GED Datei zu gro\xDF. >%d Familien", n);
      return false;
    }
    Family& family = slot_.families[n];
    family.number = n;
    if (n >= slot_.familyEnd) slot_.familyEnd = n + 1;
    ++slot_.familyCount;
    family.recordPos = recordPos_;
    bool plain = RememberXref(slot_.familyXref, slot_.familyByXref, 'F', n, line.xrefOrTag);
    if (slotNumber_ == 0 && !plain) slot_.xrefs.insert(line.xrefOrTag);
    if (numbers_.FamilyHanded(line.xrefOrTag)) {
      slot_.familyLogNumber[n] = RecordNumbers::DisplayNumber(line.xrefOrTag, n);
    }
    family_ = n;
    return true;
  }
  if (slotNumber_ == 0 && IsXref(line.xrefOrTag)) slot_.xrefs.insert(line.xrefOrTag);
  bool note = TagIs(type, "NOTE");
  bool numbered = (note || TagIs(type, "SOUR")) && ScanAnyXref(line.xrefOrTag.c_str(), &n) &&
                  n >= 0 && n < kNoteCapacity;
  if (!numbered) {
    if (IsXref(line.xrefOrTag)) slot_.otherRecordPos.emplace(line.xrefOrTag, recordPos_);
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

bool Parser::HandleSubLine(const Line& line) {
  if (line.level == 1) event_ = kNoEvent;
  const uint32_t tag = TagCode(line.xrefOrTag);
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
      CurrentPerson().sex = line.typeOrValue.empty() ? 0 : line.typeOrValue[0];
      return true;
    case TagCode("FAMS"):
    case TagCode("FAMC"): {
      n = numbers_.FamilyReference(line.typeOrValue.c_str());
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
      if (IsSpace(*line.value)) return true;
      n = numbers_.PersonReference(line.typeOrValue.c_str());
      if (n < 0) return true;
      (tag == TagCode("HUSB") ? CurrentFamily().husband : CurrentFamily().wife) = n;
      return true;
    case TagCode("CHIL"):
      n = numbers_.PersonReference(line.typeOrValue.c_str());
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
      ReadCharacterSet(line.typeOrValue);
      return true;
    default:
      return true;
  }
}

// DATE under BIRT or CHR, DEAT or BURI, MARR: the first date that yields a
// year stays.
void Parser::ReadDate(const char* value) {
  PackedDate* target = nullptr;
  if (event_ == kBirth) target = &CurrentPerson().birth;
  if (event_ == kDeath) target = &CurrentPerson().death;
  if (event_ == kMarriage) target = &CurrentFamily().marriage;
  if (target != nullptr && DateYear(*target) == 0) ParseDate(*target, value);
}

// NAME Anna Maria /Huber/: the given names before the first "/", the
// surname up to the next "/" (or the end).
void Parser::ReadName(const char* value) {
  const char* slash = std::strchr(value, '/');
  if (slash == nullptr) return;
  std::string given(value, static_cast<size_t>(slash - value));
  while (!given.empty() && given.back() == ' ') given.pop_back();
  const char* surnameStart = slash + 1;
  const char* surnameEnd = std::strchr(surnameStart, '/');
  std::string surname =
      surnameEnd == nullptr
          ? std::string(surnameStart)
          : std::string(surnameStart, static_cast<size_t>(surnameEnd - surnameStart));
  Person& person = CurrentPerson();
  person.surname = store_.pool.Add(surname.c_str(), reporter_);
  person.givenNames = store_.pool.Add(given.c_str(), reporter_);
}

// NOTE @N5@ / SOUR @S5@: the first reference to a record hands out its
// sequence number, the number it carries in the merged output.
void Parser::ReadReference(const Line& line, bool note) {
  int m = 0;
  // Numbers of 200000 and more (nine-digit source numbers of some online
  // services) are not numbered: such records are copied under their own
  // cross-reference.
  if (!ScanAnyXref(line.typeOrValue.c_str(), &m) || m < 0 || m >= kNoteCapacity) return;
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
void Parser::ReadCharacterSet(const std::string& value) {
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

ParseResult ParseGedcom(Store& store, Reporter& reporter, int slot, LineInput& input,
                        int64_t fileSize) {
  Parser parser(store, reporter, slot, input, fileSize);
  return parser.Run();
}

}  // namespace kw
