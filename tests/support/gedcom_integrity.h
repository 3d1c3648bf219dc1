// An integrity check of a merged GEDCOM file, for tests and sweeps over
// many file pairs. It looks at structure only, not at content:
//
//   std::vector<std::string> problems =
//       IntegrityProblems(outputBytes, store.slots[0].encoding,
//                         UnwrittenNoteAndSourceRefs(store));
//   EXPECT_TRUE(problems.empty()) << JoinProblems(problems);
//
// Each problem is one readable line. Reported are:
// - the first record is not "0 HEAD", or there is more than one HEAD;
// - the last record is not "0 TRLR", or there is more than one TRLR;
// - a cross-reference that names two records;
// - a level-1 FAMS, FAMC, HUSB, WIFE or CHIL line without a pointer;
// - a FAMS or FAMC pointer that does not name a FAM record, a HUSB, WIFE or
//   CHIL pointer that does not name an INDI record, a NOTE or SOUR pointer
//   (a value of the form @...@) that does not name a NOTE or SOUR record.
// NOTE and SOUR pointers named in `allowedMissing` may name no record at
// all (they named nothing in their input already); they must still not
// name a record of another kind.
#ifndef KINWEAVE_TESTS_SUPPORT_GEDCOM_INTEGRITY_H_
#define KINWEAVE_TESTS_SUPPORT_GEDCOM_INTEGRITY_H_

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "import/codec.h"
#include "import/line_input.h"
#include "store/store.h"

namespace kw::test {

namespace integrity_detail {

struct GedLine {
  int number = 0;  // line number, from 1
  int level = -1;  // -1: no level
  std::string first;   // cross-reference of a level-0 line, or the tag
  std::string second;  // record type of a level-0 line, or the value word
};

// The lines of a file read as Windows-1252, split at every CR and LF.
inline std::vector<GedLine> SplitLines(const std::string& bytes, InputEncoding encoding) {
  EncodingProbe probe = ProbeEncoding(reinterpret_cast<const unsigned char*>(bytes.data()),
                                      bytes.size() < 3 ? bytes.size() : 3);
  std::string text;
  DecodeToCp1252(encoding, std::string_view(bytes).substr(probe.markBytes), text);
  std::vector<GedLine> lines;
  size_t start = 0;
  int number = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    start = end + 1;
    ++number;
    size_t p = line.find_first_not_of(" \t");
    if (p == std::string::npos || line[p] < '0' || line[p] > '9') continue;
    GedLine parsed;
    parsed.number = number;
    parsed.level = 0;
    while (p < line.size() && line[p] >= '0' && line[p] <= '9') {
      parsed.level = parsed.level * 10 + (line[p++] - '0');
    }
    auto token = [&](std::string& out) {
      p = line.find_first_not_of(" \t", p);
      if (p == std::string::npos) return void(p = line.size());
      size_t e = line.find_first_of(" \t", p);
      if (e == std::string::npos) e = line.size();
      out = line.substr(p, e - p);
      p = e;
    };
    token(parsed.first);
    token(parsed.second);
    lines.push_back(parsed);
  }
  return lines;
}

inline bool IsPointer(const std::string& value) {
  return value.size() >= 3 && value.front() == '@' && value.back() == '@' &&
         value.find('@', 1) == value.size() - 1;
}

}  // namespace integrity_detail

// The record types by cross-reference of a GEDCOM file's level-0 lines.
inline std::map<std::string, std::string> RecordTypes(const std::string& bytes,
                                                      InputEncoding encoding) {
  std::map<std::string, std::string> types;
  for (const auto& line : integrity_detail::SplitLines(bytes, encoding)) {
    if (line.level == 0 && integrity_detail::IsPointer(line.first)) types[line.first] = line.second;
  }
  return types;
}

// The structural problems of a GEDCOM file (see the top of this header).
inline std::vector<std::string> IntegrityProblems(const std::string& bytes, InputEncoding encoding,
                                                  const std::set<std::string>& allowedMissing = {}) {
  using integrity_detail::IsPointer;
  std::vector<std::string> problems;
  auto lines = integrity_detail::SplitLines(bytes, encoding);
  std::map<std::string, std::string> types;
  int heads = 0;
  int trailers = 0;
  int firstRecord = -1;
  int lastRecord = -1;
  for (size_t i = 0; i < lines.size(); ++i) {
    const auto& line = lines[i];
    if (line.level != 0) continue;
    if (firstRecord < 0) firstRecord = static_cast<int>(i);
    lastRecord = static_cast<int>(i);
    if (line.first == "HEAD") ++heads;
    if (line.first == "TRLR") ++trailers;
    if (!IsPointer(line.first)) continue;
    if (!types.emplace(line.first, line.second).second) {
      problems.push_back("line " + std::to_string(line.number) + ": duplicate cross-reference " +
                         line.first);
    }
  }
  if (firstRecord < 0 || lines[firstRecord].first != "HEAD") problems.push_back("first record is not HEAD");
  if (heads != 1) problems.push_back(std::to_string(heads) + " HEAD records");
  if (lastRecord < 0 || lines[lastRecord].first != "TRLR") problems.push_back("last record is not TRLR");
  if (trailers != 1) problems.push_back(std::to_string(trailers) + " TRLR records");

  const std::map<std::string, std::string> wanted = {
      {"FAMS", "FAM"}, {"FAMC", "FAM"}, {"HUSB", "INDI"}, {"WIFE", "INDI"},
      {"CHIL", "INDI"}, {"NOTE", "NOTE"}, {"SOUR", "SOUR"}};
  for (const auto& line : lines) {
    if (line.level <= 0) continue;
    auto kind = wanted.find(line.first);
    if (kind == wanted.end()) continue;
    bool reference = kind->first == "NOTE" || kind->first == "SOUR";
    if (!IsPointer(line.second)) {
      // Below level 1 HUSB and WIFE also head the age of a spouse at an event.
      if (!reference && line.level == 1) {
        problems.push_back("line " + std::to_string(line.number) + ": " + line.first +
                           " without a pointer");
      }
      continue;
    }
    auto target = types.find(line.second);
    if (target == types.end()) {
      if (reference && allowedMissing.count(line.second) != 0) continue;
      problems.push_back("line " + std::to_string(line.number) + ": " + line.first + " " +
                         line.second + " names no record");
    } else if (target->second != kind->second) {
      problems.push_back("line " + std::to_string(line.number) + ": " + line.first + " " +
                         line.second + " names a " + target->second + " record");
    }
  }
  return problems;
}

// NOTE and SOUR pointers of a file that name no record in it.
inline std::set<std::string> MissingNoteAndSourceTargets(const std::string& bytes,
                                                         InputEncoding encoding) {
  std::set<std::string> missing;
  auto types = RecordTypes(bytes, encoding);
  for (const auto& line : integrity_detail::SplitLines(bytes, encoding)) {
    if (line.level <= 0 || (line.first != "NOTE" && line.first != "SOUR")) continue;
    if (integrity_detail::IsPointer(line.second) && types.count(line.second) == 0) {
      missing.insert(line.second);
    }
  }
  return missing;
}

// After an export: the output names of the notes and sources whose record
// the import never found ("@N%d@" / "@S%d@" by sequence number), which the
// output refers to without writing them.
inline std::set<std::string> UnwrittenNoteAndSourceRefs(const Store& store) {
  std::set<std::string> refs;
  auto add = [&](const std::vector<int64_t>& positions, int32_t count, char letter) {
    for (int32_t j = 1; j <= count; ++j) {
      if (static_cast<size_t>(j) >= positions.size() || positions[j] == 0) {
        refs.insert("@" + std::string(1, letter) + std::to_string(j) + "@");
      }
    }
  };
  int32_t notes = std::max(store.slots[0].noteCount, store.slots[1].noteCount);
  int32_t sources = std::max(store.slots[0].sourceCount, store.slots[1].sourceCount);
  add(store.notePos, notes, 'N');
  add(store.sourcePos, sources, 'S');
  return refs;
}

inline std::string JoinProblems(const std::vector<std::string>& problems, size_t limit = 20) {
  std::string text;
  for (size_t i = 0; i < problems.size() && i < limit; ++i) text += problems[i] + "\n";
  if (problems.size() > limit) text += "... " + std::to_string(problems.size() - limit) + " more\n";
  return text;
}

}  // namespace kw::test

#endif  // KINWEAVE_TESTS_SUPPORT_GEDCOM_INTEGRITY_H_
