#include "captionfiles/Line21Characters.h"

#include <initializer_list>

namespace kelcaptionfiles {

char32_t Line21StandardCharacter(std::uint8_t byte) noexcept {
  switch (byte) {
    case 0x2A: return U'\u00E1';  // á
    case 0x5C: return U'\u00E9';  // é
    case 0x5E: return U'\u00ED';  // í
    case 0x5F: return U'\u00F3';  // ó
    case 0x60: return U'\u00FA';  // ú
    case 0x7B: return U'\u00E7';  // ç
    case 0x7C: return U'\u00F7';  // ÷
    case 0x7D: return U'\u00D1';  // Ñ
    case 0x7E: return U'\u00F1';  // ñ
    case 0x7F: return U'\u2588';  // solid block
    default: return byte >= 0x20 && byte <= 0x7F ? char32_t{byte} : 0;
  }
}

char32_t Line21SpecialCharacter(std::uint8_t second) noexcept {
  static constexpr char32_t kSpecial[16] = {U'\u00AE', U'\u00B0', U'\u00BD', U'\u00BF', U'\u2122', U'\u00A2',
                                            U'\u00A3', U'\u266A', U'\u00E0', 0,         U'\u00E8', U'\u00E2',
                                            U'\u00EA', U'\u00EE', U'\u00F4', U'\u00FB'};
  return second >= 0x30 && second <= 0x3F ? kSpecial[second - 0x30] : 0;
}

char32_t Line21ExtendedCharacter(std::uint8_t first, std::uint8_t second) noexcept {
  // Spanish, miscellaneous and French (first byte 0x12).
  static constexpr char32_t kFirst[32] = {U'\u00C1', U'\u00C9', U'\u00D3', U'\u00DA', U'\u00DC', U'\u00FC', U'\u2018',
                                          U'\u00A1', U'*',      U'\u2019', U'\u2014', U'\u00A9', U'\u2120', U'\u2022',
                                          U'\u201C', U'\u201D', U'\u00C0', U'\u00C2', U'\u00C7', U'\u00C8', U'\u00CA',
                                          U'\u00CB', U'\u00EB', U'\u00CE', U'\u00CF', U'\u00EF', U'\u00D4', U'\u00D9',
                                          U'\u00F9', U'\u00DB', U'\u00AB', U'\u00BB'};
  // Portuguese, German and Danish (first byte 0x13).
  static constexpr char32_t kSecond[32] = {U'\u00C3', U'\u00E3', U'\u00CD', U'\u00CC', U'\u00EC', U'\u00D2', U'\u00F2',
                                           U'\u00D5', U'\u00F5', U'{',      U'}',      U'\\',     U'^',      U'_',
                                           U'|',      U'~',      U'\u00C4', U'\u00E4', U'\u00D6', U'\u00F6', U'\u00DF',
                                           U'\u00A5', U'\u00A4', U'\u2502', U'\u00C5', U'\u00E5', U'\u00D8', U'\u00F8',
                                           U'\u250C', U'\u2510', U'\u2514', U'\u2518'};
  if (second < 0x20 || second > 0x3F) return 0;
  if (first == 0x12) return kFirst[second - 0x20];
  if (first == 0x13) return kSecond[second - 0x20];
  return 0;
}

}  // namespace kelcaptionfiles

namespace kelcaptionfiles {

Line21Code Line21CodeOf(char32_t character) noexcept {
  using Kind = Line21Code::Kind;
  if (character == 0) return {};
  for (std::uint8_t byte = 0x20; byte < 0x80; ++byte) {
    if (Line21StandardCharacter(byte) == character) return {Kind::kStandard, byte, 0, 0};
  }
  for (std::uint8_t second = 0x30; second < 0x40; ++second) {
    if (Line21SpecialCharacter(second) == character) return {Kind::kSpecial, 0x11, second, 0};
  }
  // Stand-ins from the standard set (which has no '*', '\\', '^', '_', '`', '{', '|', '}', '~').
  static constexpr char kFirstStandIns[] = "AEOUUu'!.'-cS.\"\"AACEEEeIIiOUuU\"\"";
  static constexpr char kSecondStandIns[] = "AaIIiOoOo()/'-!-AaOosYo!AaOo++++";
  for (std::uint8_t first : {std::uint8_t{0x12}, std::uint8_t{0x13}}) {
    for (std::uint8_t second = 0x20; second < 0x40; ++second) {
      if (Line21ExtendedCharacter(first, second) == character) {
        const char* standIns = first == 0x12 ? kFirstStandIns : kSecondStandIns;
        return {Kind::kExtended, first, second, static_cast<std::uint8_t>(standIns[second - 0x20])};
      }
    }
  }
  return {};
}

}  // namespace kelcaptionfiles
