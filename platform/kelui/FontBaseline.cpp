#include "kelui/FontBaseline.h"

namespace kelui {

float GetFontBaseline(const inkpad::FontP& font, const kelcore::RectT<float>& rect) {
  if (!font) return rect.y + rect.height * 0.5f;
  const float ascent = font->GetAscent();
  const float descent = font->GetDescent();
  return rect.y + (rect.height - (ascent + descent)) * 0.5f + ascent;
}

}  // namespace kelui
