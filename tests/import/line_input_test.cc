// The import's lines: the 999-byte limit, and what each encoding stores
// through a whole load.
#include "import/line_input.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/load_fixture.h"
#include "support/table.h"

namespace kw {
namespace {

using test::LoadSetup;

TEST(LineInputLines, LongLinesComeBackIn999BytePiecesAndPositionsStayExact) {
  std::string longLine(1500, 'x');
  std::string bytes = "0 HEAD\r\n" + longLine + "\n0 TRLR\n";
  LineInput input(bytes);
  input.Probe();
  std::string_view line;
  ASSERT_TRUE(input.ReadLine(kEncodingPlain, line));
  EXPECT_EQ(input.position(), 8);
  ASSERT_TRUE(input.ReadLine(kEncodingPlain, line));
  EXPECT_EQ(line.size(), 999u);
  EXPECT_EQ(input.position(), 8 + 1501);  // the whole raw line is consumed
  ASSERT_TRUE(input.ReadLine(kEncodingPlain, line));
  EXPECT_EQ(line, std::string(501, 'x') + "\n");
  ASSERT_TRUE(input.ReadLine(kEncodingPlain, line));
  EXPECT_EQ(line, "0 TRLR\n");
  EXPECT_FALSE(input.ReadLine(kEncodingPlain, line));
}

// What the import stores for each encoding, through a whole load.
const char* Surname(LoadSetup& s, int person) { return s.person(0, person).surname; }

// A file's mark decides its encoding, else the header's CHAR line; a CHAR
// line after the header changes nothing, as the export reads the whole file
// in one encoding (tests/tables/char-lines.txt).
TEST(LineInputEncodings, MarkOrHeaderCharLineDecidesWhatNamesRead) {
  for (const test::TableRow& row : test::ReadTable("char-lines", 4)) {
    LoadSetup s;
    ASSERT_EQ(s.Load(0, "a.ged", row.Bytes(0)), 1) << row;
    EXPECT_STREQ(Surname(s, row.Int(1)), row.Text(2)) << row;
    EXPECT_EQ(s.slot(0).encoding, row.Encoding(3)) << row;
  }
}

TEST(LineInputEncodings, Utf16BothOrdersWithAndWithoutMarkAndCrOnly) {
  const std::string text = "0 HEAD\r1 CHAR ANSI\r0 @I1@ INDI\r1 NAME A /B\r0 TRLR\r";
  struct Case {
    std::string prefix;
    bool little;
  };
  for (const Case& c : {Case{"\xFF\xFE", true}, Case{"\xFE\xFF", false}, Case{"", true},
                        Case{"", false}}) {
    LoadSetup s;
    std::string bytes = c.prefix + test::Utf16(text, !c.little);
    // U+00FC stays a byte, U+0144 (n acute) becomes "?".
    std::string name = c.little ? std::string("\xFC\x00\x44\x01/", 6)
                                : std::string("\x00\xFC\x01\x44\x00/", 6);
    size_t at = bytes.find(test::Utf16("/B", !c.little)) + 4;
    bytes.insert(at, name);
    s.Load(0, "a.ged", bytes);
    EXPECT_STREQ(Surname(s, 1), "B\xFC?") << c.prefix.size() << c.little;
    EXPECT_EQ(s.slot(0).encoding, c.little ? kEncodingUtf16Le : kEncodingUtf16Be);
    size_t nameLine = bytes.find(test::Utf16("1 NAME", !c.little));
    EXPECT_EQ(s.person(0, 1).recordPos, static_cast<int64_t>(nameLine));
  }
}

}  // namespace
}  // namespace kw
