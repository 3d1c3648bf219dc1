// The character codecs of GEDCOM files: Windows-1252 (what the tool calls
// plain), ANSEL with GEDCOM's additions, UTF-8 and UTF-16 in both byte
// orders. The import reduces every line to Windows-1252 bytes; the export
// transcodes lines between the encodings of the inputs and of the output
// through Unicode code points.
//
// All functions work on the bytes of one line or part of a line; they keep
// no state between calls (an ANSEL diacritic at the end of the bytes has no
// letter to go with and is dropped).
#ifndef KINWEAVE_BASE_CODEC_H_
#define KINWEAVE_BASE_CODEC_H_

#include <string>
#include <string_view>

namespace kw {

// How the bytes of an input file are read.
enum InputEncoding : int {
  kEncodingPlain = 0,  // Windows-1252, whatever the CHAR line says
  kEncodingAnsel = 1,
  kEncodingUtf8 = 2,
  kEncodingUtf16Le = 3,
  kEncodingUtf16Be = 4,
};

inline bool IsUtf16(InputEncoding encoding) {
  return encoding == kEncodingUtf16Le || encoding == kEncodingUtf16Be;
}

// Whether every byte is below 0x80: such text reads the same in every
// encoding but UTF-16.
inline bool IsAscii(std::string_view bytes) {
  for (char c : bytes) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

// The UTF-16 code unit at `p` (two bytes) in the given byte order.
inline char32_t Utf16Unit(const unsigned char* p, bool bigEndian) {
  return bigEndian ? (p[0] << 8) | p[1] : (p[1] << 8) | p[0];
}

// Windows-1252 as the WHATWG Encoding Standard maps it; its five unassigned
// bytes 0x81, 0x8D, 0x8F, 0x90, 0x9D map to U+0081 ... U+009D and back.
char32_t UnicodeFromCp1252(unsigned char byte);
// The Windows-1252 byte of a code point, or -1 when it has none.
int Cp1252FromUnicode(char32_t codePoint);

// Appends the decoded code points of `bytes` to `out`. Invalid UTF-8 bytes,
// undefined ANSEL bytes and lone UTF-16 surrogate halves come out as U+FFFD,
// one per byte or unit; a UTF-16 surrogate pair is its real code point; an
// odd last UTF-16 byte is U+FFFD.
// ANSEL diacritics (written before their letter) are composed with the
// letter into the precomposed character where Unicode has one, otherwise
// they follow the letter as combining marks.
void DecodeToUnicode(InputEncoding encoding, std::string_view bytes, std::u32string& out);

// Appends the encoding of `text` to `out`. A character the encoding cannot
// hold becomes "?" (Windows-1252 and ANSEL); ANSEL writes a letter with a
// diacritic as the diacritic byte followed by the letter.
void EncodeFromUnicode(InputEncoding encoding, std::u32string_view text, std::string& out);

// Appends `bytes` reduced to Windows-1252 to `out`, as the import stores
// texts: every character Windows-1252 has becomes its byte, every other one
// "?"; an ANSEL letter with diacritics becomes the composed Windows-1252
// letter where one exists, else the letter alone. Plain input is copied.
void DecodeToCp1252(InputEncoding encoding, std::string_view bytes, std::string& out);

}  // namespace kw

#endif  // KINWEAVE_BASE_CODEC_H_
