// Provenance: what the merge report tells beyond the log. How each pair of
// persons was found and on what evidence, the parents that contradicted each
// other, what input file 2 added, and what each load's checks corrected.
//
// The match, the export and the load fill it while they run, one entry per
// event and no text per comparison; the report reads it afterwards. It never
// writes to the log or the output.
#ifndef KINWEAVE_STORE_PROVENANCE_H_
#define KINWEAVE_STORE_PROVENANCE_H_

#include <cstdint>
#include <string>
#include <vector>

#include "base/codec.h"

namespace kw {

// How a pair was found: by the name walk, or spread from a pair matched
// before as the father, mother, spouse or child of one of its persons.
enum class FoundBy : uint8_t { kNameWalk, kFather, kMother, kSpouse, kChild };

// What the two persons agree in, as the comparison saw them at the match.
struct MatchEvidence {
  int8_t surnameDistance = 0;    // SurnameDistance
  int8_t givenNameDistance = 0;  // GivenNameDistance
  bool sameBirthYear = false;    // known on both sides and equal
  bool sameDeathYear = false;
  bool sameMarriageYear = false;  // some own family of each, both years known
};

// A pair needs checking when fewer than two of its own agreements hold:
// the same birth year, the same death year, the same marriage year (each
// known on both sides), given names at a distance below 6. Such a pair was
// taken on its name alone or through a relative; the name walk never finds
// one, since it asks for close given names and an equal year.
inline bool NeedsChecking(const MatchEvidence& evidence) {
  int agreements = evidence.sameBirthYear + evidence.sameDeathYear + evidence.sameMarriageYear +
                   (evidence.givenNameDistance < 6);
  return agreements < 2;
}

struct MatchEntry {
  int32_t person0 = 0;  // slot 0
  int32_t person1 = 0;  // slot 1
  // For a spread pair, the slot-0 person of the pair it was spread from
  // (each slot-0 person is in one pair at most); 0 for the name walk.
  int32_t from0 = 0;
  FoundBy how = FoundBy::kNameWalk;
  MatchEvidence evidence;
};

// Parents of a matched pair that the comparison did not take for one.
struct ContradictionEntry {
  bool father = true;   // false: the mothers
  int32_t child0 = 0;   // slot 0
  int32_t child1 = 0;   // slot 1
  int32_t parent0 = 0;  // slot 0
  int32_t parent1 = 0;  // slot 1
};

// A person or family of input file 2 added to the output under a new number.
struct AdditionEntry {
  bool family = false;
  int32_t source = 0;  // its number in slot 1
  int32_t number = 0;  // its number in slot 0, the output
};

// One load of an input file, as its log section tells it.
struct LoadEntry {
  bool loaded = false;
  int32_t persons = 0;
  int32_t families = 0;
  int32_t corrections = 0;  // the count the log sums up
  InputEncoding encoding = kEncodingPlain;
  std::string findings;  // the log text of the checks: "\r\n### ..." lines
};

class Provenance {
 public:
  // A load of `slot` starts: its earlier entry goes.
  void StartLoad(int slot) { loads_[slot == 0 ? 0 : 1] = LoadEntry{}; }
  LoadEntry& load(int slot) { return loads_[slot == 0 ? 0 : 1]; }
  const LoadEntry& load(int slot) const { return loads_[slot == 0 ? 0 : 1]; }

  // A merge pass starts: the pairs, contradictions and additions of an
  // earlier one go.
  void StartMerge() {
    matches_.clear();
    contradictions_.clear();
    additions_.clear();
  }

  void AddMatch(const MatchEntry& entry) { matches_.push_back(entry); }
  void AddContradiction(const ContradictionEntry& entry) { contradictions_.push_back(entry); }
  void AddAddition(bool family, int32_t source, int32_t number) {
    additions_.push_back({family, source, number});
  }

  const std::vector<MatchEntry>& matches() const { return matches_; }
  const std::vector<ContradictionEntry>& contradictions() const { return contradictions_; }
  const std::vector<AdditionEntry>& additions() const { return additions_; }

 private:
  LoadEntry loads_[2];
  std::vector<MatchEntry> matches_;  // in the order they were found
  std::vector<ContradictionEntry> contradictions_;
  std::vector<AdditionEntry> additions_;
};

}  // namespace kw

#endif  // KINWEAVE_STORE_PROVENANCE_H_
