#include "match/pair_merge.h"

#include "check/describe.h"
#include "match/evidence.h"

namespace kw {

namespace {

// Everything one MergePair call works with.
struct Spreading {
  Store& store;
  MergeLog& log;
  Reporter& reporter;
  MatchState& state;
  int32_t from0 = 0;  // the slot-0 person of the pair being followed

  Family& Family0(int32_t f) { return store.slots[0].families[f]; }
  Family& Family1(int32_t f) { return store.slots[1].families[f]; }
  const Person& Person0(int32_t n) { return store.slots[0].persons[n]; }
  const Person& Person1(int32_t n) { return store.slots[1].persons[n]; }
  // The persons and families a pair leads to lie anywhere in both tables,
  // and a comparison waits on memory far more than it computes. Asking for
  // all the records of a step before comparing any lets their reads overlap.
  void Prefetch0(int32_t n) { PrefetchPerson(store.slots[0].persons[n]); }
  void Prefetch1(int32_t n) { PrefetchPerson(store.slots[1].persons[n]); }
  // A pair found now is followed later: its families can be on their way.
  static void PrefetchFamilies(const FamilyTable& families, const Person& person) {
    for (int32_t f : person.parentFamilies) __builtin_prefetch(&families[f]);
    for (int32_t f : person.spouseFamilies) __builtin_prefetch(&families[f]);
  }
  Verdict Compare(int32_t p, int32_t q, int mode) {
    return ComparePersons(store, reporter, state, p, q, mode);
  }
  void Push(int32_t p, int32_t q) { state.pairStack.push_back({p, q}); }
  // A match found through the pair being followed: recorded, then followed.
  void Spread(int32_t p, int32_t q, FoundBy how) {
    RecordMatch(store, p, q, how, from0);
    PrefetchFamilies(store.slots[0].families, Person0(p));
    PrefetchFamilies(store.slots[1].families, Person1(q));
    Push(p, q);
  }
};

// The contradiction reads: a blank line and the kind of contradiction, the
// two children (slot 0 first), a colon line, the two parents.
void LogContradiction(Spreading& s, const char* heading, int32_t p, int32_t q, int32_t parent0,
                      int32_t parent1) {
  s.log.Write(heading, 1);
  DescribePerson(s.store, s.log, 0, p);
  DescribePerson(s.store, s.log, 1, q);
  s.log.Write(":\n", 1);
  DescribePerson(s.store, s.log, 0, parent0);
  DescribePerson(s.store, s.log, 1, parent1);
}

// Compares two parents known on both sides; a parent missing on either side
// is neither compared nor reported. A parent linked already is
// no contradiction.
void CompareParentPair(Spreading& s, const char* heading, FoundBy how, int32_t p, int32_t q,
                       int32_t parent0, int32_t parent1) {
  if (parent0 == 0 || parent1 == 0) return;
  Verdict verdict = s.Compare(parent0, parent1, kParent);
  if (verdict == Verdict::kSame) return s.Spread(parent0, parent1, how);
  if (verdict == Verdict::kLinked) return;
  s.store.provenance.AddContradiction({how == FoundBy::kFather, p, q, parent0, parent1});
  LogContradiction(s, heading, p, q, parent0, parent1);
}

void CompareParents(Spreading& s, int32_t p, int32_t q) {
  const RefList& families0 = s.Person0(p).parentFamilies;
  const RefList& families1 = s.Person1(q).parentFamilies;
  for (int k = 0; k < families0.count(); ++k) {
    const Family& f0 = s.Family0(RefAt(families0, k, s.reporter));
    for (int m = 0; m < families1.count(); ++m) {
      const Family& f1 = s.Family1(RefAt(families1, m, s.reporter));
      s.Prefetch0(f0.husband);
      s.Prefetch1(f1.husband);
      s.Prefetch0(f0.wife);
      s.Prefetch1(f1.wife);
      CompareParentPair(s, "\nWiderspruch bei Vater von:\n", FoundBy::kFather, p, q, f0.husband,
                        f1.husband);
      CompareParentPair(s, "\nWiderspruch bei Mutter von\n", FoundBy::kMother, p, q, f0.wife,
                        f1.wife);
    }
  }
}

void LinkFamilies(Family& f0, int32_t number0, Family& f1, int32_t number1) {
  f0.partner = number1;
  f1.partner = number0;
}

// A couple linked already (both spouses partners of each other), or two
// families of the matched pair alone, are the same family even though the
// spouse comparison could not say so.
bool SameCoupleAnyway(Spreading& s, int32_t s0, int32_t s1) {
  if (s0 == 0 && s1 == 0) return true;
  if (s0 == 0 || s1 == 0) return false;
  return s.Person0(s0).partner == s1 && s.Person1(s1).partner == s0;
}

void CompareChildren(Spreading& s, const Family& f0, const Family& f1) {
  for (int32_t c0 : f0.children) s.Prefetch0(c0);
  for (int32_t c1 : f1.children) s.Prefetch1(c1);
  for (int k = 0; k < f0.children.count(); ++k) {
    int32_t c0 = RefAt(f0.children, k, s.reporter);
    for (int m = 0; m < f1.children.count(); ++m) {
      int32_t c1 = RefAt(f1.children, m, s.reporter);
      if (s.Compare(c0, c1, kSpouseOrChild) == Verdict::kSame) s.Spread(c0, c1, FoundBy::kChild);
    }
  }
}

void CompareOwnFamilyPair(Spreading& s, int32_t p, int32_t number0, int32_t number1) {
  Family& f0 = s.Family0(number0);
  Family& f1 = s.Family1(number1);
  // p's spouse is the wife when p is the husband, else the husband.
  bool pIsHusband = f0.husband == p;
  int32_t s0 = pIsHusband ? f0.wife : f0.husband;
  int32_t s1 = pIsHusband ? f1.wife : f1.husband;
  s.Prefetch0(s0);
  s.Prefetch1(s1);

  // Spouse number 0 names the always empty entry 0, which never matches.
  if (s.Compare(s0, s1, kSpouseOrChild) == Verdict::kSame) {
    LinkFamilies(f0, number0, f1, number1);
    s.Spread(s0, s1, FoundBy::kSpouse);
  } else if (SameCoupleAnyway(s, s0, s1) && f0.partner == 0 && f1.partner == 0) {
    LinkFamilies(f0, number0, f1, number1);
  }
  CompareChildren(s, f0, f1);
}

void CompareOwnFamilies(Spreading& s, int32_t p, int32_t q) {
  const RefList& families0 = s.Person0(p).spouseFamilies;
  const RefList& families1 = s.Person1(q).spouseFamilies;
  for (int k = 0; k < families0.count(); ++k) {
    int32_t number0 = RefAt(families0, k, s.reporter);
    for (int m = 0; m < families1.count(); ++m) {
      CompareOwnFamilyPair(s, p, number0, RefAt(families1, m, s.reporter));
    }
  }
}

}  // namespace

void MergePair(Store& store, MergeLog& log, Reporter& reporter, MatchState& state, int32_t a,
               int32_t b) {
  Spreading s{store, log, reporter, state};
  state.pairStack.clear();
  s.Push(a, b);
  while (!state.pairStack.empty()) {
    MatchState::PendingPair pair = state.pairStack.back();
    state.pairStack.pop_back();
    s.from0 = pair.slot0Person;
    CompareParents(s, pair.slot0Person, pair.slot1Person);
    CompareOwnFamilies(s, pair.slot0Person, pair.slot1Person);
  }
}

}  // namespace kw
