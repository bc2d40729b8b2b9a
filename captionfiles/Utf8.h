#pragma once

// UTF-8 as the text readers take it: checked, and repaired the way browsers decode it.

#include <cstddef>
#include <string>
#include <string_view>

namespace kelcaptionfiles {

// The byte offset of the first malformed UTF-8 sequence, or npos.
std::size_t FirstInvalidUtf8(std::string_view s);

struct RepairedUtf8 {
  std::string text;
  std::size_t invalid = 0;                   // malformed sequences, each now U+FFFD
  std::size_t first = std::string_view::npos;  // the byte offset of the first one in the input
};
// `s` with each malformed sequence replaced by U+FFFD.
RepairedUtf8 RepairUtf8(std::string_view s);

// Whether text[at] and text[at + 1] are a high and a low surrogate: one code point in two UTF-16 units.
inline bool IsSurrogatePairAt(std::u16string_view text, std::size_t at) {
  return at + 1 < text.size() && text[at] >= 0xD800 && text[at] <= 0xDBFF && text[at + 1] >= 0xDC00 &&
         text[at + 1] <= 0xDFFF;
}

}  // namespace kelcaptionfiles
