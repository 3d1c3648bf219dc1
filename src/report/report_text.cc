#include "report/report_text.h"

#include "base/codec.h"

namespace kw {

void Utf8Converter::Append(std::string_view cp1252, std::string& out) {
  if (IsAscii(cp1252)) {
    out.append(cp1252);
    return;
  }
  unicode_.clear();
  DecodeToUnicode(kEncodingPlain, cp1252, unicode_);
  EncodeFromUnicode(kEncodingUtf8, unicode_, out);
}

std::string Utf8FromNativePath(std::string_view path) {
  if (IsAscii(path)) return std::string(path);
  std::u32string unicode;
  DecodeToUnicode(kEncodingUtf8, path, unicode);
  std::string out;
  EncodeFromUnicode(kEncodingUtf8, unicode, out);
  return out;
}

void AppendHtml(std::string_view utf8, std::string& out) {
  size_t start = 0;
  for (size_t i = 0; i < utf8.size(); ++i) {
    const char* entity = nullptr;
    switch (utf8[i]) {
      case '&':
        entity = "&amp;";
        break;
      case '<':
        entity = "&lt;";
        break;
      case '>':
        entity = "&gt;";
        break;
      case '"':
        entity = "&quot;";
        break;
      case '\'':
        entity = "&#39;";
        break;
      default:
        continue;
    }
    out.append(utf8.substr(start, i - start));
    out.append(entity);
    start = i + 1;
  }
  out.append(utf8.substr(start));
}

void AppendHrefPath(std::string_view utf8, std::string& out) {
  static const char kHex[] = "0123456789ABCDEF";
  for (char c : utf8) {
    unsigned char byte = static_cast<unsigned char>(c);
    bool plain = (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
                 (byte >= '0' && byte <= '9') || c == '-' || c == '.' || c == '_' || c == '~' ||
                 c == '/';
    if (plain) {
      out.push_back(c);
    } else {
      out.push_back('%');
      out.push_back(kHex[byte >> 4]);
      out.push_back(kHex[byte & 15]);
    }
  }
}

namespace {

// The bytes that make a CSV field quoted: the separator, the quote and the
// line ends.
constexpr bool IsCsvSpecial(unsigned char c) {
  return c == ';' || c == '"' || c == '\r' || c == '\n';
}

}  // namespace

void AppendCsvField(std::string_view utf8, std::string& out) {
  bool formula = !utf8.empty() && (utf8[0] == '=' || utf8[0] == '+' || utf8[0] == '-' ||
                                   utf8[0] == '@' || utf8[0] == '\t' || utf8[0] == '\r');
  bool special = !utf8.empty() && (utf8.front() == ' ' || utf8.back() == ' ');
  for (char c : utf8) special |= IsCsvSpecial(static_cast<unsigned char>(c));
  if (!formula && !special) {
    out.append(utf8);
    return;
  }
  if (special) out.push_back('"');
  if (formula) out.push_back('\'');
  for (char c : utf8) {
    if (c == '"') out.push_back('"');
    out.push_back(c);
  }
  if (special) out.push_back('"');
}

void FinishCsvField(std::string& out, size_t start) {
  std::string_view field = std::string_view(out).substr(start);
  bool plain =
      field.empty() || (field[0] != '=' && field[0] != '+' && field[0] != '-' && field[0] != '@' &&
                        field[0] != '\t' && field.front() != ' ' && field.back() != ' ');
  for (size_t i = 0; i < field.size() && plain; ++i) {
    plain = !IsCsvSpecial(static_cast<unsigned char>(field[i]));
  }
  if (plain) return;
  std::string copy(field);
  out.resize(start);
  AppendCsvField(copy, out);
}

std::string GroupedNumber(long long n) {
  std::string digits = std::to_string(n < 0 ? -n : n);
  std::string out = n < 0 ? "-" : "";
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i != 0 && (digits.size() - i) % 3 == 0) out.push_back('.');
    out.push_back(digits[i]);
  }
  return out;
}

}  // namespace kw
