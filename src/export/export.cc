#include "export/export.h"

#include <algorithm>
#include <charconv>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/display_path.h"
#include "base/gedcom_tags.h"
#include "base/side_by_side.h"
#include "check/describe.h"
#include "export/line_node.h"
#include "export/read_ahead.h"
#include "export/record_io.h"
#include "export/renumber.h"
#include "import/line_input.h"

namespace kw {

namespace {

// Records to read ahead before a thread of their own pays.
constexpr size_t kRecordsWorthAThread = 256;

class Exporter {
 public:
  Exporter(Store& store, MergeLog& log, Reporter& reporter, const PersonLines* lines)
      : store_(store), log_(log), reporter_(reporter), lines_(lines),
        renumbering_(store, log, reporter, output_, lines) {}

  int Run(const std::string& outputPath);

 private:
  enum RecordKind { kOtherRecord, kPersonRecord, kFamilyRecord };

  bool OpenFiles(const std::string& outputPath);
  int Finish(const std::string& outputPath);
  void CopyFirstLine();
  void Stream();
  std::vector<ReadAhead::Wanted> MergedRecordsInFileOrder() const;
  ReadAhead::Record ReadMergedPair(int64_t first, int64_t second);
  void WriteReadBack(const ReadAhead::Record& record, int32_t number, uint32_t kind);
  bool ReadStreamLine();
  void StepProgress();
  bool HandleRecordLine();
  bool StreamPerson(int32_t n);
  bool StreamFamily(int32_t f);
  bool SkipAndRead();
  void HandleSubLine();
  void PersonLine(uint32_t tag);
  void FamilyLine(uint32_t tag);
  void CopyLine();
  void CopyOtherLine();
  const LineText& StreamText() const { return text_; }
  bool ResumeAfter(int64_t resume, int64_t recordPos, int64_t nextRecord);
  void StartFamilies();
  std::unique_ptr<ReadAhead> ReadAddedAhead(int32_t first, bool families);
  std::unique_ptr<ReadAhead> ReadRecordsAhead(int slot, std::vector<ReadAhead::Wanted> wanted);
  ReadAhead::Record ReadBack(ReadAhead* ahead, InputText& input, int64_t position);
  int32_t WriteAddedPersons(int32_t first);
  int32_t WriteAddedFamilies(int32_t first);
  void AddTheRestOfInputFileTwo();
  bool WriteWhatIsNew(bool carriedToo);
  void WriteNotesAndSources(bool notes);
  void WriteNoteOrSource(int slot, ReadAhead* ahead, int64_t position, int32_t sequence,
                         bool note);
  size_t WriteCarriedRecords(size_t first);

  Store& store_;
  MergeLog& log_;
  Reporter& reporter_;
  const PersonLines* lines_;  // may be null
  InputText inputs_[2];
  GedcomOutput output_;
  Renumbering renumbering_;
  LineArena arena_;
  std::unique_ptr<ReadAhead> readAhead_;  // while the stream runs

  // The current line of the stream of input file 1.
  std::string_view raw_;
  std::string scanStorage_;
  LineText text_;  // raw_, its reading and its parts
  std::string head_;  // the first line of a note or source being written
  ScannedLine line_;
  bool firstLine_ = true;

  // The record the stream is in, and its link counters.
  RecordKind kind_ = kOtherRecord;
  int32_t person_ = 0;
  int32_t family_ = 0;
  int famsSeen_ = 0;
  int famcSeen_ = 0;
  int chilSeen_ = 0;
  bool husbandSeen_ = false;
  bool wifeSeen_ = false;
  int dropDeeperThan_ = -1;  // a left-out "_" line of a family: its level

  // A number met twice in input file 1 is written once.
  std::vector<bool> personWritten_;
  std::vector<bool> familyWritten_;

  bool familiesStarted_ = false;
  int32_t firstAddedPerson_ = 0;
  int32_t firstAddedFamily_ = 0;
  // The first added person and family not written yet, and the first
  // carried record not written yet.
  int32_t nextAddedPerson_ = 0;
  int32_t nextAddedFamily_ = 0;
  size_t nextCarried_ = 0;

  int64_t size_ = 0;
  int64_t step_ = 0;
  int64_t threshold_ = 0;
};

// Layout: the first line of input file 1 byte for byte; its records as they
// stand, persons and families rebuilt and linked by the output's numbering
// (added persons before the first family record); the persons added late,
// then every other person of input file 2 with the relatives it brings;
// the added families; the notes; the sources; the other records of input
// file 2 that written lines point at; whatever those lines added last; one
// trailer.
int Exporter::Run(const std::string& outputPath) {
  if (!OpenFiles(outputPath)) return 0;
  InputSlot& out = store_.slots[0];
  // Number 0 means "no record": an input file 1 without persons or without
  // families still numbers its additions from 1.
  if (out.personEnd < 1) out.personEnd = 1;
  if (out.familyEnd < 1) out.familyEnd = 1;
  firstAddedPerson_ = nextAddedPerson_ = out.personEnd;
  firstAddedFamily_ = out.familyEnd;
  // Finding who brings families reads only input file 2's tables, which
  // nothing else here changes; making room moves slot 0's tables, and the
  // list of pairs is read from them after that.
  constexpr int32_t kWorthAThread = 4096;
  std::vector<ReadAhead::Wanted> wanted;
  SideBySide(
      store_.slots[1].personCount >= kWorthAThread,
      [&] {
        renumbering_.MakeRoomForAdditions();
        wanted = MergedRecordsInFileOrder();
      },
      [&] { renumbering_.FindWhoBringsFamilies(); });
  personWritten_.assign(out.persons.size(), false);
  familyWritten_.assign(out.families.size(), false);

  reporter_.CreateProgress();
  size_ = inputs_[0].Size();
  step_ = size_ / 100;
  threshold_ = step_;

  ShowStatus(reporter_, 0, "Personen exportieren...");
  readAhead_ = std::make_unique<ReadAhead>(inputs_[0], inputs_[1], std::move(wanted),
                                           output_.encoding());
  Stream();
  readAhead_.reset();
  if (!familiesStarted_) StartFamilies();
  ShowStatus(reporter_, 0, "Hinzugef\xFCgte exportieren...");
  nextAddedPerson_ = WriteAddedPersons(nextAddedPerson_);
  AddTheRestOfInputFileTwo();
  nextAddedFamily_ = firstAddedFamily_;
  while (WriteWhatIsNew(false)) {
  }
  ShowStatus(reporter_, 0, "Notizen exportieren...");
  WriteNotesAndSources(true);
  ShowStatus(reporter_, 0, "Quellen exportieren...");
  WriteNotesAndSources(false);
  nextCarried_ = WriteCarriedRecords(0);
  while (WriteWhatIsNew(true)) {
  }
  output_.WriteLine("0 TRLR\n");
  reporter_.DestroyProgress();
  return Finish(outputPath);
}

// The output takes its name only when it and the log are whole: a log that
// could not be written says so, and its run writes no output either.
int Exporter::Finish(const std::string& outputPath) {
  log_.Flush();
  if (log_.failed()) {
    output_.Abandon();
    return 0;
  }
  if (!output_.Commit()) {
    ShowError(reporter_, "\r\nFehler beim Schreiben von %s: %s", DisplayPath(outputPath).c_str(),
              WriteErrorReason(output_.error()).c_str());
    return 0;
  }
  return 1;
}

// The inputs are the bytes the import read; only the output is opened.
bool Exporter::OpenFiles(const std::string& outputPath) {
  for (int slot = 0; slot < 2; ++slot) {
    const InputSlot& s = store_.slots[slot];
    inputs_[slot] = InputText(s.bytes, s.encoding, slot);
  }
  if (!output_.Open(outputPath, store_.slots[0].encoding)) {
    ShowError(reporter_, "kann %s nicht \xF6" "ffnen", DisplayPath(outputPath).c_str());
    return false;
  }
  return true;
}

// ---------------------------------------------------------------------------
// The stream of input file 1

void Exporter::Stream() {
  bool have = ReadStreamLine();
  while (have) {
    if (!line_.hasLevel) {
      CopyLine();  // blank or unscannable: copied, the stream goes on
      have = ReadStreamLine();
    } else if (line_.level != 0) {
      HandleSubLine();
      have = ReadStreamLine();
    } else {
      have = HandleRecordLine();
    }
  }
}

// Reads the next line of input file 1 and scans it. The first line's
// byte-order mark goes to the output as it stands, before the line.
bool Exporter::ReadStreamLine() {
  if (firstLine_) {
    firstLine_ = false;
    if (!inputs_[0].ReadLine(raw_)) return false;
    EncodingProbe probe = ProbeEncoding(raw_);
    output_.WriteBytes(raw_.substr(0, probe.markBytes));
    raw_.remove_prefix(probe.markBytes);
    text_.raw = raw_;
    text_.scan = ScanText(inputs_[0].encoding(), raw_, scanStorage_);
    text_.line = ScanLine(text_.scan);
  } else if (!inputs_[0].ReadScannedLine(text_.raw, text_.scan, text_.line, scanStorage_)) {
    return false;
  }
  raw_ = text_.raw;
  line_ = text_.line;
  text_.encoding = inputs_[0].encoding();
  text_.slot = 0;
  StepProgress();
  return true;
}

// Once per hundredth of input file 1, however far a line moved.
void Exporter::StepProgress() {
  int64_t position = inputs_[0].position();
  if (position <= threshold_) return;
  int percent = size_ > 0 ? static_cast<int>(position * 100 / size_) : 100;
  threshold_ += step_;
  reporter_.StepProgress();
  ShowStatus(reporter_, 1, "%d%% erledigt", percent == 99 ? 100 : percent);
}

void Exporter::CopyLine() { output_.WriteLineCopy(raw_, inputs_[0].encoding()); }

bool Exporter::SkipAndRead() {
  SkipRecord(inputs_[0]);
  return ReadStreamLine();
}

// A level-0 line. Returns whether the current line holds the next line to
// handle. The trailer ends the stream: the output gets its own at the end,
// and the import read nothing after it.
bool Exporter::HandleRecordLine() {
  dropDeeperThan_ = -1;
  kind_ = kOtherRecord;
  if (TagCode(line_.token2) == kTrlr) return false;
  uint32_t type = TagCode(line_.token3);
  int number = 0;
  // Records are found by the name the import gave its number to.
  if (type == kIndi && (number = PersonNumberOf(store_.slots[0], line_.token2)) >= 0) {
    return StreamPerson(number);
  }
  if (type == kFam && (number = FamilyNumberOf(store_.slots[0], line_.token2)) >= 0) {
    if (!familiesStarted_) StartFamilies();
    return StreamFamily(number);
  }
  // Numbered notes and sources are written after the families under their
  // sequence numbers; others keep their place and their name.
  if ((type == kNote || type == kSour) && ScanAnyXref(line_.token2, &number) && number >= 0 &&
      number < kNoteNumberLimit) {
    return SkipAndRead();
  }
  CopyLine();
  return ReadStreamLine();
}

bool Exporter::StreamPerson(int32_t n) {
  famsSeen_ = famcSeen_ = 0;
  if (!renumbering_.PersonInOutput(n) || personWritten_[n]) return SkipAndRead();
  personWritten_[n] = true;
  const Person& p = store_.slots[0].persons[n];
  if (p.partner == 0) {
    CopyLine();
    kind_ = kPersonRecord;
    person_ = n;
    return ReadStreamLine();
  }
  int32_t m = p.partner;
  DescribePerson(store_, log_, 0, n, lines_);
  DescribePerson(store_, log_, 1, m, lines_);
  log_.WriteText("verschmolzen\n\n");
  renumbering_.TakeOverFamilies(m);
  int64_t resume = inputs_[0].position();
  // Writing the tree may add records to the tables: nothing of them is read
  // after it.
  const int64_t recordPos = p.recordPos;
  const Person& other = store_.slots[1].persons[m];
  ReadAhead::Record pair = ReadMergedPair(recordPos, other.number != 0 ? other.recordPos : -1);
  output_.WriteRecordHead(renumbering_.PersonRef(n), "INDI");
  WriteReadBack(pair, n, kIndi);
  arena_.Release();
  return ResumeAfter(resume, recordPos, pair.nextRecord);
}

bool Exporter::StreamFamily(int32_t f) {
  chilSeen_ = 0;
  husbandSeen_ = wifeSeen_ = false;
  if (!renumbering_.FamilyInOutput(f) || familyWritten_[f]) return SkipAndRead();
  familyWritten_[f] = true;
  const Family& family = store_.slots[0].families[f];
  if (family.partner == 0) {
    CopyLine();
    kind_ = kFamilyRecord;
    family_ = f;
    return ReadStreamLine();
  }
  int64_t resume = inputs_[0].position();
  const int64_t recordPos = family.recordPos;  // the tables may grow below
  const Family& other = store_.slots[1].families[family.partner];
  ReadAhead::Record pair = ReadMergedPair(recordPos, other.number != 0 ? other.recordPos : -1);
  output_.WriteRecordHead(renumbering_.FamilyRef(f), "FAM");
  WriteReadBack(pair, f, kFam);
  arena_.Release();
  return ResumeAfter(resume, recordPos, pair.nextRecord);
}

// The record of input file 1 whose first sub-line is at `first` with its
// partner record of input file 2 at `second` (-1: none) merged into it:
// read ahead or, where the read-ahead does not hold them, here and now.
ReadAhead::Record Exporter::ReadMergedPair(int64_t first, int64_t second) {
  ReadAhead::Record pair;
  if (readAhead_ != nullptr && readAhead_->Take(first, second, &pair)) return pair;
  return ReadAndMerge(inputs_[0], inputs_[1], first, second, arena_, reporter_);
}

// A record read back (merged or added), by its plan where the read-ahead
// made one, otherwise by its tree.
void Exporter::WriteReadBack(const ReadAhead::Record& record, int32_t number, uint32_t kind) {
  if (record.plans == nullptr) return renumbering_.WriteRecordTree(record.merged, number, kind);
  renumbering_.WritePlannedRecord(*record.plans, record.steps, number, kind);
}

// What the stream will ask ReadMergedPair for, as far as the tables tell
// before it starts: every matched person and family of input file 1 that
// the output holds, in file order.
std::vector<ReadAhead::Wanted> Exporter::MergedRecordsInFileOrder() const {
  const InputSlot& one = store_.slots[0];
  const InputSlot& two = store_.slots[1];
  std::vector<ReadAhead::Wanted> wanted;
  wanted.reserve(one.persons.size() + one.families.size());
  // The partners lie all over input file 2's tables: each is asked for a
  // few entries before it is read.
  constexpr int32_t kAhead = 16;
  const int32_t persons = std::min(firstAddedPerson_, static_cast<int32_t>(one.persons.size()));
  for (int32_t n = 1; n < persons; ++n) {
    if (n + kAhead < persons) PrefetchPerson(two.persons[one.persons[n + kAhead].partner]);
    const Person& p = one.persons[n];
    if (p.number == 0 || p.partner == 0 || !renumbering_.PersonInOutput(n)) continue;
    const Person& other = two.persons[p.partner];
    wanted.push_back({p.recordPos, other.number != 0 ? other.recordPos : -1});
  }
  const int32_t families = std::min(firstAddedFamily_, static_cast<int32_t>(one.families.size()));
  for (int32_t f = 1; f < families; ++f) {
    if (f + kAhead < families) __builtin_prefetch(&two.families[one.families[f + kAhead].partner]);
    const Family& family = one.families[f];
    if (family.number == 0 || family.partner == 0 || !renumbering_.FamilyInOutput(f)) continue;
    const Family& other = two.families[family.partner];
    wanted.push_back({family.recordPos, other.number != 0 ? other.recordPos : -1});
  }
  // A file that numbers its persons and families in file order and writes
  // its persons first, as most do, gives them in file order already.
  auto before = [](const ReadAhead::Wanted& x, const ReadAhead::Wanted& y) {
    return x.first < y.first;
  };
  if (!std::is_sorted(wanted.begin(), wanted.end(), before)) {
    std::sort(wanted.begin(), wanted.end(), before);
  }
  return wanted;
}

// The stream goes on after the record it has just rebuilt. Where the record
// re-read was the one the stream stands in, its reading found the next
// record already; otherwise (a number used twice, a record cut short by a
// box) the stream skips to it.
bool Exporter::ResumeAfter(int64_t resume, int64_t recordPos, int64_t nextRecord) {
  if (recordPos == resume && nextRecord >= 0) {
    inputs_[0].Seek(nextRecord);
    return ReadStreamLine();
  }
  inputs_[0].Seek(resume);
  return SkipAndRead();
}

void Exporter::HandleSubLine() {
  if (dropDeeperThan_ >= 0) {
    if (line_.level > dropDeeperThan_) return;
    dropDeeperThan_ = -1;
  }
  uint32_t tag = TagCode(line_.token2);
  if (kind_ == kPersonRecord) return PersonLine(tag);
  if (kind_ == kFamilyRecord) return FamilyLine(tag);
  CopyOtherLine();
}

// A line the stream copies: a reference renumbered, a pointer to a person
// or family the output does not hold left out with what is below it.
void Exporter::CopyOtherLine() {
  if (!renumbering_.KeepsPointer(StreamText())) {
    dropDeeperThan_ = line_.level;
    return;
  }
  if (!renumbering_.WriteReference(StreamText())) CopyLine();
}

// The level-1 FAMS and FAMC lines of an unmatched person name, in order,
// the families its repaired lists hold; a line beyond the list writes
// nothing. Deeper ones (the family of an adoption) are copied.
void Exporter::PersonLine(uint32_t tag) {
  const Person& p = store_.slots[0].persons[person_];
  if ((tag == kFamc || tag == kFams) && line_.level == 1) {
    const RefList& list = tag == kFamc ? p.parentFamilies : p.spouseFamilies;
    int& seen = tag == kFamc ? famcSeen_ : famsSeen_;
    if (seen >= list.count()) return;
    int k = seen++;
    int32_t f = RefAt(list, k, reporter_);
    if (!renumbering_.FamilyInOutput(f) || ListedBefore(list, static_cast<size_t>(k))) return;
    if (tag == kFamc) {
      output_.WriteLink("1 FAMC ", renumbering_.FamilyRef(f));
    } else {
      output_.WriteLink("1 FAMS ", renumbering_.FamilyRef(f));
    }
    return;
  }
  CopyOtherLine();
}

// An unmatched family: level-1 HUSB and WIFE from the repaired family,
// level-1 CHIL lines in order from its children; deeper ones (a spouse's
// age at an event) are copied. User-defined lines below level 1 are left
// out with everything below them.
void Exporter::FamilyLine(uint32_t tag) {
  const Family& f = store_.slots[0].families[family_];
  if (line_.level != 1) tag = 0;
  // A family may name its husband on two lines: the link is written once.
  if (tag == kHusb) {
    if (!husbandSeen_ && renumbering_.PersonInOutput(f.husband)) {
      output_.WriteLink("1 HUSB ", renumbering_.PersonRef(f.husband));
    }
    husbandSeen_ = true;
    return;
  }
  if (tag == kWife) {
    if (!wifeSeen_ && renumbering_.PersonInOutput(f.wife)) {
      output_.WriteLink("1 WIFE ", renumbering_.PersonRef(f.wife));
    }
    wifeSeen_ = true;
    return;
  }
  if (tag == kChil) {
    if (chilSeen_ >= f.children.count()) return;
    int k = chilSeen_++;
    int32_t c = RefAt(f.children, k, reporter_);
    if (renumbering_.PersonInOutput(c) && !ListedBefore(f.children, static_cast<size_t>(k))) {
      output_.WriteLink("1 CHIL ", renumbering_.PersonRef(c));
    }
    return;
  }
  if (line_.level >= 2 && !line_.token2.empty() && line_.token2[0] == '_') {
    dropDeeperThan_ = line_.level;
    return;
  }
  CopyOtherLine();
}

// ---------------------------------------------------------------------------
// Added records, notes, sources

void Exporter::StartFamilies() {
  familiesStarted_ = true;
  ShowStatus(reporter_, 0, "Hinzugef\xFCgte exportieren...");
  nextAddedPerson_ = WriteAddedPersons(nextAddedPerson_);
  ShowStatus(reporter_, 0, "Familien exportieren...");
}

// The records of input file 2 behind the persons (families) added from
// `first` on, in the order they will be written, read ahead on another
// thread when there are enough of them to be worth it; null otherwise.
// Those added while they are written wait for the next wave.
std::unique_ptr<ReadAhead> Exporter::ReadAddedAhead(int32_t first, bool families) {
  const InputSlot& out = store_.slots[0];
  const InputSlot& in = store_.slots[1];
  const int32_t end = families ? out.familyEnd : out.personEnd;
  // Called once for each person the rest of input file 2 adds: too few is
  // told before the list is made.
  if (static_cast<size_t>(end - first) < kRecordsWorthAThread) return nullptr;
  std::vector<ReadAhead::Wanted> wanted;
  for (int32_t a = first; a < end; ++a) {
    const int32_t number = families ? out.families[a].number : out.persons[a].number;
    const int32_t source = families ? out.families[a].partner : out.persons[a].partner;
    if (number == 0 || source == 0) continue;
    wanted.push_back({families ? in.families[source].recordPos : in.persons[source].recordPos});
  }
  return ReadRecordsAhead(1, std::move(wanted));
}

// Records of one input file read ahead in exactly the order given, each
// alone; null when there are too few to be worth a thread.
std::unique_ptr<ReadAhead> Exporter::ReadRecordsAhead(int slot,
                                                      std::vector<ReadAhead::Wanted> wanted) {
  if (wanted.size() < kRecordsWorthAThread) return nullptr;
  return std::make_unique<ReadAhead>(inputs_[slot], inputs_[slot], std::move(wanted),
                                     output_.encoding(), ReadAhead::Order::kAsWanted);
}

// The record at `position` of `input`, from the read-ahead when it holds
// exactly that one, otherwise read here.
ReadAhead::Record Exporter::ReadBack(ReadAhead* ahead, InputText& input, int64_t position) {
  ReadAhead::Record record;
  if (ahead != nullptr && ahead->Take(position, -1, &record)) return record;
  return ReadAndMerge(input, input, position, -1, arena_, reporter_);
}

// Persons added while this runs (relatives of added persons) are written by
// the same loop. They come in waves: those added while one wave is written
// are known, in their order, once the loop reaches the end of that wave,
// and are read ahead then. Returns the number after the last one looked at.
int32_t Exporter::WriteAddedPersons(int32_t first) {
  InputSlot& out = store_.slots[0];
  std::unique_ptr<ReadAhead> ahead;
  int32_t a = first;
  for (int32_t wave = first; a < out.personEnd; ++a) {
    if (a == wave) {
      ahead = ReadAddedAhead(a, false);
      wave = out.personEnd;
    }
    int32_t m = out.persons[a].partner;
    if (out.persons[a].number == 0 || m == 0) continue;
    renumbering_.TakeOverFamilies(m);
    ReadAhead::Record record =
        ReadBack(ahead.get(), inputs_[1], store_.slots[1].persons[m].recordPos);
    output_.WriteLine("0 @I%d@ INDI\n", a);
    WriteReadBack(record, a, kIndi);
    arena_.Release();
    ++out.personCount;
  }
  return a;
}

// In waves, as the persons. Returns the number after the last one looked
// at.
int32_t Exporter::WriteAddedFamilies(int32_t first) {
  InputSlot& out = store_.slots[0];
  std::unique_ptr<ReadAhead> ahead;
  int32_t a = first;
  for (int32_t wave = first; a < out.familyEnd; ++a) {
    if (a == wave) {
      ahead = ReadAddedAhead(a, true);
      wave = out.familyEnd;
    }
    int32_t g = out.families[a].partner;
    if (out.families[a].number == 0 || g == 0) continue;
    ReadAhead::Record record =
        ReadBack(ahead.get(), inputs_[1], store_.slots[1].families[g].recordPos);
    output_.WriteLine("0 @F%d@ FAM\n", a);
    WriteReadBack(record, a, kFam);
    arena_.Release();
    ++out.familyCount;
  }
  return a;
}

// A person of input file 2 whom no match and no family reached (a tree of
// its own, a single person kept for later) is added all the same, in file
// order, and written at once with the relatives its families bring. A
// partner is never taken back, so only those without one now can be such a
// person: most files have few or none, and they alone are put in order.
void Exporter::AddTheRestOfInputFileTwo() {
  const InputSlot& in = store_.slots[1];
  std::vector<std::pair<int64_t, int32_t>> fileOrder;
  for (int32_t q = 1; q < static_cast<int32_t>(in.persons.size()) && q < in.personEnd; ++q) {
    const Person& person = in.persons[q];
    if (person.number != 0 && person.partner == 0) fileOrder.emplace_back(person.recordPos, q);
  }
  std::sort(fileOrder.begin(), fileOrder.end());
  for (const auto& [position, q] : fileOrder) {
    if (in.persons[q].partner != 0) continue;
    renumbering_.MapPerson(q);
    nextAddedPerson_ = WriteAddedPersons(nextAddedPerson_);
  }
}

// Writes the persons and families added since they were last written and,
// once the carried records have had their turn, the records carried since.
// Lines of any of them may add more; true when something was written, so
// the caller goes round again.
bool Exporter::WriteWhatIsNew(bool carriedToo) {
  const InputSlot& out = store_.slots[0];
  bool fresh = nextAddedPerson_ < out.personEnd || nextAddedFamily_ < out.familyEnd ||
               (carriedToo && nextCarried_ < renumbering_.carried().count());
  if (!fresh) return false;
  nextAddedPerson_ = WriteAddedPersons(nextAddedPerson_);
  nextAddedFamily_ = WriteAddedFamilies(nextAddedFamily_);
  if (carriedToo) nextCarried_ = WriteCarriedRecords(nextCarried_);
  return true;
}

// Input file 1's by sequence number, then input file 2's, which the import
// numbered on after them.
void Exporter::WriteNotesAndSources(bool notes) {
  const std::vector<int64_t>& positions = notes ? store_.notePos : store_.sourcePos;
  int32_t j = 1;
  for (int slot = 0; slot < 2; ++slot) {
    const InputSlot& s = store_.slots[slot];
    const int32_t last = notes ? s.noteCount : s.sourceCount;
    auto listed = [&](int32_t k) {
      return static_cast<size_t>(k) < positions.size() && positions[k] != 0;
    };
    std::vector<ReadAhead::Wanted> wanted;
    for (int32_t k = j; k <= last; ++k) {
      if (listed(k)) wanted.push_back({positions[k]});
    }
    std::unique_ptr<ReadAhead> ahead = ReadRecordsAhead(slot, std::move(wanted));
    for (; j <= last; ++j) {
      if (listed(j)) WriteNoteOrSource(slot, ahead.get(), positions[j], j, notes);
    }
  }
}

// A note keeps the text of its own level-0 line after its new number.
void Exporter::WriteNoteOrSource(int slot, ReadAhead* ahead, int64_t position,
                                 int32_t sequence, bool note) {
  InputText& input = inputs_[slot];
  const int32_t number = renumbering_.OutputNumber(note ? 'N' : 'S', sequence);
  std::string_view value = RecordValue(input.LineBefore(position), input.encoding());
  // "0 @N<number>@ NOTE", then the value after a blank, or the line end.
  char digits[16];
  head_.assign("0 @").push_back(note ? 'N' : 'S');
  head_.append(digits, std::to_chars(digits, digits + sizeof digits, number).ptr);
  head_.append(note ? "@ NOTE" : "@ SOUR");
  head_.push_back(value.empty() ? '\n' : ' ');
  output_.WriteText(head_);
  if (!value.empty()) {
    output_.WriteCopy(value, input.encoding());
    output_.WriteText("\n");
  }
  ReadAhead::Record record = ReadBack(ahead, input, position);
  WriteReadBack(record, number, note ? kNote : kSour);
  arena_.Release();
}

// Writing a carried record can point at more records of input file 2;
// they join the queue and are written by the same loop. Returns the index
// after the last record written.
size_t Exporter::WriteCarriedRecords(size_t first) {
  CarriedRecords& carried = renumbering_.carried();
  InputText& input = inputs_[1];
  std::string storage;
  size_t i = first;
  for (; i < carried.count(); ++i) {
    CarriedRecords::Record record = carried.at(i);
    std::string_view head = input.LineBefore(record.position);
    // The import and the export split lines alike, so the record's own
    // line is always found.
    if (head.empty()) continue;
    std::string type(ScanLine(ScanText(input.encoding(), head, storage)).token3);
    std::string_view value = RecordValue(head, input.encoding());
    if (value.empty()) {
      output_.WriteLine("0 %s %s\n", record.name.c_str(), type.c_str());
    } else {
      output_.WriteLine("0 %s %s ", record.name.c_str(), type.c_str());
      output_.WriteCopy(value, input.encoding());
      output_.WriteLine("\n");
    }
    LineNode* tree = ReadGED(input, record.position, arena_, reporter_);
    renumbering_.WriteRecordTree(tree, 0, TagCode(type));
    arena_.Release();
  }
  return i;
}

}  // namespace

int ExportGedcom(Store& store, MergeLog& log, Reporter& reporter, const std::string& outputPath,
                 const PersonLines* lines) {
  Exporter exporter(store, log, reporter, lines);
  return exporter.Run(outputPath);
}

}  // namespace kw
