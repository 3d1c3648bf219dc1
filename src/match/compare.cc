#include "match/compare.h"

#include <cstring>
#include <string>

#include "base/fold.h"
#include "match/phonetic.h"

namespace kw {

namespace {

constexpr int kMaxWords = 4;

// The first four blank-separated words of a given name, each a text of its
// own so that the folded comparison sees a word's end where the word ends.
// Names shorter than 100 bytes are copied into the object itself; longer
// ones get a copy on the heap and are split whole, never cut.
class GivenNameWords {
 public:
  explicit GivenNameWords(const char* names) {
    size_t length = std::strlen(names);
    char* copy = local_;
    if (length >= sizeof(local_)) {
      heap_.assign(names, length);
      copy = heap_.data();
    } else {
      std::memcpy(local_, names, length + 1);
    }
    Split(copy);
  }
  GivenNameWords(const GivenNameWords&) = delete;
  GivenNameWords& operator=(const GivenNameWords&) = delete;

  int count() const { return count_; }
  const char* word(int k) const { return words_[k]; }

 private:
  // Runs of blanks are one separator; leading and trailing blanks give no
  // word. Only the blank separates.
  void Split(char* c) {
    while (count_ < kMaxWords) {
      while (*c == ' ') ++c;
      if (*c == '\0') return;
      words_[count_++] = c;
      while (*c != ' ' && *c != '\0') ++c;
      if (*c == '\0') return;
      *c++ = '\0';
    }
  }

  char local_[100];
  std::string heap_;
  const char* words_[kMaxWords] = {};
  int count_ = 0;
};

bool SameCode(ScratchRing& ring, const char* x, const char* y) {
  const char* codeX = PhoneticCode(ring, x);
  const char* codeY = PhoneticCode(ring, y);
  return std::strcmp(codeX, codeY) == 0;
}

int Length(const char* text) { return static_cast<int>(std::strlen(text)); }

bool IsNullOrEmpty(const char* text) { return text == nullptr || *text == '\0'; }

bool BothKnown(int x, int y) { return x != 0 && y != 0; }

// Declares the pair the same: link both ways and count.
Verdict Same(MatchState& state, Person& p, Person& q) {
  ++state.mergeCount;
  p.partner = q.number;
  q.partner = p.number;
  return Verdict::kSame;
}

// The sign of an order as the walk reads it: positive, the slot-0 side is
// the lower.
Verdict Order(int order) { return order > 0 ? Verdict::kSlot0Before : Verdict::kSlot1Before; }

// The name walk's tests after the surname order: given names, then birth
// and death years. 0 when they make the pair the same, otherwise the sign
// that tells the walk which cursor to move on.
int CompareGivenNamesAndYears(ScratchRing& ring, const Person& p, const Person& q) {
  if (IsNullOrEmpty(p.givenNames)) return 1;
  if (IsNullOrEmpty(q.givenNames)) return -1;
  if (GivenNameDistance(ring, p, q) > 1) return -1;

  int bP = DateYear(p.birth), bQ = DateYear(q.birth);
  int dP = DateYear(p.death), dQ = DateYear(q.death);
  if (BothKnown(bP, bQ) && bP != bQ) return 1;
  if (BothKnown(dP, dQ)) return dP == dQ ? 0 : 1;
  return BothKnown(bP, bQ) ? 0 : 1;
}

// Whether some own family of p and some own family of q were married in the
// same year. Two unknown years count as equal here.
bool CommonMarriageYear(Store& store, Reporter& reporter, const Person& p, const Person& q) {
  const FamilyTable& families0 = store.slots[0].families;
  const FamilyTable& families1 = store.slots[1].families;
  for (int k = 0; k < p.spouseFamilies.count(); ++k) {
    int year0 = DateYear(families0[RefAt(p.spouseFamilies, k, reporter)].marriage);
    for (int m = 0; m < q.spouseFamilies.count(); ++m) {
      int year1 = DateYear(families1[RefAt(q.spouseFamilies, m, reporter)].marriage);
      if (year0 == year1) return true;
    }
  }
  return false;
}

// The family modes count independent evidence instead of asking for close
// names: equal birth years, equal death years, related given names.
bool FamilyModeSame(Store& store, Reporter& reporter, const Person& p, const Person& q,
                    int mode) {
  ScratchRing& ring = store.ring;
  if (SurnameDistance(ring, p, q) > 2) return false;

  int bP = DateYear(p.birth), bQ = DateYear(q.birth);
  int dP = DateYear(p.death), dQ = DateYear(q.death);
  int evidence = 0;
  if (BothKnown(bP, bQ) && bP == bQ) ++evidence;
  if (BothKnown(dP, dQ) && dP == dQ) ++evidence;
  if (GivenNameDistance(ring, p, q) < 6) ++evidence;

  if (evidence < 2 && CommonMarriageYear(store, reporter, p, q)) return true;
  if (evidence == 0) return false;
  if (mode == kParent) return true;
  if (BothKnown(bP, bQ) && bP != bQ) return false;
  if (BothKnown(dP, dQ) && dP != dQ) return false;
  return true;
}

}  // namespace

int SurnameDistance(ScratchRing& ring, const Person& p, const Person& q) {
  const char* sP = p.surname;
  const char* sQ = q.surname;
  if (sP == nullptr || sQ == nullptr) return 8;
  if (FoldCompare(sP, sQ, Length(sP)) == 0) return 0;
  if (SameCode(ring, sP, sQ)) return 1;
  if (FoldCompare(sQ, sP, 6) == 0) return 2;
  if (FoldCompare(sQ, sP, 4) == 0) return 4;
  return 15;
}

int GivenNameDistance(ScratchRing& ring, const Person& p, const Person& q) {
  const char* gP = p.givenNames;
  const char* gQ = q.givenNames;
  if (gP == nullptr || gQ == nullptr) return 8;
  if (FoldCompare(gP, gQ, Length(gP)) == 0) return 0;
  if (SameCode(ring, gP, gQ)) return 1;

  GivenNameWords wordsP(gP);
  GivenNameWords wordsQ(gQ);
  int result = 0;
  for (int k = 0; k < wordsP.count() && k < wordsQ.count(); ++k) {
    const char* wP = wordsP.word(k);
    const char* wQ = wordsQ.word(k);
    if (SameCode(ring, wP, wQ)) result |= 1;
    if (FoldCompare(wP, wQ, 3) == 0) {
      result |= 4;
      continue;
    }
    if (std::strstr(gP, wQ) == nullptr || std::strstr(gQ, wP) == nullptr) return 15;
    result |= 2;
  }
  return result;
}

Verdict ComparePersons(Store& store, Reporter& reporter, MatchState& state, int32_t p, int32_t q,
                       int mode) {
  Person& personP = store.slots[0].persons[p];
  Person& personQ = store.slots[1].persons[q];
  if (personP.partner != 0 || personQ.partner != 0) return Verdict::kLinked;
  if (personP.number == 0) return Verdict::kSlot0Before;
  if (personQ.number == 0) return Verdict::kSlot1Before;

  if (mode == kNameWalk) {
    if (IsNullOrEmpty(personP.surname)) return Verdict::kSlot0Before;
    if (IsNullOrEmpty(personQ.surname)) return Verdict::kSlot1Before;
    // Surnames at distance 0 or 1 agree even where their order differs.
    if (SurnameDistance(store.ring, personP, personQ) > 1) {
      int order = FoldCompare(personP.surname, personQ.surname, 1000);
      if (order != 0) return Order(order);
    }
  }

  if (personP.sex != personQ.sex) return Verdict::kSlot1Before;

  if (mode == kNameWalk) {
    int result = CompareGivenNamesAndYears(store.ring, personP, personQ);
    if (result != 0) return Order(result);
    return Same(state, personP, personQ);
  }
  if (!FamilyModeSame(store, reporter, personP, personQ, mode)) return Verdict::kSlot0Before;
  return Same(state, personP, personQ);
}

}  // namespace kw
