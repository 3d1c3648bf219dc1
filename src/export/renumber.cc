#include "export/renumber.h"

#include <algorithm>

#include "base/gedcom_tags.h"
#include "check/describe.h"
#include "export/record_plan.h"

namespace kw {

namespace {

// Whether entry `n` of a person or family table was read from a record of
// the file: present, or deleted by the checks (which keep its position).
template <typename Table>
bool RecordOfFile(const Table& table, int32_t n) {
  return n > 0 && static_cast<size_t>(n) < table.size() &&
         (table[n].number != 0 || table[n].recordPos != 0);
}

}  // namespace

// A link is written once, however often a list names it.
bool ListedBefore(const RefList& list, size_t k) {
  for (size_t i = 0; i < k; ++i) {
    if (list[i] == list[k]) return true;
  }
  return false;
}

// ---------------------------------------------------------------------------
// Taking records of input file 2 into slot 0

bool Renumbering::PersonIsAbsent(int slot, int32_t p) const {
  const InputSlot& s = store_.slots[slot];
  return !HoldsPerson(s, p) || s.persons[p].number == 0;
}

bool Renumbering::FamilyIsAbsent(int slot, int32_t f) const {
  const InputSlot& s = store_.slots[slot];
  return !HoldsFamily(s, f) || s.families[f].number == 0;
}

void Renumbering::MakeRoomForAdditions() {
  InputSlot& out = store_.slots[0];
  const InputSlot& in = store_.slots[1];
  // Only a record of input file 2 that has no partner can be added, and at
  // most once: with this room the tables never move while the export holds
  // a reference into them.
  size_t persons = 0;
  size_t families = 0;
  for (const Person& p : in.persons) persons += p.number != 0 && p.partner == 0 ? 1 : 0;
  for (const Family& f : in.families) families += f.number != 0 && f.partner == 0 ? 1 : 0;
  // A number is passed over only where a record of input file 1 carries
  // its name (see SkipTakenNames): at most once for each such record.
  const size_t taken = out.personNames.size() + out.familyNames.size() + out.xrefs.size();
  size_t personEnd = static_cast<size_t>(std::max(out.personEnd, 1));
  size_t familyEnd = static_cast<size_t>(std::max(out.familyEnd, 1));
  out.persons.reserve(std::max(out.persons.size(), personEnd + persons + taken));
  out.families.reserve(std::max(out.families.size(), familyEnd + families + taken));
}

// A family of input file 2 gives TakeOverFamilies work only while it has no
// partner or has a member without one; a partner, once given, stays. So a
// person none of whose families has work at the start never brings any,
// and is passed over without a look at its families, which lie all over
// the table.
void Renumbering::FindWhoBringsFamilies() {
  const InputSlot& in = store_.slots[1];
  auto unmatched = [&](int32_t q) { return !PersonIsAbsent(1, q) && in.persons[q].partner == 0; };
  std::vector<bool> familyHasWork(in.families.size(), false);
  for (size_t g = 1; g < in.families.size(); ++g) {
    const Family& family = in.families[g];
    if (family.number == 0) continue;
    bool work = family.partner == 0 || unmatched(family.husband) || unmatched(family.wife);
    for (int32_t c : family.children) work = work || unmatched(c);
    familyHasWork[g] = work;
  }
  bringsFamilies_.assign(in.persons.size(), false);
  for (size_t q = 1; q < in.persons.size(); ++q) {
    const Person& person = in.persons[q];
    for (const RefList* list : {&person.parentFamilies, &person.spouseFamilies}) {
      for (int32_t g : *list) {
        if (HoldsFamily(in, g) && familyHasWork[g]) bringsFamilies_[q] = true;
      }
    }
  }
}

// An addition is written as @I<n>@ or @F<n>@. Where a record of input file
// 1 already stands under that name (a person written @F2@, a repository
// @I7@, a person numbered anew under @I250000@), the number is passed over:
// two records of one name would make every link to them ambiguous.
void Renumbering::SkipTakenNames(int32_t& end, char letter) const {
  const InputSlot& out = store_.slots[0];
  if (out.personNames.size() + out.familyNames.size() + out.xrefs.size() == 0) return;
  while (end < INT32_MAX &&
         HasRecordNamed(out, "@" + std::string(1, letter) + std::to_string(end) + "@")) {
    ++end;
  }
}

bool Renumbering::PersonInOutput(int32_t n) const { return !PersonIsAbsent(0, n); }
bool Renumbering::FamilyInOutput(int32_t f) const { return !FamilyIsAbsent(0, f); }

int32_t Renumbering::MapPerson(int32_t p) {
  if (PersonIsAbsent(1, p)) return 0;
  Person& other = store_.slots[1].persons[p];
  if (other.partner != 0) return other.partner;
  InputSlot& out = store_.slots[0];
  SkipTakenNames(out.personEnd, 'I');
  if (out.personEnd == INT32_MAX) {
    if (!numbersUsedUpShown_) {
      ShowError(reporter_, "\r\nZu viele Personen: mehr als %d lassen sich nicht nummerieren",
                INT32_MAX - 1);
    }
    numbersUsedUpShown_ = true;
    return 0;
  }
  int32_t n = out.personEnd++;
  Person& added = PersonEntry(out, n);
  added = Person{};
  added.number = n;
  added.partner = p;
  other.partner = n;
  DescribePerson(store_, log_, 1, p, lines_);
  log_.Write("hinzugef\xFCgt (RIN %d)\n\n", n);
  store_.provenance.AddAddition(false, p, n);
  return n;
}

int32_t Renumbering::AddFamily(int32_t g) {
  if (FamilyIsAbsent(1, g)) return 0;
  InputSlot& out = store_.slots[0];
  SkipTakenNames(out.familyEnd, 'F');
  if (out.familyEnd == INT32_MAX) {
    if (!numbersUsedUpShown_) {
      ShowError(reporter_, "\r\nZu viele Familien: mehr als %d lassen sich nicht nummerieren",
                INT32_MAX - 1);
    }
    numbersUsedUpShown_ = true;
    return 0;
  }
  int32_t n = out.familyEnd++;
  Family& added = FamilyEntry(out, n);
  added = Family{};
  added.number = n;
  added.partner = g;
  store_.slots[1].families[g].partner = n;
  store_.provenance.AddAddition(true, g, n);
  // Mapping members adds persons to slot 0 and sets partners in slot 1;
  // slot 1's family lists stay as they are.
  const Family& source = store_.slots[1].families[g];
  int32_t h = MapPerson(source.husband);
  if (h != 0) {
    out.families[n].husband = h;
    AddRef(out.persons[h].spouseFamilies, n);
  }
  int32_t w = MapPerson(source.wife);
  if (w != 0) {
    out.families[n].wife = w;
    AddRef(out.persons[w].spouseFamilies, n);
  }
  for (int32_t c : source.children) {
    int32_t m = MapPerson(c);
    if (m == 0) continue;
    AddRef(out.families[n].children, m);
    if (!HasRef(out.persons[m].parentFamilies, n)) AddRef(out.persons[m].parentFamilies, n);
  }
  return n;
}

// Once completed, a family has no unmatched member left: every matched
// member brings it here again, and a quarter of a million of them would
// walk their families' lists for nothing.
void Renumbering::CompleteMergedFamily(int32_t g) {
  if (FamilyIsAbsent(1, g)) return;
  if (completed_.size() < store_.slots[1].families.size()) {
    completed_.resize(store_.slots[1].families.size(), false);
  }
  if (completed_[g]) return;
  completed_[g] = true;
  const Family& source = store_.slots[1].families[g];
  int32_t f = source.partner;
  if (FamilyIsAbsent(0, f)) return;
  InputSlot& out = store_.slots[0];
  const InputSlot& in = store_.slots[1];
  if (!PersonIsAbsent(1, source.husband) && in.persons[source.husband].partner == 0) {
    int32_t h = MapPerson(source.husband);
    if (h != 0) {
      out.families[f].husband = h;
      AddRef(out.persons[h].spouseFamilies, f);
    }
  }
  if (!PersonIsAbsent(1, source.wife) && in.persons[source.wife].partner == 0) {
    int32_t w = MapPerson(source.wife);
    if (w != 0) {
      out.families[f].wife = w;
      AddRef(out.persons[w].spouseFamilies, f);
    }
  }
  for (int32_t c : source.children) {
    if (PersonIsAbsent(1, c) || in.persons[c].partner != 0) continue;
    int32_t m = MapPerson(c);
    if (m == 0) continue;
    AddRef(out.families[f].children, m);
    AddRef(out.persons[m].parentFamilies, f);
  }
}

void Renumbering::TakeOverFamilies(int32_t p) {
  if (PersonIsAbsent(1, p)) return;
  if (static_cast<size_t>(p) < bringsFamilies_.size() && !bringsFamilies_[p]) return;
  // Completing and adding change slot 0's lists only, never these.
  const Person& person = store_.slots[1].persons[p];
  for (const RefList* list : {&person.parentFamilies, &person.spouseFamilies}) {
    for (int32_t g : *list) {
      if (FamilyIsAbsent(1, g)) continue;
      if (store_.slots[1].families[g].partner != 0) {
        CompleteMergedFamily(g);
      } else {
        AddFamily(g);
      }
    }
  }
}

// ---------------------------------------------------------------------------
// Writing re-read records

void Renumbering::WritePersonLinks(int32_t n) {
  if (!HoldsPerson(store_.slots[0], n)) return;
  const Person& p = store_.slots[0].persons[n];
  for (size_t k = 0; k < p.spouseFamilies.size(); ++k) {
    int32_t f = p.spouseFamilies[k];
    if (FamilyInOutput(f) && !ListedBefore(p.spouseFamilies, k)) {
      output_.WriteLink("1 FAMS ", FamilyRef(f));
    }
  }
  for (size_t k = 0; k < p.parentFamilies.size(); ++k) {
    int32_t f = p.parentFamilies[k];
    if (FamilyInOutput(f) && !ListedBefore(p.parentFamilies, k)) {
      output_.WriteLink("1 FAMC ", FamilyRef(f));
    }
  }
}

void Renumbering::WriteHusband(int32_t f) {
  if (!HoldsFamily(store_.slots[0], f)) return;
  int32_t h = store_.slots[0].families[f].husband;
  if (PersonInOutput(h)) output_.WriteLink("1 HUSB ", PersonRef(h));
}

void Renumbering::WriteWife(int32_t f) {
  if (!HoldsFamily(store_.slots[0], f)) return;
  int32_t w = store_.slots[0].families[f].wife;
  if (PersonInOutput(w)) output_.WriteLink("1 WIFE ", PersonRef(w));
}

void Renumbering::WriteChildren(int32_t f) {
  if (!HoldsFamily(store_.slots[0], f)) return;
  const RefList& children = store_.slots[0].families[f].children;
  for (size_t k = 0; k < children.size(); ++k) {
    int32_t c = children[k];
    if (PersonInOutput(c) && !ListedBefore(children, k)) output_.WriteLink("1 CHIL ", PersonRef(c));
  }
}

int32_t Renumbering::OutputNumber(char letter, int32_t sequence) {
  if (!takenFound_) {
    takenFound_ = true;
    const InputSlot& slot0 = store_.slots[0];
    auto note = [this](std::string_view name) {
      if (name.size() < 4 || name[0] != '@' || (name[1] != 'N' && name[1] != 'S')) return;
      int32_t k = XrefNumber(name, name[1], INT32_MAX);
      if (k > 0) (name[1] == 'N' ? takenNotes_ : takenSources_).push_back(k);
    };
    for (const std::string& name : slot0.xrefs) note(name);
    for (std::string_view name : slot0.personNames.Names()) note(name);
    for (std::string_view name : slot0.familyNames.Names()) note(name);
    std::sort(takenNotes_.begin(), takenNotes_.end());
    std::sort(takenSources_.begin(), takenSources_.end());
  }
  const std::vector<int32_t>& taken = letter == 'N' ? takenNotes_ : takenSources_;
  // The sequence-th free number: the sequence number moved up by every
  // taken number at or below where it lands.
  int32_t number = sequence;
  for (;;) {
    auto below = std::upper_bound(taken.begin(), taken.end(), number) - taken.begin();
    int32_t moved = sequence + static_cast<int32_t>(below);
    if (moved == number) return number;
    number = moved;
  }
}

bool Renumbering::WriteReference(const LineText& text) {
  const ScannedLine& line = text.line;
  uint32_t tag = TagCode(line.token2);
  if (tag != kNote && tag != kSour) return false;
  int m = 0;
  if (!ScanAnyXref(line.token3, &m)) return false;
  const InputSlot& slot = store_.slots[text.slot];
  int32_t sequence = tag == kNote ? NoteSequence(slot, m) : SourceSequence(slot, m);
  if (sequence == 0) return false;  // not a reference the import numbered
  if (tag == kNote) {
    output_.WriteNumberedLink(line.level, "NOTE", 'N', OutputNumber('N', sequence));
  } else {
    output_.WriteNumberedLink(line.level, "SOUR", 'S', OutputNumber('S', sequence));
  }
  return true;
}

void Renumbering::WriteRecordTree(const LineNode* tree, int32_t number, uint32_t kind) {
  plans_.Clear();
  WritePlannedRecord(plans_, plans_.Plan(tree, output_.encoding()), number, kind);
}

void Renumbering::WritePlannedRecord(const RecordPlans& plans, RecordPlans::Range range,
                                     int32_t number, uint32_t kind) {
  written_ = WrittenFlags{};
  for (size_t i = range.first; i < range.end;) {
    const PlanStep& step = plans.step(i);
    if (step.kind == PlanStep::kBytes) {
      output_.WriteBytes(plans.BytesOf(step));
      ++i;
    } else {
      i = WriteNode(step.tagCode, *step.text, number, kind) ? i + 1 : step.skipTo;
    }
  }
  if (kind == kFam) {
    if (!written_.husband) WriteHusband(number);
    if (!written_.wife) WriteWife(number);
    if (!written_.children) WriteChildren(number);
  } else if (kind == kIndi) {
    if (!written_.familyLinks) WritePersonLinks(number);
  }
}

// False when the line is left out (with its subordinates).
bool Renumbering::WriteNode(uint32_t tagCode, const LineText& text, int32_t number,
                            uint32_t kind) {
  if (!IsLinkLine(tagCode, text, kind)) return WriteOrdinaryLine(text);
  WriteLinkLine(tagCode, number, kind);
  return true;
}

// Only a person's or family's level-1 lines link records; below an event
// HUSB and WIFE head a spouse's age, and FAMC names the family of an
// adoption: such lines are copied like any other.
bool Renumbering::IsLinkLine(uint32_t tagCode, const LineText& text, uint32_t kind) const {
  return text.line.level == 1 && (kind == kIndi || kind == kFam) && IsLinkTag(tagCode);
}

// Link lines are generated in place of the first of their kind; in a record
// of the other kind they are left out, as they would name records of the
// input's numbering.
void Renumbering::WriteLinkLine(uint32_t tag, int32_t number, uint32_t kind) {
  switch (tag) {
    case kHusb:
      if (kind == kFam && !written_.husband) WriteHusband(number);
      written_.husband = true;
      break;
    case kWife:
      if (kind == kFam && !written_.wife) WriteWife(number);
      written_.wife = true;
      break;
    case kChil:
      if (kind == kFam && !written_.children) WriteChildren(number);
      written_.children = true;
      break;
    default:  // FAMS, FAMC
      if (kind == kIndi && !written_.familyLinks) WritePersonLinks(number);
      written_.familyLinks = true;
      break;
  }
}

// False when the line is left out (with its subordinates).
bool Renumbering::WriteOrdinaryLine(const LineText& text) {
  if (WriteReference(text)) return true;
  const ScannedLine& line = text.line;
  if (!line.token2.empty() && line.token2[0] == '_') return false;
  if (text.slot == 1 && IsPointerValue(text.scan, line)) return WritePointerLine(text, line.token3);
  if (!KeepsPointer(text)) return false;
  output_.WriteLineCopy(text.raw, text.encoding);
  return true;
}

// A pointer of input file 2 names, in the output, the record it named in
// its input: a person or family under its output name (added to the output
// now when it is not there yet), any other record carried over. Only a
// person or family the checks deleted has no output name: the line is left
// out and logged.
bool Renumbering::WritePointerLine(const LineText& text, std::string_view pointer) {
  const InputSlot& in = store_.slots[1];
  int32_t p = PersonNumberOf(in, pointer);
  if (RecordOfFile(in.persons, p) && PersonXref(in, p) == pointer) {
    int32_t n = MapPerson(p);
    if (PersonInOutput(n)) {
      WriteRenamed(text, pointer, PersonRef(n));
      return true;
    }
    LogLeftOut(pointer);
    return false;
  }
  int32_t g = FamilyNumberOf(in, pointer);
  if (RecordOfFile(in.families, g) && FamilyXref(in, g) == pointer) {
    int32_t f = in.families[g].partner;
    if (f == 0 && !FamilyIsAbsent(1, g)) f = AddFamily(g);
    if (FamilyInOutput(f)) {
      WriteRenamed(text, pointer, FamilyRef(f));
      return true;
    }
    LogLeftOut(pointer);
    return false;
  }
  WriteRenamed(text, pointer, carried_.NameFor(pointer));
  return true;
}

void Renumbering::LogLeftOut(std::string_view pointer) {
  log_.Write("\r\n### Verweis auf %s nicht \xFC" "bernommen\r\n", std::string(pointer).c_str());
}

bool Renumbering::KeepsPointer(const LineText& text) {
  if (text.slot != 0 || !IsPointerValue(text.scan, text.line)) return true;
  std::string_view pointer = text.line.token3;
  const InputSlot& in = store_.slots[0];
  int32_t p = PersonNumberOf(in, pointer);
  bool gone = RecordOfFile(in.persons, p) && PersonXref(in, p) == pointer && !PersonInOutput(p);
  int32_t f = FamilyNumberOf(in, pointer);
  gone = gone || (RecordOfFile(in.families, f) && FamilyXref(in, f) == pointer &&
                  !FamilyInOutput(f));
  if (gone) LogLeftOut(pointer);
  return !gone;
}

// The line as it stands with the pointer replaced: level, tag and line end
// kept. An unchanged name copies the line byte for byte.
void Renumbering::WriteRenamed(const LineText& text, std::string_view pointer,
                               const std::string& name) {
  if (pointer == name) return output_.WriteLineCopy(text.raw, text.encoding);
  size_t at = static_cast<size_t>(pointer.data() - text.scan.data());
  std::string line(text.scan.substr(0, at));
  line += name;
  line += text.scan.substr(at + pointer.size());
  output_.WriteLineText(line);
}

}  // namespace kw
