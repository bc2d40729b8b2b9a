#pragma once

#include <cstdint>

namespace kelcaptionfiles {

// The digital-TV (CEA-708) caption character sets as Unicode code points.

// What a G2 or G3 code stands for: a character, a transparent space (a cell left empty, through
// which the window shows), or nothing the set defines.
struct DtvccCharacter {
  enum class Kind : std::uint8_t { Character, TransparentSpace, Undefined };
  Kind kind = Kind::Undefined;
  char32_t character = 0;
};

// G0 (0x20 to 0x7F): ASCII, with the music note at 0x7F.
char32_t DtvccG0Character(std::uint8_t code) noexcept;
// G1 (0xA0 to 0xFF): Latin-1.
char32_t DtvccG1Character(std::uint8_t code) noexcept;
// G2 (0x20 to 0x7F after EXT1): transparent spaces, typographic quotes, the ellipsis, the
// fractions and box-drawing characters; the rest of the set is undefined.
DtvccCharacter DtvccG2Character(std::uint8_t code) noexcept;
// G3 (0xA0 to 0xFF after EXT1): the closed-caption sign at 0xA0 (the model's U+263A); the rest
// of the set is undefined.
DtvccCharacter DtvccG3Character(std::uint8_t code) noexcept;

}  // namespace kelcaptionfiles
