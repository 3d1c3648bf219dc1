#include "base/codec.h"

#include <gtest/gtest.h>

#include "support/table.h"

namespace kw {
namespace {

std::u32string ToUnicode(InputEncoding encoding, std::string_view bytes) {
  std::u32string out;
  DecodeToUnicode(encoding, bytes, out);
  return out;
}

std::string ToCp1252(InputEncoding encoding, std::string_view bytes) {
  std::string out;
  DecodeToCp1252(encoding, bytes, out);
  return out;
}

std::string Encode(InputEncoding encoding, std::u32string_view text) {
  std::string out;
  EncodeFromUnicode(encoding, text, out);
  return out;
}

// Row 0x80 to 0x9F follows WHATWG: the unassigned bytes are C1 controls.
TEST(CodecCp1252, AllBytesRoundTripThroughUnicode) {
  std::string all;
  for (int byte = 0; byte < 256; ++byte) all.push_back(static_cast<char>(byte));
  const std::u32string text = ToUnicode(kEncodingPlain, all);
  ASSERT_EQ(text.size(), 256u);
  EXPECT_EQ(Encode(kEncodingPlain, text), all);
  EXPECT_EQ(ToCp1252(kEncodingPlain, all), all);
  EXPECT_EQ(text.substr(0x80, 5), U"\u20AC\u0081\u201A\u0192\u201E");
  EXPECT_EQ(text.substr(0x9D, 4), U"\u009D\u017E\u0178\u00A0");
  EXPECT_EQ(Encode(kEncodingPlain, U"\u0080\u0141\u0152\u00FC"), "??\x8C\xFC");
}

// How names read in each encoding reduce to Windows-1252 and reach an
// output of another encoding is shown end to end by the golden cases
// names-across-encodings and names-in-utf16.
TEST(CodecUtf8, AsciiRunsKeepTheirNeighboursAndEveryUnicodeFormRoundTrips) {
  for (size_t lead = 0; lead < 20; ++lead) {
    const std::string ascii(lead, 'x');
    EXPECT_EQ(ToCp1252(kEncodingUtf8, ascii + "\xC3\xA4" + ascii), ascii + "\xE4" + ascii);
    EXPECT_EQ(ToCp1252(kEncodingAnsel, ascii +
                                           "\xE8"
                                           "a" +
                                           ascii),
              ascii + "\xE4" + ascii);
  }
  const std::u32string text = U"Za\u017C\u00F3\u0142 \u0395\u03BB \U0001F600\uFFFD\r\n";
  const std::string utf8 = Encode(kEncodingUtf8, text);
  EXPECT_EQ(utf8, "Za\xC5\xBC\xC3\xB3\xC5\x82 \xCE\x95\xCE\xBB \xF0\x9F\x98\x80\xEF\xBF\xBD\r\n");
  EXPECT_EQ(ToUnicode(kEncodingUtf8, utf8), text);
  // Surrogates and what lies beyond U+10FFFF have no UTF-8 form.
  EXPECT_EQ(Encode(kEncodingUtf8, std::u32string{0xD800, 0xDFFF, 0x110000}),
            "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD");
  for (InputEncoding utf16 : {kEncodingUtf16Le, kEncodingUtf16Be}) {
    EXPECT_EQ(ToUnicode(utf16, Encode(utf16, text)), text);
  }
}

TEST(CodecUtf8, EachInvalidByteIsOneReplacement) {
  for (const test::TableRow& row : test::ReadTable("utf8-invalid", 2)) {
    const std::string& cp1252 = row.Bytes(1);
    EXPECT_EQ(ToCp1252(kEncodingUtf8, row.Bytes(0)), cp1252) << row;
    const std::u32string text = ToUnicode(kEncodingUtf8, row.Bytes(0));
    EXPECT_EQ(text.size(), cp1252.size()) << row;
    EXPECT_EQ(text[1], U'\uFFFD') << row;
  }
}

TEST(CodecUtf16, LittleEndianPairsLoneHalvesAndAnOddByte) {
  const std::string pair("\x3D\xD8\x00\xDE!\0", 6);
  EXPECT_EQ(ToUnicode(kEncodingUtf16Le, pair), U"\U0001F600!");
  EXPECT_EQ(Encode(kEncodingUtf16Le, U"\U0001F600!"), pair);
  EXPECT_EQ(ToCp1252(kEncodingUtf16Le, std::string("\xFC\0\xAC\x20\x3D\xD8"
                                                   "A\0\x00\xDE",
                                                   10)),
            "\xFC\x80?A?");
  EXPECT_EQ(ToUnicode(kEncodingUtf16Le, std::string("A\0B", 3)), U"A\uFFFD");
  EXPECT_EQ(ToUnicode(kEncodingUtf16Be, std::string("\0A\xD8\x3D", 4)), U"A\uFFFD");
}

// ANSEL writes a diacritic before its letter; Windows-1252 keeps the fullest
// composition it has a byte for, at worst the letter alone.
TEST(CodecAnsel, DiacriticsComposeWithTheFollowingLetter) {
  EXPECT_EQ(ToCp1252(kEncodingAnsel,
                     "\xA2\xA6\xC8\xA1\xB9 \xE2"
                     "e\xF0"
                     "c\xE9s\xE9S\xE9"
                     "c"),
            "\xD8\x8C\x80?\xA3 \xE9\xE7\x9A\x8A"
            "c");
  EXPECT_EQ(ToUnicode(kEncodingAnsel,
                      "\xE9"
                      "c\xE2\xB2\xE2q"),
            U"\u010D\u01FFq\u0301");
  EXPECT_EQ(ToUnicode(kEncodingAnsel, "\xE8\xE5u\xE5\xE8u"), U"\u01D6\u1E7B");  // in turn
  EXPECT_EQ(ToCp1252(kEncodingAnsel, "\xE8\xE5u\xE2q"), "\xFCq");
  EXPECT_EQ(ToUnicode(kEncodingAnsel, "\xE8\xF5\xE5u"), U"\u00FC\u0333\u0304");
  // A diacritic without a letter is dropped; an undefined byte is U+FFFD.
  EXPECT_EQ(ToCp1252(kEncodingAnsel, "ab\xE8\xE2\r\n"), "ab\r\n");
  EXPECT_EQ(ToUnicode(kEncodingAnsel, "ab\xE8\n\x80\xAF\xFF"), U"ab\n\uFFFD\uFFFD\uFFFD");
  EXPECT_EQ(ToUnicode(kEncodingAnsel, "\xE8\xAF"), U"\uFFFD\u0308");
  EXPECT_EQ(ToCp1252(kEncodingAnsel, "\xE8\xAF"), "?");
}

TEST(CodecAnsel, EncodeWritesMarksBeforeTheirLetter) {
  EXPECT_EQ(Encode(kEncodingAnsel, U"\u0141\u010D \u1EDB\u00DF"),
            "\xA1\xE9"
            "c \xE2\xBC\xCF");
  EXPECT_EQ(Encode(kEncodingAnsel, U"\u0301e\u4E2D\u0301!\u00E9\u0301"),
            "?e?!\xE2\xE2"
            "e");
  // Letters followed by their marks, as UTF-8 files often write them: the
  // first mark of the combining block, the two halves of a ligature.
  EXPECT_EQ(Encode(kEncodingAnsel, U"e\u0300t\uFE20s\uFE21"), "\xE1" "e\xEBt\xECs");
  const std::u32string names =
      U"M\u00FCller \u0141\u00F3d\u017A \u010Cech \u00C5se \u01D6 Stra\u00DFe";
  EXPECT_EQ(ToUnicode(kEncodingAnsel, Encode(kEncodingAnsel, names)), names);
}

}  // namespace
}  // namespace kw
