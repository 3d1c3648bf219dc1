// The GEDCOM line syntax both the import and the export read by: the start
// of a file, line ends in every encoding, the line before a position, the
// parts of a line, and cross-reference numbers.
#include "base/gedcom_line.h"

#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <string>
#include <vector>

#include "support/table.h"
#include "support/test_files.h"

namespace kw {
namespace {

using test::Utf16;

std::vector<std::string> Lines(const std::string& bytes, InputEncoding encoding) {
  LineReader reader(bytes, encoding);
  std::vector<std::string> lines;
  std::string_view raw;
  while (reader.Next(raw)) lines.emplace_back(raw);
  return lines;
}

TEST(GedcomLine, MarksAndUtf16StartsDecideTheEncoding) {
  for (const test::TableRow& row : test::ReadTable("encoding-starts", 4)) {
    EncodingProbe probe = ProbeEncoding(row.Bytes(0));
    EXPECT_EQ(probe.encoding, row.Encoding(1)) << row;
    EXPECT_EQ(probe.fixed, row.Raw(2) == "yes") << row;
    EXPECT_EQ(probe.markBytes, row.Int(3)) << row;
  }
}

TEST(GedcomLine, EveryLineEndEndsALineAndStaysWithIt) {
  EXPECT_EQ(Lines("a\rb\nc\r\nd\n\re", kEncodingPlain),
            (std::vector<std::string>{"a\r", "b\n", "c\r\n", "d\n\r", "e"}));
  EXPECT_EQ(Lines("x\r\r\ny\n\n", kEncodingUtf8),
            (std::vector<std::string>{"x\r", "\r\n", "y\n", "\n"}));
  for (bool big : {false, true}) {
    InputEncoding encoding = big ? kEncodingUtf16Be : kEncodingUtf16Le;
    // A byte 0x0A inside a unit (U+0A41) ends no line; an odd last byte
    // stays with the last line.
    std::string bytes = Utf16("a\rb\r\n", big) + (big ? "\x0A\x41" : "\x41\x0A") + "X";
    EXPECT_EQ(Lines(bytes, encoding),
              (std::vector<std::string>{Utf16("a\r", big), Utf16("b\r\n", big),
                                        std::string(big ? "\x0A\x41" : "\x41\x0A") + "X"}));
  }
}

// The numbering pass looks only at the lines that may have level 0 and
// passes over the others in blocks of 16 bytes: it must find exactly the
// lines the reader splits whose first byte after white space is "0", "+"
// or "-", wherever lines, runs of line ends and blocks meet.
TEST(GedcomLine, LinesThatMayHaveLevelZeroAreFoundAmongAllOthers) {
  std::mt19937 random(5);
  // Short lines and runs of line ends; long lines, mostly of levels.
  const std::string dense = "0000111229+- \t\f\r\n\r\nAa@";
  const std::string sparse = "0111111111122223334445556667778889999AAAA  \r\n";
  for (int round = 0; round < 2000; ++round) {
    const std::string& alphabet = round % 2 == 0 ? dense : sparse;
    std::string bytes(random() % 120, ' ');
    for (char& c : bytes) c = alphabet[random() % alphabet.size()];
    // Every line start of the bytes; the reading starts at one of them.
    std::vector<size_t> starts{0};
    LineReader reader(bytes, kEncodingPlain);
    std::string_view raw;
    while (reader.Next(raw)) starts.push_back(static_cast<size_t>(reader.position()));
    const size_t start = starts[random() % starts.size()];
    reader.Seek(static_cast<int64_t>(start));
    std::vector<std::string> expected;
    while (reader.Next(raw)) {
      size_t p = raw.find_first_not_of(" \t\v\f\r\n");
      if (p != std::string_view::npos && (raw[p] == '0' || raw[p] == '+' || raw[p] == '-')) {
        expected.emplace_back(raw);
      }
    }
    LevelZeroLines lines(bytes, start);
    std::vector<std::string> found;
    while (lines.Next(raw)) found.emplace_back(raw);
    ASSERT_EQ(found, expected) << round << ": " << bytes;
  }
}

// A file with CR line ends only (as old Macintosh programs write them) has
// no LF to find: the search for one must not run to the end of the file for
// every line, or a file of a million lines takes hours. The reading stops
// after two seconds, some hundred times what the lines need.
TEST(GedcomLine, LinesEndingInCrOnlyAreFoundWithoutSearchingToTheEnd) {
  for (const std::string& lineEnd : {std::string("\r"), std::string("\n")}) {
    std::string bytes;
    const int lineCount = 1000000;
    for (int i = 0; i < lineCount; ++i) bytes += "1 X" + lineEnd;
    LineReader reader(bytes, kEncodingPlain);
    std::string_view raw;
    int lines = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (reader.Next(raw) && (++lines % 1000 != 0 || std::chrono::steady_clock::now() < deadline)) {
      ASSERT_EQ(raw, "1 X" + lineEnd);
    }
    EXPECT_EQ(lines, lineCount) << "line end " << int(lineEnd[0]);
  }
}

TEST(GedcomLine, TheLineBeforeAPositionEndsExactlyThere) {
  const std::string bytes = "0 HEAD\r\n0 @N1@ NOTE Text\n1 CONT x\r";
  size_t afterNote = bytes.find("1 CONT");
  EXPECT_EQ(RawLineBefore(bytes, afterNote, kEncodingPlain), "0 @N1@ NOTE Text\n");
  EXPECT_EQ(RawLineBefore(bytes, 8, kEncodingPlain), "0 HEAD\r\n");
  EXPECT_EQ(RawLineBefore(bytes, bytes.size(), kEncodingPlain), "1 CONT x\r");
  EXPECT_EQ(RawLineBefore(bytes, 7, kEncodingPlain), "");  // inside CR LF
  EXPECT_EQ(RawLineBefore(bytes, 3, kEncodingPlain), "");
  EXPECT_EQ(RawLineBefore(bytes, 0, kEncodingPlain), "");
  std::string wide = Utf16("0 @N1@ NOTE T\r\n1 X\n", false);
  EXPECT_EQ(RawLineBefore(wide, wide.find(Utf16("1 X", false)), kEncodingUtf16Le),
            Utf16("0 @N1@ NOTE T\r\n", false));
  EXPECT_EQ(RecordValue(Utf16("0 @N1@ NOTE T u\r\n", true), kEncodingUtf16Be), Utf16("T u", true));
  EXPECT_EQ(RecordValue("0 @N1@ NOTE  zwei Blanks\r\n", kEncodingPlain), " zwei Blanks");
  EXPECT_EQ(RecordValue("0 @N1@ NOTE\r\n", kEncodingPlain), "");
  EXPECT_EQ(RecordValue("0\t@N1@\tNOTE\tText x\r\n", kEncodingPlain), "Text x");  // tabs part too
}

// tests/tables/scanned-lines.txt
TEST(GedcomLine, ALineSplitsLikeScanfWouldSplitIt) {
  for (const test::TableRow& row : test::ReadTable("scanned-lines", 6)) {
    const ScannedLine line = ScanLine(row.Bytes(0));
    EXPECT_EQ(line.hasLevel, row.Raw(1) != "none") << row;
    if (!line.hasLevel) continue;
    EXPECT_EQ(line.level, row.Int(1)) << row;
    EXPECT_EQ(line.levelFollowedBySpace, row.Raw(2) == "yes") << row;
    EXPECT_EQ(line.token2, row.Bytes(3)) << row;
    EXPECT_EQ(line.token3, row.Bytes(4)) << row;
    EXPECT_EQ(line.value, row.Bytes(5)) << row;
  }
}

// The parts of `got`, scanned in `raw`, lie where those of `want` lie in
// `text`, and are as long.
void ExpectSameParts(const ScannedLine& got, std::string_view raw, const ScannedLine& want,
                     std::string_view text, const std::string& shown) {
  ASSERT_TRUE(got.hasLevel && want.hasLevel) << shown;
  EXPECT_EQ(got.level, want.level) << shown;
  EXPECT_EQ(got.levelFollowedBySpace, want.levelFollowedBySpace) << shown;
  for (auto [part, expected] : {std::pair{got.token2, want.token2},
                                std::pair{got.token3, want.token3},
                                std::pair{got.value, want.value}}) {
    EXPECT_EQ(part.data() - raw.data(), expected.data() - text.data()) << shown;
    EXPECT_EQ(part.size(), expected.size()) << shown;
  }
}

// The one pass over a short line must give what the long way gives: the
// same raw line, and the same level, tokens and value at the same bytes.
TEST(GedcomLine, AShortLineScannedInOnePassIsScannedAsTheLongWayScansIt) {
  std::mt19937 random(11);
  const std::string alphabet = std::string("0129 @IAz\t\v\f\r\n\xE4", 16) + std::string(1, '\0');
  const std::string common = "0123456789 ABCDEFGHIJ @\r\n";
  int taken = 0;
  for (int round = 0; round < 3000; ++round) {
    const std::string& letters = round % 3 == 0 ? alphabet : common;
    // Lines of any bytes, most of them starting as nearly every line does.
    std::string bytes;
    for (int lineCount = random() % 6; lineCount >= 0; --lineCount) {
      if (random() % 4 != 0) bytes += std::string{static_cast<char>('0' + random() % 10), ' '};
      for (int n = random() % 40; n > 0; --n) bytes += letters[random() % letters.size()];
      const char* ends[] = {"\r\n", "\n", "\r", "\n\r"};
      bytes += ends[random() % 4];
    }
    for (InputEncoding encoding : {kEncodingPlain, kEncodingUtf8, kEncodingUtf16Le}) {
      LineReader reader(bytes, encoding);
      LineReader longWay(bytes, encoding);
      std::string_view raw, expectedRaw;
      ScannedLine line;
      while (longWay.Next(expectedRaw)) {
        const std::string shown = std::to_string(round) + " at " + std::to_string(reader.position());
        if (!reader.NextShort(raw, line)) {
          ASSERT_TRUE(reader.Next(raw));
          continue;
        }
        ASSERT_NE(encoding, kEncodingUtf16Le);
        ++taken;
        ASSERT_EQ(raw.data(), expectedRaw.data()) << shown;
        ASSERT_EQ(raw.size(), expectedRaw.size()) << shown;
        std::string storage;
        const ScannedLine expected = ScanLine(ScanText(encoding, expectedRaw, storage));
        ExpectSameParts(line, raw, expected, expectedRaw, shown);
      }
      EXPECT_EQ(reader.position(), longWay.position());
    }
  }
  EXPECT_GT(taken, 5000);
  // Every length up to the 32 bytes, with two tokens and with three: a CR
  // LF may end right at the 32nd byte or one past it.
  for (size_t length = 2; length <= 34; ++length) {
    for (const char* words : {"1 NAME", "1 NAME x"}) {
      std::string text = words;
      text.resize(length, ' ');
      text += "\r\n";
      const std::string bytes = text + std::string(40, 'x');
      std::string_view raw;
      ScannedLine scanned;
      if (!ScanShortLine(bytes, 0, kEncodingPlain, raw, scanned)) continue;
      ASSERT_EQ(raw, text) << length;
      ExpectSameParts(scanned, raw, ScanLine(text), text, std::to_string(length) + words);
    }
  }
  // A line with a NUL, or a byte to decode, goes the long way; so does a
  // line with no 32 bytes from its start.
  const std::string tail(40, 'x');
  std::string_view raw;
  ScannedLine line;
  const std::string sex = "1 SEX M\r\n" + tail;
  EXPECT_TRUE(ScanShortLine(sex, 0, kEncodingPlain, raw, line));
  EXPECT_EQ(raw, "1 SEX M\r\n");
  const std::string name = "1 NAME K\xE4the\n" + tail;
  EXPECT_TRUE(ScanShortLine(name, 0, kEncodingPlain, raw, line));
  EXPECT_FALSE(ScanShortLine(name, 0, kEncodingUtf8, raw, line));
  const std::string nul = std::string("1 NAME K\0the\n", 14) + tail;
  EXPECT_FALSE(ScanShortLine(nul, 0, kEncodingPlain, raw, line));
  EXPECT_FALSE(ScanShortLine("1 SEX M\r\n", 0, kEncodingPlain, raw, line));
}

TEST(GedcomLine, CrossReferenceNumbers) {
  for (const test::TableRow& row : test::ReadTable("xref-numbers", 4)) {
    EXPECT_EQ(XrefNumber(row.Raw(0), row.Raw(1)[0], row.Int(2)), row.Int(3)) << row;
  }
  // A note's or source's: any letter, the number read as atoi reads it
  // (white space first, a sign; "@N-5@" is never a note's number), the
  // closing "@" not looked at.
  int n = 0;
  for (auto [token, number] : {std::pair{"@N5@", 5}, {"@X77", 77}, {"@N-5@", -5}, {"@N 7@", 7}}) {
    EXPECT_TRUE(ScanAnyXref(token, &n) && n == number) << token;
  }
  for (const char* token : {"@N@", "@N/5@", "N5@", "@5"}) EXPECT_FALSE(ScanAnyXref(token, &n));
}

}  // namespace
}  // namespace kw
