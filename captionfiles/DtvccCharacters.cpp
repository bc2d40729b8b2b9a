#include "captionfiles/DtvccCharacters.h"

#include "kelcaptioning/RenderableModel.h"

namespace kelcaptionfiles {

namespace {

constexpr DtvccCharacter Shown(char32_t c) { return {DtvccCharacter::Kind::Character, c}; }

}  // namespace

char32_t DtvccG0Character(std::uint8_t code) noexcept {
  if (code == 0x7F) return U'\u266A';
  return code >= 0x20 && code < 0x7F ? char32_t{code} : 0;
}

char32_t DtvccG1Character(std::uint8_t code) noexcept { return code >= 0xA0 ? char32_t{code} : 0; }

DtvccCharacter DtvccG2Character(std::uint8_t code) noexcept {
  switch (code) {
    case 0x20:
    case 0x21: return {DtvccCharacter::Kind::TransparentSpace, 0};
    case 0x25: return Shown(U'\u2026');
    case 0x2A: return Shown(U'\u0160');
    case 0x2C: return Shown(U'\u0152');
    case 0x30: return Shown(U'\u2588');
    case 0x31: return Shown(U'\u2018');
    case 0x32: return Shown(U'\u2019');
    case 0x33: return Shown(U'\u201C');
    case 0x34: return Shown(U'\u201D');
    case 0x35: return Shown(U'\u2022');
    case 0x39: return Shown(U'\u2122');
    case 0x3A: return Shown(U'\u0161');
    case 0x3C: return Shown(U'\u0153');
    case 0x3D: return Shown(U'\u2120');
    case 0x3F: return Shown(U'\u0178');
    case 0x76: return Shown(U'\u215B');
    case 0x77: return Shown(U'\u215C');
    case 0x78: return Shown(U'\u215D');
    case 0x79: return Shown(U'\u215E');
    case 0x7A: return Shown(U'\u2502');
    case 0x7B: return Shown(U'\u2510');
    case 0x7C: return Shown(U'\u2514');
    case 0x7D: return Shown(U'\u2500');
    case 0x7E: return Shown(U'\u2518');
    case 0x7F: return Shown(U'\u250C');
    default: return {};
  }
}

DtvccCharacter DtvccG3Character(std::uint8_t code) noexcept {
  if (code == 0xA0) return Shown(kelcaptioning::kCaptionSymbolCharacter);
  return {};
}

}  // namespace kelcaptionfiles
