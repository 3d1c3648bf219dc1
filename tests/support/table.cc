#include "support/table.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>

namespace kw::test {

namespace {

std::string Trim(const std::string& text) {
  size_t begin = text.find_first_not_of(" \t");
  if (begin == std::string::npos) return "";
  return text.substr(begin, text.find_last_not_of(" \t") + 1 - begin);
}

// The fields of a line, split at every "|" that no backslash escapes.
std::vector<std::string> SplitFields(const std::string& line) {
  std::vector<std::string> fields(1);
  for (size_t i = 0; i < line.size(); ++i) {
    if (line[i] == '|') {
      fields.emplace_back();
      continue;
    }
    if (line[i] == '\\' && i + 1 < line.size()) fields.back() += line[i++];
    fields.back() += line[i];
  }
  for (std::string& field : fields) field = Trim(field);
  return fields;
}

std::string Decode(const std::string& field) {
  static const std::string kFrom = "srnt0", kTo = std::string(" \r\n\t\0", 5);
  std::string out;
  for (size_t i = 0; i < field.size(); ++i) {
    if (field[i] != '\\' || i + 1 == field.size()) {
      out += field[i];
    } else if (field[++i] == 'x') {
      out += static_cast<char>(std::stoi(field.substr(i + 1, 2), nullptr, 16));
      i += 2;
    } else {
      size_t at = kFrom.find(field[i]);
      out += at == std::string::npos ? field[i] : kTo[at];
    }
  }
  return out;
}

}  // namespace

InputEncoding TableRow::Encoding(size_t i) const {
  static const std::map<std::string, InputEncoding> kEncodings = {
      {"plain", kEncodingPlain}, {"utf8", kEncodingUtf8}, {"ansel", kEncodingAnsel},
      {"utf16le", kEncodingUtf16Le}, {"utf16be", kEncodingUtf16Be}};
  return kEncodings.at(Raw(i));
}

std::vector<TableRow> ReadTable(const std::string& name, size_t fields) {
  std::ifstream in(std::string(KINWEAVE_TEST_TABLES) + "/" + name + ".txt");
  std::vector<TableRow> rows;
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    if (Trim(line).empty() || Trim(line)[0] == '#') continue;
    TableRow row{name + ".txt:" + std::to_string(number), SplitFields(line), {}};
    for (const std::string& field : row.fields) row.bytes.push_back(Decode(field));
    if (row.fields.size() == fields) rows.push_back(std::move(row));
    else ADD_FAILURE() << row.where << ": " << row.fields.size() << " fields, not " << fields;
  }
  if (rows.empty()) ADD_FAILURE() << name << ".txt: no row read";
  return rows;
}

}  // namespace kw::test
