#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace kelcaptionfiles {

struct NamedReferenceMatch {
  std::size_t length;  // the bytes of the name matched, ';' included when it has one
  char32_t first;
  char32_t second;     // 0 when the reference stands for one code point
};

// The longest HTML named character reference that `text` starts with (the text after the '&'):
// "amp;" in "amp;x", "not" in "notit;", nothing in "xyz".
std::optional<NamedReferenceMatch> LongestNamedReference(std::string_view text);

}  // namespace kelcaptionfiles
