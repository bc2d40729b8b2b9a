#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "kelcore/Allocators.h"
#include "kelcore/Export.h"

namespace kelcore {

// The family's wide string: UTF-16 code units.
using UTF16String = std::basic_string<char16_t, std::char_traits<char16_t>, SmallBlockAllocator<char16_t>>;

namespace string {

// Widens ASCII bytes one to one; a byte above 0x7F is not ASCII and becomes U+FFFD.
KELCORE_API UTF16String AsciiToUTF16(const char* text, std::size_t length);
KELCORE_API UTF16String AsciiToUTF16(std::string_view text);

// Malformed sequences (bad bytes, lone surrogates) become U+FFFD; nothing is dropped silently.
KELCORE_API UTF16String UTF8ToUTF16(std::string_view text);
KELCORE_API std::string UTF16ToUTF8(std::u16string_view text);
inline std::string UTF16ToUTF8(const UTF16String& text) { return UTF16ToUTF8(std::u16string_view(text)); }

// Appends one code point; one that Unicode cannot encode (a surrogate, or above U+10FFFF) is
// appended as U+FFFD.
KELCORE_API void AppendCodePoint(UTF16String& text, char32_t codePoint);

// Replaces each marker @0 to @9 in `pattern` with the replacement of that number. An '@' that is
// not followed by a digit stays as it is; replacements are not searched for markers again.
KELCORE_API UTF16String ReplaceInString(const UTF16String& pattern, const std::array<UTF16String, 10>& replacements);
KELCORE_API UTF16String ReplaceInString(const UTF16String& pattern, const UTF16String& r0 = {},
                                        const UTF16String& r1 = {}, const UTF16String& r2 = {},
                                        const UTF16String& r3 = {}, const UTF16String& r4 = {},
                                        const UTF16String& r5 = {}, const UTF16String& r6 = {},
                                        const UTF16String& r7 = {}, const UTF16String& r8 = {},
                                        const UTF16String& r9 = {});

}  // namespace string

}  // namespace kelcore
