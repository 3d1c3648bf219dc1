#include "base/codec.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

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

TEST(CodecCp1252, AllBytesRoundTripAndRowEightFollowsWhatwg) {
  std::string all;
  for (int byte = 0; byte < 256; ++byte) all.push_back(static_cast<char>(byte));
  const std::u32string text = ToUnicode(kEncodingPlain, all);
  ASSERT_EQ(text.size(), 256u);
  EXPECT_EQ(Encode(kEncodingPlain, text), all);
  EXPECT_EQ(ToCp1252(kEncodingPlain, all), all);
  for (int byte = 0; byte < 256; ++byte) {
    EXPECT_EQ(Cp1252FromUnicode(UnicodeFromCp1252(static_cast<unsigned char>(byte))), byte);
  }
  // Row 0x80 to 0x9F follows WHATWG.
  EXPECT_EQ(UnicodeFromCp1252(0x80), U'\u20AC');  // euro
  EXPECT_EQ(UnicodeFromCp1252(0x84), U'\u201E');  // low double quote
  EXPECT_EQ(UnicodeFromCp1252(0x8A), U'\u0160');
  EXPECT_EQ(UnicodeFromCp1252(0x9F), U'\u0178');
  EXPECT_EQ(UnicodeFromCp1252(0x81), U'\u0081');  // unassigned: C1 control
  EXPECT_EQ(UnicodeFromCp1252(0x9D), U'\u009D');
  EXPECT_EQ(UnicodeFromCp1252(0xFC), U'\u00FC');
  EXPECT_EQ(Cp1252FromUnicode(U'\u0152'), 0x8C);
  EXPECT_EQ(Cp1252FromUnicode(U'\u0080'), -1);  // 0x80 is the euro
  EXPECT_EQ(Cp1252FromUnicode(U'\u0141'), -1);  // no Ł
  EXPECT_EQ(Encode(kEncodingPlain, U"\u20AC \u0141"), "\x80 ?");
}

TEST(CodecUtf8, ReducesToCp1252) {
  EXPECT_EQ(ToCp1252(kEncodingUtf8, "M\xC3\xBCller"), "M\xFCller");
  EXPECT_EQ(ToCp1252(kEncodingUtf8, "\xE2\x82\xAC"), "\x80");      // euro
  EXPECT_EQ(ToCp1252(kEncodingUtf8, "\xE2\x80\x9Ex"), "\x84x");    // low quote
  EXPECT_EQ(ToCp1252(kEncodingUtf8, "\xC5\xA0\xC5\xBE"), "\x8A\x9E");  // Š ž
  EXPECT_EQ(ToCp1252(kEncodingUtf8, "\xE4\xB8\xAD!"), "?!");       // CJK
  EXPECT_EQ(ToCp1252(kEncodingUtf8, "\xF0\x9F\x98\x80!"), "?!");   // emoji
}

TEST(CodecUtf8, EachInvalidByteIsOneReplacement) {
  struct Case {
    const char* bytes;
    const char* cp1252;
  } cases[] = {
      {"a\x80z", "a?z"},              // stray continuation
      {"a\xC0\xAFz", "a??z"},         // overlong slash
      {"a\xE0\x80\xAFz", "a???z"},    // overlong three-byte
      {"a\xED\xA0\x80z", "a???z"},    // surrogate
      {"a\xF4\x90\x80\x80z", "a????z"},  // above U+10FFFF
      {"a\xE2\x82z", "a??z"},         // cut off
      {"a\xE2\x82", "a??"},           // cut off by the end
      {"a\xFFz", "a?z"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ToCp1252(kEncodingUtf8, c.bytes), c.cp1252) << c.cp1252;
    const std::u32string text = ToUnicode(kEncodingUtf8, c.bytes);
    EXPECT_EQ(text.size(), std::string_view(c.cp1252).size()) << c.cp1252;
    EXPECT_EQ(text[1], U'\uFFFD') << c.cp1252;
  }
}

TEST(CodecUtf8, AsciiRunsOfEveryLengthKeepTheirNeighbours) {
  for (size_t lead = 0; lead < 20; ++lead) {
    const std::string ascii(lead, 'x');
    EXPECT_EQ(ToCp1252(kEncodingUtf8, ascii + "\xC3\xA4" + ascii), ascii + "\xE4" + ascii);
    EXPECT_EQ(ToCp1252(kEncodingAnsel, ascii + "\xE8" "a" + ascii), ascii + "\xE4" + ascii);
  }
}

TEST(CodecUtf8, MixedTextRoundTripsThroughEveryUnicodeForm) {
  const std::string utf8 =
      "Za\xC5\xBC\xC3\xB3\xC5\x82\xC4\x87 P\xC5\x99\xC3\xADli\xC5\xA1 "
      "\xCE\x95\xCE\xBB\xCE\xBB\xCE\xAC\xCE\xB4\xCE\xB1 \xF0\x9F\x98\x80 \xE2\x82\xAC\r\n";
  const std::u32string text = ToUnicode(kEncodingUtf8, utf8);
  EXPECT_EQ(text, U"Za\u017C\u00F3\u0142\u0107 P\u0159\u00EDli\u0161 "
                  U"\u0395\u03BB\u03BB\u03AC\u03B4\u03B1 \U0001F600 \u20AC\r\n");
  EXPECT_EQ(Encode(kEncodingUtf8, text), utf8);
  for (InputEncoding utf16 : {kEncodingUtf16Le, kEncodingUtf16Be}) {
    const std::string bytes = Encode(utf16, text);
    EXPECT_EQ(bytes.size(), 2 * (text.size() + 1));  // the emoji takes two units
    EXPECT_EQ(ToUnicode(utf16, bytes), text);
  }
  EXPECT_EQ(Encode(kEncodingUtf8, U"\uFFFD"), "\xEF\xBF\xBD");
}

TEST(CodecUtf16, UnitsSurrogatePairsAndLoneHalves) {
  const std::string le("A\0\xFC\0\xAC\x20\x1E\x20", 8);
  const std::string be("\0A\0\xFC\x20\xAC\x20\x1E", 8);
  EXPECT_EQ(ToCp1252(kEncodingUtf16Le, le), "A\xFC\x80\x84");
  EXPECT_EQ(ToCp1252(kEncodingUtf16Be, be), "A\xFC\x80\x84");
  EXPECT_EQ(ToCp1252(kEncodingUtf16Le, std::string("\x2D\x4E", 2)), "?");  // CJK
  // Surrogate pairs and lone halves.
  const std::string pairLe("\x3D\xD8\x00\xDE!\0", 6);
  const std::string pairBe("\xD8\x3D\xDE\x00\0!", 6);
  EXPECT_EQ(ToCp1252(kEncodingUtf16Le, pairLe), "?!");
  EXPECT_EQ(ToCp1252(kEncodingUtf16Be, pairBe), "?!");
  EXPECT_EQ(ToUnicode(kEncodingUtf16Le, pairLe), U"\U0001F600!");
  EXPECT_EQ(ToUnicode(kEncodingUtf16Be, pairBe), U"\U0001F600!");
  EXPECT_EQ(Encode(kEncodingUtf16Le, U"\U0001F600!"), pairLe);
  EXPECT_EQ(Encode(kEncodingUtf16Be, U"\U0001F600!"), pairBe);

  const std::string loneHigh("\x3D\xD8" "A\0", 4);
  const std::string loneLow("\x00\xDE" "A\0", 4);
  EXPECT_EQ(ToUnicode(kEncodingUtf16Le, loneHigh), U"\uFFFDA");
  EXPECT_EQ(ToUnicode(kEncodingUtf16Le, loneLow), U"\uFFFDA");
  EXPECT_EQ(ToCp1252(kEncodingUtf16Le, loneHigh), "?A");
  EXPECT_EQ(ToUnicode(kEncodingUtf16Le, std::string("\x3D\xD8", 2)), U"\uFFFD");
  EXPECT_EQ(ToUnicode(kEncodingUtf16Le, std::string("A\0B", 3)), U"A\uFFFD");  // odd byte
  EXPECT_EQ(ToCp1252(kEncodingUtf16Be, std::string("\0AB", 3)), "A?");
}

TEST(CodecAnsel, SpacingCharactersAndGedcomAdditions) {
  EXPECT_EQ(ToUnicode(kEncodingAnsel, "\xA1\xA2\xA3\xA4\xA5\xA6\xA7\xA8\xA9\xAA\xAB\xAC\xAD\xAE"),
            U"\u0141\u00D8\u0110\u00DE\u00C6\u0152\u02B9\u00B7\u266D\u00AE\u00B1\u01A0\u01AF\u02BC");
  EXPECT_EQ(ToUnicode(kEncodingAnsel, "\xB0\xB1\xB2\xB3\xB4\xB5\xB6\xB7\xB8\xB9\xBA\xBC\xBD"),
            U"\u02BB\u0142\u00F8\u0111\u00FE\u00E6\u0153\u02BA\u0131\u00A3\u00F0\u01A1\u01B0");
  EXPECT_EQ(ToUnicode(kEncodingAnsel, "\xC0\xC1\xC2\xC3\xC4\xC5\xC6\xC7\xC8"),
            U"\u00B0\u2113\u2117\u00A9\u266F\u00BF\u00A1\u00DF\u20AC");
  EXPECT_EQ(ToUnicode(kEncodingAnsel, "\xBE\xBF\xCD\xCE\xCF"), U"\u25A1\u25A0eo\u00DF");
  EXPECT_EQ(ToCp1252(kEncodingAnsel, "Stra\xCF" "e \xA2\xA6\xC8\xA1\xB9"),
            "Stra\xDF" "e \xD8\x8C\x80?\xA3");
  EXPECT_EQ(ToUnicode(kEncodingAnsel, "\x80\xAF\xBB\xD0\xFC\xFF"), std::u32string(6, U'\uFFFD'));
  EXPECT_EQ(ToCp1252(kEncodingAnsel, "a\xAF" "b\xFF"), "a?b?");
}

TEST(CodecAnsel, DiacriticsComposeWithTheFollowingLetterInTurn) {
  EXPECT_EQ(ToCp1252(kEncodingAnsel, "M\xE8uller"), "M\xFCller");
  EXPECT_EQ(ToCp1252(kEncodingAnsel, "\xE2" "e\xF0" "c\xE9s\xE9S"), "\xE9\xE7\x9A\x8A");
  EXPECT_EQ(ToCp1252(kEncodingAnsel, "\xE9" "c"), "c");  // č: the letter alone
  EXPECT_EQ(ToUnicode(kEncodingAnsel, "\xE9" "c\xE2" "\xB2"), U"\u010D\u01FF");  // č ǿ
  EXPECT_EQ(ToUnicode(kEncodingAnsel, "\xE2q"), U"q\u0301");  // no precomposed q
  EXPECT_EQ(ToCp1252(kEncodingAnsel, "\xE2q"), "q");
  // Several diacritics compose in turn.
  EXPECT_EQ(ToUnicode(kEncodingAnsel, "\xE8\xE5u"), U"\u01D6");  // ǖ
  EXPECT_EQ(ToUnicode(kEncodingAnsel, "\xE5\xE8u"), U"\u1E7B");  // ṻ
  EXPECT_EQ(ToCp1252(kEncodingAnsel, "\xE8\xE5u"), "\xFC");  // best Windows-1252 has
  // A mark that does not compose stays after the letter, and so do the rest.
  EXPECT_EQ(ToUnicode(kEncodingAnsel, "\xE8\xF5\xE5u"), U"\u00FC\u0333\u0304");
  // A diacritic without a letter is dropped.
  EXPECT_EQ(ToCp1252(kEncodingAnsel, "ab\xE8"), "ab");
  EXPECT_EQ(ToCp1252(kEncodingAnsel, "ab\xE8\xE2\r\n"), "ab\r\n");
  EXPECT_EQ(ToUnicode(kEncodingAnsel, "ab\xE8\n"), U"ab\n");
  EXPECT_EQ(ToUnicode(kEncodingAnsel, "\xE8\xAF"), U"\uFFFD\u0308");  // undefined letter
  EXPECT_EQ(ToCp1252(kEncodingAnsel, "\xE8\xAF"), "?");
}

TEST(CodecAnsel, EncodeWritesMarksBeforeTheirLetter) {
  EXPECT_EQ(Encode(kEncodingAnsel, U"M\u00FCller"), "M\xE8uller");
  EXPECT_EQ(Encode(kEncodingAnsel, U"\u0141\u010D"), "\xA1\xE9" "c");
  EXPECT_EQ(Encode(kEncodingAnsel, U"u\u0308x"), "\xE8ux");        // decomposed input
  EXPECT_EQ(Encode(kEncodingAnsel, U"\u01D6"), "\xE8\xE5u");        // two marks, in turn
  EXPECT_EQ(Encode(kEncodingAnsel, U"\u1EDB"), "\xE2\xBC");         // ớ on ơ
  EXPECT_EQ(Encode(kEncodingAnsel, U"\u00DF\u20AC"), "\xCF\xC8");
  // A lone mark; a CJK character with its mark.
  EXPECT_EQ(Encode(kEncodingAnsel, U"\u0301e\u4E2D\u0301!"), "?e?!");
  EXPECT_EQ(Encode(kEncodingAnsel, U"\u00E9\u0301"), "\xE2\xE2" "e");

  const std::u32string names =
      U"M\u00FCller \u0141\u00F3d\u017A \u010Cech \u00C5se \u01D6 Stra\u00DFe";
  EXPECT_EQ(ToUnicode(kEncodingAnsel, Encode(kEncodingAnsel, names)), names);
}

std::string ReadLineStartingWith(const std::filesystem::path& path, std::string_view start) {
  std::ifstream file(path, std::ios::binary);
  std::string line;
  while (std::getline(file, line)) {
    if (line.compare(0, start.size(), start) == 0) return line + "\n";
  }
  return "";
}

TEST(CodecRealFiles, AnselTestFileComposesUmlauts) {
  const std::filesystem::path dir = KINWEAVE_REAL_TESTDATA;
  if (!std::filesystem::exists(dir / "ansel.ged")) GTEST_SKIP() << "no real test data in " << dir;

  const std::string umlauts = ReadLineStartingWith(dir / "ansel.ged", "2 PLAC \xE8" "A");
  ASSERT_FALSE(umlauts.empty());
  EXPECT_EQ(ToCp1252(kEncodingAnsel, umlauts),
            "2 PLAC \xC4" "BCD\xCB" "FGH\xCF" "JKLMN\xD6" "PQRST\xDC" "VWX\x9F" "Z\r\n");
  const std::u32string text = ToUnicode(kEncodingAnsel, umlauts);
  EXPECT_EQ(text.substr(7, 8), U"\u00C4B\u0308C\u0308D\u0308\u00CB");

  const std::string esZet = ReadLineStartingWith(dir / "ansel.ged", "2 PLAC musical sharp");
  ASSERT_FALSE(esZet.empty());
  EXPECT_NE(ToCp1252(kEncodingAnsel, esZet).find("es zet (\xDF)"), std::string::npos);

  if (!std::filesystem::exists(dir / "willis-ansel.ged")) return;
  const std::string willis = ReadLineStartingWith(dir / "willis-ansel.ged", "3 _FOOT Br");
  ASSERT_FALSE(willis.empty());
  EXPECT_EQ(ToCp1252(kEncodingAnsel, willis).substr(0, 18), "3 _FOOT Br\xF8" "derbund");
}

}  // namespace
}  // namespace kw
