#include "base/codec.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

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

TEST(CodecCp1252, AllBytesRoundTripThroughUnicode) {
  std::string all;
  for (int byte = 0; byte < 256; ++byte) all.push_back(static_cast<char>(byte));
  const std::u32string text = ToUnicode(kEncodingPlain, all);
  ASSERT_EQ(text.size(), 256u);
  EXPECT_EQ(Encode(kEncodingPlain, text), all);
  EXPECT_EQ(ToCp1252(kEncodingPlain, all), all);
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

// What each encoding reads and writes (tests/tables/codec.txt): UTF-16
// pairs and halves, ANSEL's marks before their letters, the Windows-1252
// row 0x80 to 0x9F.
TEST(Codec, EachEncodingReadsAndWritesItsTable) {
  const std::set<std::string> kWays = {"cp1252", "unicode", "encode", "both", "roundtrip"};
  for (const test::TableRow& row : test::ReadTable("codec", 4)) {
    const InputEncoding encoding = row.Encoding(0);
    const std::string& way = row.Raw(1);
    EXPECT_EQ(kWays.count(way), 1u) << row;
    const std::string& bytes = row.Bytes(2);
    if (way == "cp1252") {
      EXPECT_EQ(ToCp1252(encoding, bytes), row.Bytes(3)) << row;
      continue;
    }
    const std::u32string text = ToUnicode(kEncodingUtf8, row.Bytes(3));
    if (way == "unicode" || way == "both") {
      EXPECT_EQ(ToUnicode(encoding, bytes), text) << row;
    }
    if (way == "encode" || way == "both") {
      EXPECT_EQ(Encode(encoding, text), bytes) << row;
    }
    if (way == "roundtrip") {
      EXPECT_EQ(ToUnicode(encoding, Encode(encoding, text)), text) << row;
    }
  }
}

}  // namespace
}  // namespace kw
