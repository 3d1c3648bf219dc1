// Texts of the merge report: the core's Windows-1252 texts and the native
// paths turned into UTF-8, and UTF-8 made safe for HTML and for a cell of a
// CSV file. Every function appends to `out`, so one buffer serves a row.
#ifndef KINWEAVE_REPORT_REPORT_TEXT_H_
#define KINWEAVE_REPORT_REPORT_TEXT_H_

#include <string>
#include <string_view>

namespace kw {

// Converts the texts of the core (Windows-1252) through the codec, reusing
// its buffer of code points.
class Utf8Converter {
 public:
  void Append(std::string_view cp1252, std::string& out);
  std::string Convert(std::string_view cp1252) {
    std::string out;
    Append(cp1252, out);
    return out;
  }

 private:
  std::u32string unicode_;
};

// A native path (UTF-8 as the system gives it) as valid UTF-8: bytes that
// are no UTF-8 become U+FFFD.
std::string Utf8FromNativePath(std::string_view path);

// UTF-8 text as HTML text or attribute value: & < > " ' escaped.
void AppendHtml(std::string_view utf8, std::string& out);

// A path as the href of a link: every byte but letters, digits and
// "-._~/" percent-encoded.
void AppendHrefPath(std::string_view utf8, std::string& out);

// UTF-8 text as one CSV field with ";" between fields: quoted (quotes
// doubled) when it holds ";", a quote or a line break, or has blanks at an
// end. A text a spreadsheet would take for a formula (starting with "=",
// "+", "-", "@", tab or CR) gets a leading "'" first.
void AppendCsvField(std::string_view utf8, std::string& out);

// Makes what was appended to `out` from `start` on one CSV field, as
// AppendCsvField would have written it.
void FinishCsvField(std::string& out, size_t start);

// A count with dots between groups of three digits, as German writes it:
// 248706 gives "248.706".
std::string GroupedNumber(long long n);

}  // namespace kw

#endif  // KINWEAVE_REPORT_REPORT_TEXT_H_
