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
    for (const std::string& other : kind == &persons_ ? otherPersons : otherFamilies) {
      if (kind->handed.count(other) == 0) Hand(*kind, other);
    }
  }
}

int32_t RecordNumbers::Record(Kind& kind, const std::string& xref) {
  int32_t n = KeptNumber(xref, kind.letter, kind.limit);
  if (n >= 0) return n;
  auto found = kind.handed.find(xref);
  if (found != kind.handed.end()) return found->second;
  return Hand(kind, xref);
}

int32_t RecordNumbers::Hand(Kind& kind, const std::string& xref) {
  if (kind.nextFree == INT32_MAX) {
    kind.full = true;
    return -1;
  }
  int32_t fresh = kind.nextFree++;
  kind.handed.emplace(xref, fresh);
  return fresh;
}

int32_t RecordNumbers::Reference(const Kind& kind, const std::string& token) {
  auto found = kind.handed.find(token);
  if (found != kind.handed.end()) return found->second;
  int32_t n = KeptNumber(token, kind.letter, kind.limit);
  if (n > kind.highestKept && n < kind.nextFree) return -1;  // handed to another record
  return n;
}

long long RecordNumbers::DisplayNumber(const std::string& xref, int32_t handed) {
  size_t digit = xref.find_first_of("0123456789");
  if (digit == std::string::npos) return handed;
  long long number = 0;
  for (size_t i = digit; i < xref.size() && xref[i] >= '0' && xref[i] <= '9'; ++i) {
    if (number > (9223372036854775807LL - 9) / 10) return handed;  // beyond 64 bits
    number = number * 10 + (xref[i] - '0');
  }
  // A log line leaves out a piece whose number is 0, so @I0@ shows the
  // number it was handed.
  return number == 0 ? handed : number;
}

}  // namespace kw
