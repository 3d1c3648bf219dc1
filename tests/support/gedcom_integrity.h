// An integrity check of a merged GEDCOM file, for tests and sweeps over
// many file pairs. It looks at structure only, not at content:
//
//   std::vector<std::string> problems = MergedOutputProblems(store, outputBytes);
//   EXPECT_TRUE(problems.empty()) << JoinProblems(problems);
//
// Each problem is one readable line. Reported are:
// - the first record is not "0 HEAD", or there is more than one HEAD;
// - the last record is not "0 TRLR", or there is more than one TRLR;
// - a cross-reference that names two records;
// - a level-1 FAMS, FAMC, HUSB, WIFE or CHIL line without a pointer, and
//   one that repeats a link line of its record;
// - a pointer (a line's whole value of the form @...@) that names no record
//   of the output, and one that names a record of the wrong kind: FAMS and
//   FAMC a FAM record; HUSB, WIFE, CHIL and ALIA an INDI record; ASSO an
//   INDI record, or a FAM record (GEDCOM 5.5 allows it with "2 TYPE FAM");
//   NOTE a NOTE, SOUR a SOUR, REPO a REPO, OBJE an OBJE record; SUBM,
//   ANCI and DESI a SUBM record.
// Pointers named in `allowedMissing` may name no record at all (they named
// nothing in their input already), and so may such a name with a suffix
// "_<n>" before its closing "@" (the export renames a pointer that named
// nothing when the output has a record of its name); none may name a
// record of another kind. Level-1 link lines must always name a record.
#ifndef KINWEAVE_TESTS_SUPPORT_GEDCOM_INTEGRITY_H_
#define KINWEAVE_TESTS_SUPPORT_GEDCOM_INTEGRITY_H_

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "base/gedcom_line.h"
#include "store/store.h"

namespace kw::test {

namespace integrity_detail {

struct GedLine {
  int number = 0;  // line number, from 1
  int level = -1;  // -1: no level
  std::string first;   // cross-reference of a level-0 line, or the tag
  std::string second;  // record type of a level-0 line, or the value word
  bool more = false;   // something follows the second token
};

// The lines of a file that start with a level, read with the tool's own
// line syntax (which has tests of its own).
inline std::vector<GedLine> SplitLines(const std::string& bytes, InputEncoding encoding) {
  std::vector<GedLine> lines;
  LineReader reader(bytes, encoding);
  reader.Seek(ProbeEncoding(bytes).markBytes);
  std::string storage;
  std::string_view raw;
  for (int number = 1; reader.Next(raw); ++number) {
    const std::string_view text = ScanText(encoding, raw, storage);
    const ScannedLine line = ScanLine(text);
    if (!line.hasLevel) continue;
    GedLine parsed{number, line.level, std::string(line.token2), std::string(line.token3)};
    if (!line.token3.empty()) {  // the tokens are views into the text
      const size_t after = static_cast<size_t>(line.token3.data() - text.data()) + line.token3.size();
      parsed.more = text.find_first_not_of(" \t\n\v\f\r", after) != std::string_view::npos;
    }
    lines.push_back(parsed);
  }
  return lines;
}

inline bool IsPointer(const std::string& value) {
  return value.size() >= 3 && value.front() == '@' && value.back() == '@' &&
         value.find('@', 1) == value.size() - 1 && value[1] != '#';
}

// A line of level 1 or more whose whole value is one pointer.
inline bool PointerLine(const GedLine& line) {
  return line.level > 0 && !line.more && IsPointer(line.second);
}

// "@R1_2@" -> "@R1@"; any other name unchanged.
inline std::string WithoutSuffix(const std::string& name) {
  size_t underscore = name.rfind('_');
  if (underscore == std::string::npos || underscore + 2 >= name.size()) return name;
  for (size_t i = underscore + 1; i + 1 < name.size(); ++i) {
    if (name[i] < '0' || name[i] > '9') return name;
  }
  return name.substr(0, underscore) + "@";
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
      {"FAMS", "FAM"},   {"FAMC", "FAM"},   {"HUSB", "INDI"}, {"WIFE", "INDI"},
      {"CHIL", "INDI"},  {"ASSO", "INDI"},  {"ALIA", "INDI"}, {"ANCI", "SUBM"},
      {"NOTE", "NOTE"},  {"SOUR", "SOUR"},  {"REPO", "REPO"}, {"OBJE", "OBJE"},
      {"SUBM", "SUBM"},  {"DESI", "SUBM"}};
  const std::set<std::string> links = {"FAMS", "FAMC", "HUSB", "WIFE", "CHIL"};
  std::set<std::string> recordLinks;  // the link lines of the current record
  for (const auto& line : lines) {
    if (line.level == 0) recordLinks.clear();
    if (line.level <= 0) continue;
    if (line.level == 1 && links.count(line.first) != 0 &&
        !recordLinks.insert(line.first + " " + line.second).second) {
      problems.push_back("line " + std::to_string(line.number) + ": doubled link line " +
                         line.first + " " + line.second);
    }
    bool link = line.level == 1 && links.count(line.first) != 0;
    std::string at = "line " + std::to_string(line.number) + ": " + line.first + " ";
    if (!integrity_detail::PointerLine(line)) {
      // Below level 1 HUSB and WIFE also head the age of a spouse at an event.
      if (link) problems.push_back(at + "without a pointer");
      continue;
    }
    auto target = types.find(line.second);
    if (target == types.end()) {
      bool allowed = allowedMissing.count(line.second) != 0 ||
                     allowedMissing.count(integrity_detail::WithoutSuffix(line.second)) != 0;
      if (!link && allowed) continue;
      problems.push_back(at + line.second + " names no record");
      continue;
    }
    auto kind = wanted.find(line.first);
    bool familyAssociation = line.first == "ASSO" && target->second == "FAM";
    if (kind != wanted.end() && target->second != kind->second && !familyAssociation) {
      problems.push_back(at + line.second + " names a " + target->second + " record");
    }
  }
  return problems;
}

// The pointers of a file (whole values of the form @...@) that name no
// record in it.
inline std::set<std::string> MissingPointerTargets(const std::string& bytes,
                                                   InputEncoding encoding) {
  std::set<std::string> missing;
  auto types = RecordTypes(bytes, encoding);
  for (const auto& line : integrity_detail::SplitLines(bytes, encoding)) {
    if (integrity_detail::PointerLine(line) && types.count(line.second) == 0) {
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
        std::string ref = "@";
        ref += letter;
        ref += std::to_string(j);
        ref += '@';
        refs.insert(ref);
      }
    }
  };
  int32_t notes = std::max(store.slots[0].noteCount, store.slots[1].noteCount);
  int32_t sources = std::max(store.slots[0].sourceCount, store.slots[1].sourceCount);
  add(store.notePos, notes, 'N');
  add(store.sourcePos, sources, 'S');
  return refs;
}

// The problems of the output of a merge of the store's two inputs: pointers
// that named nothing in their input may name nothing still, and so may
// those of the notes and sources the import never found.
inline std::vector<std::string> MergedOutputProblems(const Store& store, const std::string& output) {
  std::set<std::string> allowed = UnwrittenNoteAndSourceRefs(store);
  for (const InputSlot& slot : store.slots) {
    std::set<std::string> missing = MissingPointerTargets(slot.bytes, slot.encoding);
    allowed.insert(missing.begin(), missing.end());
  }
  return IntegrityProblems(output, store.slots[0].encoding, allowed);
}

inline std::string JoinProblems(const std::vector<std::string>& problems, size_t limit = 20) {
  std::string text;
  for (size_t i = 0; i < problems.size() && i < limit; ++i) text += problems[i] + "\n";
  if (problems.size() > limit) text += "... " + std::to_string(problems.size() - limit) + " more\n";
  return text;
}

}  // namespace kw::test

#endif  // KINWEAVE_TESTS_SUPPORT_GEDCOM_INTEGRITY_H_
