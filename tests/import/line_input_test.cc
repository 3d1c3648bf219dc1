// The import's lines: the 999-byte limit, and what each encoding stores
// through a whole load.
#include "import/line_input.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/load_fixture.h"

namespace kw {
namespace {

using test::LoadSetup;

std::string Utf16(const std::string& ascii, bool little) {
  std::string out;
  for (char c : ascii) {
    if (little) out += c, out += '\0';
    else out += '\0', out += c;
  }
  return out;
}

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

TEST(LineInputEncodings, Utf8WithMarkIsDecodedAndCharCannotChangeIt) {
  LoadSetup s;
  s.Load(0, "a.ged",
         "\xEF\xBB\xBF" "0 HEAD\r\n1 CHAR ANSI\r\n0 @I1@ INDI\r\n1 NAME J\xC3\xBCrgen /M\xC3\xBCller/\r\n"
         "0 @I2@ INDI\r\n1 NAME Euro /\xE2\x82\xAC\xE2\x80\x9E\xC5\xA0/\r\n"
         "0 @I3@ INDI\r\n1 NAME Kaputt /A\xFF\xE4\xBD\xA0Z/\r\n0 TRLR\r\n");
  EXPECT_STREQ(Surname(s, 1), "M\xFCller");
  EXPECT_STREQ(s.person(0, 1).givenNames, "J\xFCrgen");
  EXPECT_STREQ(Surname(s, 2), "\x80\x84\x8A");  // euro, low quote, S caron
  EXPECT_STREQ(Surname(s, 3), "A??Z");          // invalid byte, CJK character
  EXPECT_EQ(s.slot(0).encoding, kEncodingUtf8);
}

TEST(LineInputEncodings, CharLineSwitchesAFileWithoutMark) {
  LoadSetup s;
  s.Load(0, "a.ged",
         "0 HEAD\r\n1 CHAR UTF8\r\n0 @I1@ INDI\r\n1 NAME A /Gr\xC3\xBC\xC3\x9F/\r\n0 TRLR\r\n");
  EXPECT_STREQ(Surname(s, 1), "Gr\xFC\xDF");
  LoadSetup t;
  t.Load(0, "b.ged",
         "0 HEAD\r\n1 CHAR UTF-8\r\n1 CHAR ANSI\r\n0 @I1@ INDI\r\n1 NAME A /Gr\xC3\xBC/\r\n0 TRLR\r\n");
  EXPECT_STREQ(Surname(t, 1), "Gr\xC3\xBC");  // plain bytes after CHAR ANSI
  EXPECT_EQ(t.slot(0).encoding, kEncodingPlain);
  LoadSetup u;
  u.Load(0, "c.ged",
         "0 HEAD\r\n1 CHAR UNICODE\r\n0 @I1@ INDI\r\n1 NAME A /Gr\xC3\xBC/\r\n0 TRLR\r\n");
  EXPECT_STREQ(Surname(u, 1), "Gr\xFC");  // a byte file cannot turn UTF-16
  // A CHAR line after the header changes nothing: the export reads the
  // whole file in one encoding.
  LoadSetup v;
  v.Load(0, "d.ged",
         "0 HEAD\r\n1 CHAR ANSI\r\n0 @I1@ INDI\r\n1 CHAR UTF-8\r\n"
         "0 @I2@ INDI\r\n1 NAME A /Gr\xC3\xBC/\r\n0 TRLR\r\n");
  EXPECT_STREQ(Surname(v, 2), "Gr\xC3\xBC");
  EXPECT_EQ(v.slot(0).encoding, kEncodingPlain);
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
    std::string bytes = c.prefix + Utf16(text, c.little);
    // U+00FC stays a byte, U+0144 (n acute) becomes "?".
    std::string name = c.little ? std::string("\xFC\x00\x44\x01/", 6)
                                : std::string("\x00\xFC\x01\x44\x00/", 6);
    size_t at = bytes.find(Utf16("/B", c.little)) + 4;
    bytes.insert(at, name);
    s.Load(0, "a.ged", bytes);
    EXPECT_STREQ(Surname(s, 1), "B\xFC?") << c.prefix.size() << c.little;
    EXPECT_EQ(s.slot(0).encoding, c.little ? kEncodingUtf16Le : kEncodingUtf16Be);
    size_t nameLine = bytes.find(Utf16("1 NAME", c.little));
    EXPECT_EQ(s.person(0, 1).recordPos, static_cast<int64_t>(nameLine));
  }
}

}  // namespace
}  // namespace kw
