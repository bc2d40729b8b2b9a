#include "kelcaptionfiles/HexColor.h"

#include <cstdint>

namespace kelcaptionfiles {

std::optional<kelcaptioning::CaptioningColor> ParseHexColor(std::string_view text, bool allowAlpha) {
  if (text.empty() || text[0] != '#' || (text.size() != 7 && !(allowAlpha && text.size() == 9))) return std::nullopt;
  std::uint32_t value = 0;
  for (char c : text.substr(1)) {
    int digit = -1;
    if (c >= '0' && c <= '9') digit = c - '0';
    if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    if (digit < 0) return std::nullopt;
    value = value * 16 + static_cast<std::uint32_t>(digit);
  }
  if (text.size() == 7) value = (value << 8) | 0xFF;
  const auto channel = [value](int shift) { return static_cast<float>((value >> shift) & 0xFF) / 255.0f; };
  return kelcaptioning::CaptioningColor(channel(24), channel(16), channel(8), channel(0));
}

}  // namespace kelcaptionfiles
