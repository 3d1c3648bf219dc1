#include "import/record_numbers.h"

#include <algorithm>
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

}  // namespace

RecordNumbers::RecordNumbers() {
  persons_.letter = 'I';
  persons_.limit = kKeptPersonLimit;
  families_.letter = 'F';
  families_.limit = kKeptFamilyLimit;
}

// Cross-references are ASCII: byte files need no decoding to find them,
// and of their lines only those that may have level 0 are looked at.
void RecordNumbers::Collect(std::string_view bytes, int64_t start, InputEncoding encoding) {
  Others others;
  std::string storage;
  std::string_view raw;
  if (IsUtf16(encoding)) {
    LineReader reader(bytes, encoding);
    reader.Seek(start);
    while (reader.Next(raw)) Look(ScanLine(ScanText(encoding, raw, storage)), others);
  } else {
    LevelZeroLines lines(bytes, static_cast<size_t>(std::max<int64_t>(start, 0)));
    while (lines.Next(raw)) Look(ScanLine(raw), others);
  }
  for (Kind* kind : {&persons_, &families_}) {
    kind->nextFree = kind->highestKept + 1;
    const std::vector<std::string>& names = kind == &persons_ ? others.persons : others.families;
    kind->handed.Reserve(names.size());
    for (const std::string& name : names) {
      if (kind->handed.NumberOf(name) < 0) Hand(*kind, name);
    }
  }
}

// A record whose cross-reference lacks its closing "@" is skipped by the
// parser, but still takes a number here: the numbers handed out, and so
// the numbers of the persons added to the output, stay as they were.
void RecordNumbers::Look(const ScannedLine& line, Others& others) {
  if (!line.hasLevel || line.level != 0 || line.token2.empty() || line.token2[0] != '@') return;
  ++recordLines_;
  bool person = TagCode(line.token3) == TagCode("INDI");
  if (!person && TagCode(line.token3) != TagCode("FAM")) return;
  if (person) ++personLines_;
  Kind& kind = person ? persons_ : families_;
  int32_t n = KeptNumber(line.token2, kind.letter, kind.limit);
  if (n >= 0) {
    if (n > kind.highestKept) kind.highestKept = n;
  } else {
    (person ? others.persons : others.families).emplace_back(line.token2);
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
