#pragma once

#include <cstdint>

namespace kelcaptionfiles {

// The line-21 character sets as Unicode code points. Bytes are given without their parity bit.

// A standard character 0x20 to 0x7F; 0 for a byte outside that range. Most are ASCII; ten
// positions hold accented letters, the division sign and a solid block instead.
char32_t Line21StandardCharacter(std::uint8_t byte) noexcept;
// A special character (second byte 0x30 to 0x3F after 0x11): the music note, the registered sign,
// accented vowels, ... 0x39 is the transparent space, returned as 0.
char32_t Line21SpecialCharacter(std::uint8_t second) noexcept;
// An extended character (first byte 0x12 or 0x13, second 0x20 to 0x3F): the Spanish, French,
// Portuguese, German and Danish letters, quotation marks and box corners. 0 outside the set.
char32_t Line21ExtendedCharacter(std::uint8_t first, std::uint8_t second) noexcept;

}  // namespace kelcaptionfiles
