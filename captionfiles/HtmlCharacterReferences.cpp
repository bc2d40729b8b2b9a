#include "captionfiles/HtmlCharacterReferences.h"

#include <cctype>

#include "captionfiles/HtmlNamedReferences.h"
#include "kelcore/String.h"

namespace kelcaptionfiles {

namespace {

bool IsAsciiAlphanumeric(char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; }

// What HTML reads the numbers 0x80 to 0x9F as: the windows-1252 characters there; 0 where that
// has none and the number stands for itself.
constexpr char32_t kC1Replacements[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2014, 0x2013, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

std::optional<CharacterReference> Numeric(std::string_view text) {
  // text starts after "#".
  std::size_t i = 0;
  const bool hex = !text.empty() && (text[0] == 'x' || text[0] == 'X');
  if (hex) ++i;
  const std::size_t digitsStart = i;
  unsigned long long value = 0;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    int digit = -1;
    if (c >= '0' && c <= '9') digit = c - '0';
    else if (hex && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    else if (hex && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    if (digit < 0) break;
    // Past the code point range it no longer matters by how much.
    value = value > 0x10FFFF ? value : value * (hex ? 16 : 10) + static_cast<unsigned>(digit);
  }
  if (i == digitsStart) return std::nullopt;  // "&#" or "&#x" with no digits is text
  if (i < text.size() && text[i] == ';') ++i;
  char32_t c = static_cast<char32_t>(value);
  if (value == 0 || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
    c = 0xFFFD;
  } else if (value >= 0x80 && value <= 0x9F && kC1Replacements[value - 0x80] != 0) {
    c = kC1Replacements[value - 0x80];
  }
  CharacterReference reference{{}, i + 1};
  AppendUtf8(reference.utf8, c);
  return reference;
}

}  // namespace

void AppendUtf8(std::string& out, char32_t c) {
  kelcore::UTF16String units;
  kelcore::string::AppendCodePoint(units, c);
  out += kelcore::string::UTF16ToUTF8(units);
}

std::optional<CharacterReference> ConsumeCharacterReference(std::string_view text, char additionalAllowed) {
  if (text.empty()) return std::nullopt;
  const char next = text[0];
  if (next == '\t' || next == '\n' || next == '\f' || next == ' ' || next == '<' || next == '&' ||
      (additionalAllowed != 0 && next == additionalAllowed)) {
    return std::nullopt;
  }
  if (next == '#') return Numeric(text.substr(1));
  const std::optional<NamedReferenceMatch> match = LongestNamedReference(text);
  if (!match) return std::nullopt;
  const bool withSemicolon = text[match->length - 1] == ';';
  if (additionalAllowed != 0 && !withSemicolon && match->length < text.size() &&
      (text[match->length] == '=' || IsAsciiAlphanumeric(text[match->length]))) {
    return std::nullopt;
  }
  CharacterReference reference{{}, match->length};
  AppendUtf8(reference.utf8, match->first);
  if (match->second) AppendUtf8(reference.utf8, match->second);
  return reference;
}

}  // namespace kelcaptionfiles
