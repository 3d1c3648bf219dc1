#include "import/record_numbers.h"

#include <cstring>
#include <vector>

#include "store/store.h"

namespace kw {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The cross-reference and record type of a level-0 line, if it is one.
bool SplitRecordLine(const std::string& line, std::string& xref, std::string& type) {
  size_t p = 0;
  while (p < line.size() && IsBlank(line[p])) ++p;
  if (p + 1 >= line.size() || line[p] != '0' || !IsBlank(line[p + 1])) return false;
  p += 2;
  while (p < line.size() && IsBlank(line[p])) ++p;
  size_t start = p;
  while (p < line.size() && !IsBlank(line[p]) && line[p] != '\r' && line[p] != '\n') ++p;
  xref.assign(line, start, p - start);
  while (p < line.size() && IsBlank(line[p])) ++p;
  start = p;
  while (p < line.size() && !IsBlank(line[p]) && line[p] != '\r' && line[p] != '\n') ++p;
  type.assign(line, start, p - start);
  return !xref.empty() && xref[0] == '@';
}

// Record types match by their first four bytes, as the parser's tags do.
bool TypeIs(const std::string& type, const char* name) {
  return std::strncmp(type.c_str(), name, 4) == 0;
}

}  // namespace

int32_t PlainNumber(const char* token, char letter, int32_t capacity) {
  if (token[0] != '@' || token[1] != letter || token[2] < '0' || token[2] > '9') return -1;
  int64_t n = 0;
  const char* p = token + 2;
  for (; *p >= '0' && *p <= '9'; ++p) {
    n = n * 10 + (*p - '0');
    if (n >= capacity) return -1;
  }
  if (p[0] != '@' || p[1] != '\0') return -1;
  // Number 0 stands for "no record" in every table: @I0@ is named like any
  // other form, or the person would be lost.
  if (n == 0) return -1;
  return static_cast<int32_t>(n);
}

RecordNumbers::RecordNumbers() {
  persons_.letter = 'I';
  persons_.capacity = kPersonCapacity;
  families_.letter = 'F';
  families_.capacity = kFamilyCapacity;
}

void RecordNumbers::Collect(LineInput& input, InputEncoding encoding) {
  int64_t start = input.position();
  // Cross-references are ASCII: byte files need no decoding to find them.
  InputEncoding reading =
      encoding == kEncodingUtf16Le || encoding == kEncodingUtf16Be ? encoding : kEncodingPlain;
  std::vector<std::string> otherPersons, otherFamilies;
  std::string line, xref, type;
  while (input.ReadLevelZeroLine(reading, line)) {
    if (!SplitRecordLine(line, xref, type)) continue;
    ++recordLines_;
    bool person = TypeIs(type, "INDI");
    if (!person && !TypeIs(type, "FAM")) continue;
    Kind& kind = person ? persons_ : families_;
    int32_t n = PlainNumber(xref.c_str(), kind.letter, kind.capacity);
    if (n >= 0) {
      if (n > kind.highestKept) kind.highestKept = n;
    } else {
      (person ? otherPersons : otherFamilies).push_back(xref);
    }
  }
  input.Seek(start);
  for (Kind* kind : {&persons_, &families_}) {
    kind->nextFree = kind->highestKept + 1;
    for (const std::string& other : kind == &persons_ ? otherPersons : otherFamilies) {
      if (kind->handed.emplace(other, kind->nextFree).second) ++kind->nextFree;
    }
  }
}

int32_t RecordNumbers::Record(Kind& kind, const std::string& xref) {
  int32_t n = PlainNumber(xref.c_str(), kind.letter, kind.capacity);
  if (n >= 0) return n;
  auto found = kind.handed.find(xref);
  if (found != kind.handed.end()) return found->second;
  int32_t fresh = kind.nextFree++;
  kind.handed.emplace(xref, fresh);
  return fresh;
}

int32_t RecordNumbers::Reference(const Kind& kind, const char* token) {
  auto found = kind.handed.find(token);
  if (found != kind.handed.end()) return found->second < kind.capacity ? found->second : -1;
  int32_t n = PlainNumber(token, kind.letter, kind.capacity);
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
