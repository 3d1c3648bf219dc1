#include "match/evidence.h"

#include "match/compare.h"

namespace kw {

namespace {

bool SameKnownYear(PackedDate a, PackedDate b) {
  return DateYear(a) != 0 && DateYear(a) == DateYear(b);
}

// Unlike the family modes' test, two unknown years are no evidence here.
bool SameKnownMarriageYear(const Store& store, const Person& p, const Person& q) {
  const FamilyTable& families0 = store.slots[0].families;
  const FamilyTable& families1 = store.slots[1].families;
  for (int32_t f0 : p.spouseFamilies) {
    for (int32_t f1 : q.spouseFamilies) {
      if (SameKnownYear(families0[f0].marriage, families1[f1].marriage)) return true;
    }
  }
  return false;
}

}  // namespace

MatchEvidence WeighEvidence(Store& store, int32_t p, int32_t q) {
  const Person& personP = store.slots[0].persons[p];
  const Person& personQ = store.slots[1].persons[q];
  MatchEvidence evidence;
  evidence.surnameDistance = static_cast<int8_t>(SurnameDistance(store.ring, personP, personQ));
  evidence.givenNameDistance = static_cast<int8_t>(GivenNameDistance(store.ring, personP, personQ));
  evidence.sameBirthYear = SameKnownYear(personP.birth, personQ.birth);
  evidence.sameDeathYear = SameKnownYear(personP.death, personQ.death);
  evidence.sameMarriageYear = SameKnownMarriageYear(store, personP, personQ);
  return evidence;
}

void RecordMatch(Store& store, int32_t p, int32_t q, FoundBy how, int32_t from0) {
  store.provenance.AddMatch({p, q, from0, how, WeighEvidence(store, p, q)});
}

}  // namespace kw
