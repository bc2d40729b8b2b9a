#include "kelcore/String.h"

namespace kelcore::string {

namespace {

constexpr char16_t kReplacementCharacter = u'\uFFFD';

bool IsSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDFFF; }

}  // namespace

UTF16String AsciiToUTF16(const char* text, std::size_t length) {
  UTF16String wide;
  if (text == nullptr) return wide;
  wide.reserve(length);
  for (std::size_t i = 0; i < length; ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    wide.push_back(byte < 0x80 ? static_cast<char16_t>(byte) : kReplacementCharacter);
  }
  return wide;
}

UTF16String AsciiToUTF16(std::string_view text) { return AsciiToUTF16(text.data(), text.size()); }

void AppendCodePoint(UTF16String& text, char32_t codePoint) {
  if (IsSurrogate(codePoint) || codePoint > 0x10FFFF) {
    text.push_back(kReplacementCharacter);
  } else if (codePoint < 0x10000) {
    text.push_back(static_cast<char16_t>(codePoint));
  } else {
    const char32_t offset = codePoint - 0x10000;
    text.push_back(static_cast<char16_t>(0xD800 + (offset >> 10)));
    text.push_back(static_cast<char16_t>(0xDC00 + (offset & 0x3FF)));
  }
}

UTF16String UTF8ToUTF16(std::string_view text) {
  UTF16String wide;
  wide.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t length = 0;
    char32_t codePoint = 0;
    char32_t smallest = 0;
    if (lead < 0x80) {
      wide.push_back(lead);
      ++i;
      continue;
    } else if ((lead & 0xE0) == 0xC0) {
      length = 2, codePoint = lead & 0x1F, smallest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
      length = 3, codePoint = lead & 0x0F, smallest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
      length = 4, codePoint = lead & 0x07, smallest = 0x10000;
    } else {
      wide.push_back(kReplacementCharacter);
      ++i;
      continue;
    }
    std::size_t taken = 1;
    while (taken < length && i + taken < text.size() &&
           (static_cast<unsigned char>(text[i + taken]) & 0xC0) == 0x80) {
      codePoint = (codePoint << 6) | (static_cast<unsigned char>(text[i + taken]) & 0x3F);
      ++taken;
    }
    // A cut-short, overlong or surrogate sequence is one replacement for what was read.
    if (taken < length || codePoint < smallest || IsSurrogate(codePoint) || codePoint > 0x10FFFF) {
      wide.push_back(kReplacementCharacter);
    } else {
      AppendCodePoint(wide, codePoint);
    }
    i += taken;
  }
  return wide;
}

std::string UTF16ToUTF8(std::u16string_view text) {
  std::string narrow;
  narrow.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (IsSurrogate(c)) {
      c = kReplacementCharacter;
    }
    if (c < 0x80) {
      narrow.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
      narrow.push_back(static_cast<char>(0xC0 | (c >> 6)));
      narrow.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
      narrow.push_back(static_cast<char>(0xE0 | (c >> 12)));
      narrow.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      narrow.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
      narrow.push_back(static_cast<char>(0xF0 | (c >> 18)));
      narrow.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
      narrow.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      narrow.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return narrow;
}

UTF16String ReplaceInString(const UTF16String& pattern, const std::array<UTF16String, 10>& replacements) {
  UTF16String result;
  result.reserve(pattern.size());
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == u'@' && i + 1 < pattern.size() && pattern[i + 1] >= u'0' && pattern[i + 1] <= u'9') {
      result += replacements[static_cast<std::size_t>(pattern[i + 1] - u'0')];
      ++i;
    } else {
      result.push_back(pattern[i]);
    }
  }
  return result;
}

UTF16String ReplaceInString(const UTF16String& pattern, const UTF16String& r0, const UTF16String& r1,
                            const UTF16String& r2, const UTF16String& r3, const UTF16String& r4,
                            const UTF16String& r5, const UTF16String& r6, const UTF16String& r7,
                            const UTF16String& r8, const UTF16String& r9) {
  return ReplaceInString(pattern, std::array<UTF16String, 10>{r0, r1, r2, r3, r4, r5, r6, r7, r8, r9});
}

}  // namespace kelcore::string
