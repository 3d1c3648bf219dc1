#include "import/record_numbers.h"

#include <climits>
#include <vector>

#include "store/store.h"

namespace kw {

namespace {

// The number a record keeps: "@I<n>@" from 1 to below the limit. Number
// 0 stands for "no record" in every table, so @I0@ is named like any other
// form, or the person would be lost.
int32_t KeptNumber(std::string_view xref, char letter, int32_t limit) {
  return static_cast<int32_t>(XrefNumber(xref, letter, limit));
}

// Whether a line may be a level-0 line: after any white space a "0" or a
// sign. Most lines are not, and this spares them the whole scan.
bool MayBeLevelZero(std::string_view raw) {
  size_t p = 0;
  while (p < raw.size() && IsGedcomSpace(raw[p])) ++p;
  return p < raw.size() && (raw[p] == '0' || raw[p] == '+' || raw[p] == '-');
}

}  // namespace

RecordNumbers::RecordNumbers() {
  persons_.letter = 'I';
  persons_.limit = kKeptPersonLimit;
  families_.letter = 'F';
  families_.limit = kKeptFamilyLimit;
}

void RecordNumbers::Collect(std::string_view bytes, int64_t start, InputEncoding encoding) {
  // Cross-references are ASCII: byte files need no decoding to find them.
  InputEncoding reading = IsUtf16(encoding) ? encoding : kEncodingPlain;
  LineReader reader(bytes, reading);
  reader.Seek(start);
  std::vector<std::string> otherPersons, otherFamilies;
  std::string storage;
  std::string_view raw;
  while (reader.Next(raw)) {
    if (!IsUtf16(reading) && !MayBeLevelZero(raw)) continue;
    ScannedLine line = ScanLine(ScanText(reading, raw, storage));
    // A record whose cross-reference lacks its closing "@" is skipped by the
    // parser, but still takes a number here: the numbers handed out, and so
    // the numbers of the persons added to the output, stay as they were.
    if (!line.hasLevel || line.level != 0 || line.token2.empty() || line.token2[0] != '@') {
      continue;
    }
    ++recordLines_;
    bool person = TagCode(line.token3) == TagCode("INDI");
    if (!person && TagCode(line.token3) != TagCode("FAM")) continue;
    if (person) ++personLines_;
    Kind& kind = person ? persons_ : families_;
    int32_t n = KeptNumber(line.token2, kind.letter, kind.limit);
    if (n >= 0) {
      if (n > kind.highestKept) kind.highestKept = n;
    } else {
      (person ? otherPersons : otherFamilies).emplace_back(line.token2);
    }
  }
  for (Kind* kind : {&persons_, &families_}) {
    kind->nextFree = kind->highestKept + 1;
    const std::vector<std::string>& others = kind == &persons_ ? otherPersons : otherFamilies;
    kind->handed.Reserve(others.size());
    for (const std::string& other : others) {
      if (kind->handed.NumberOf(other) < 0) Hand(*kind, other);
    }
  }
}

int32_t RecordNumbers::Record(Kind& kind, std::string_view xref) {
  int32_t n = KeptNumber(xref, kind.letter, kind.limit);
  if (n >= 0) return n;
  n = kind.handed.NumberOf(xref);
  if (n >= 0) return n;
  return Hand(kind, xref);
}

int32_t RecordNumbers::Hand(Kind& kind, std::string_view xref) {
  if (kind.nextFree == INT32_MAX) {
    kind.full = true;
    return -1;
  }
  int32_t fresh = kind.nextFree++;
  kind.handed.Add(xref, fresh);
  return fresh;
}

// A name of the kept form needs no table: most references of most files
// are settled by their digits alone.
int32_t RecordNumbers::Reference(const Kind& kind, std::string_view token) {
  int32_t n = KeptNumber(token, kind.letter, kind.limit);
  if (n < 0) return kind.handed.NumberOf(token);
  if (n > kind.highestKept && n < kind.nextFree) return -1;  // handed to another record
  return n;
}

}  // namespace kw
