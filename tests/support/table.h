// Tables of test cases kept as data: tests/tables/<name>.txt holds one case
// a line, its fields separated by "|" and the blanks around each field
// dropped. Empty lines and lines that start with "#" are passed over.
//
// Inside a field \xNN is one byte, \s a blank that stays, and \r \n \t \0
// \| \\ stand for their characters. A field that reads "null" stands for no
// text at all (a null pointer).
#ifndef KINWEAVE_TESTS_SUPPORT_TABLE_H_
#define KINWEAVE_TESTS_SUPPORT_TABLE_H_

#include <ostream>
#include <string>
#include <vector>

#include "base/codec.h"

namespace kw::test {

struct TableRow {
  std::string where;                // "<table>.txt:<line>", for messages
  std::vector<std::string> fields;  // as written, the blanks around dropped
  std::vector<std::string> bytes;   // with their escapes decoded

  const std::string& Raw(size_t i) const { return fields.at(i); }
  // The field's bytes, or a null pointer for "null"; lives as long as the row.
  const char* Text(size_t i) const { return Raw(i) == "null" ? nullptr : bytes.at(i).c_str(); }
  const std::string& Bytes(size_t i) const { return bytes.at(i); }
  int Int(size_t i) const { return std::stoi(Raw(i)); }
  // The field as an encoding: plain, utf8, ansel, utf16le or utf16be.
  InputEncoding Encoding(size_t i) const;
};

inline std::ostream& operator<<(std::ostream& out, const TableRow& row) { return out << row.where; }

// Every row of tests/tables/<name>.txt. A table that cannot be read, holds
// no row, or has a row of another number of fields than `fields` fails the
// test that reads it.
std::vector<TableRow> ReadTable(const std::string& name, size_t fields);

}  // namespace kw::test

#endif  // KINWEAVE_TESTS_SUPPORT_TABLE_H_
