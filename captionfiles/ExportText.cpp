#include "captionfiles/ExportText.h"

#include <cmath>
#include <cstdio>

#include "captionfiles/HtmlCharacterReferences.h"

namespace kelcaptionfiles {

using namespace kelcaptioning;

std::string Utf8Of(std::u32string_view text) {
  std::string out;
  for (char32_t c : text) AppendUtf8(out, c);
  return out;
}

std::string EscapedMarkup(std::u32string_view text) {
  std::string out;
  for (char c : Utf8Of(text)) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      default: out += c;
    }
  }
  return out;
}

const char* AlignmentName(ParagraphStyleAttributes::TextAlignmentType alignment) {
  switch (alignment) {
    case ParagraphStyleAttributes::kTextAlignment_Left: return "left";
    case ParagraphStyleAttributes::kTextAlignment_Right: return "right";
    case ParagraphStyleAttributes::kTextAlignment_Center: break;
  }
  return "center";
}

std::string HexColorText(const CaptioningColor& color) {
  const auto level = [](float v) { return static_cast<int>(std::lround(v * 255.0f)); };
  char text[8];
  std::snprintf(text, sizeof text, "#%02x%02x%02x", level(color.Red()), level(color.Green()), level(color.Blue()));
  return text;
}

std::size_t NearestColor(const CaptioningColor& color, std::span<const CaptioningColor> palette, bool& exact) {
  std::size_t best = 0;
  float bestDistance = 1e9f;
  for (std::size_t i = 0; i < palette.size(); ++i) {
    const float r = color.Red() - palette[i].Red(), g = color.Green() - palette[i].Green(),
                b = color.Blue() - palette[i].Blue();
    const float distance = r * r + g * g + b * b;
    if (distance < bestDistance) best = i, bestDistance = distance;
  }
  exact = bestDistance < 1e-6f;
  return best;
}

}  // namespace kelcaptionfiles
