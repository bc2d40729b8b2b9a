#pragma once

// The character code tables of EBU STL text fields, chosen by the header's character code table
// field: "00" the teletext Latin set of ISO 6937 (with non-spacing accents that prefix their
// letter), "01" to "04" the Latin/Cyrillic, Arabic, Greek and Hebrew sets of ISO 8859-5 to -8.

#include <optional>
#include <string>

namespace kelcaptionfiles::stl {

enum class CharacterTable { kLatin, kCyrillic, kArabic, kGreek, kHebrew };

// The character at `byte` (0x20 to 0x7F or 0xA0 to 0xFF), or nothing where the table defines
// none. The Latin table's accents (0xC1 to 0xCF) are not characters of their own: see AccentOf.
std::optional<char32_t> CharacterOf(CharacterTable table, unsigned char byte);

// The Unicode combining mark of a Latin accent byte, which applies to the letter after it; 0 for
// any other byte or table.
char32_t AccentOf(CharacterTable table, unsigned char byte);

// `base` with combining `mark` as one precomposed letter, or 0 when Unicode has none. Acute on
// g gives U+0123 (g with cedilla), which the Latin table writes that way; on a space the accent
// stands alone, in its spacing form.
char32_t Compose(char32_t base, char32_t mark);

// The bytes of `c` in the Latin table: one byte, or an accent byte and its letter; empty when the
// table cannot write it.
std::string LatinBytesOf(char32_t c);

}  // namespace kelcaptionfiles::stl
