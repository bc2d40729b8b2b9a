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

namespace kelcaptionfiles {

// How a character is sent on line 21: as a standard character byte, or as a special or extended
// character code (first byte 0x11, 0x12 or 0x13 on channel 1, then the second byte). An extended
// character follows a standard stand-in that decoders without the extended set show instead.
struct Line21Code {
  enum class Kind : std::uint8_t { kNone, kStandard, kSpecial, kExtended };
  Kind kind = Kind::kNone;
  std::uint8_t first = 0;    // the standard byte, or the code's first byte
  std::uint8_t second = 0;   // the code's second byte
  std::uint8_t standIn = 0;  // extended characters: the standard byte sent before the code
};
// kNone for a character that none of the sets has.
Line21Code Line21CodeOf(char32_t character) noexcept;

}  // namespace kelcaptionfiles
