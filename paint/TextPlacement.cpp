#include "paint/TextPlacement.h"

#include "kelui/FontBaseline.h"
#include "kelui/ui/NodeManager.h"

namespace kelcaptioningui {

namespace {
constexpr float kOffsetShift = 0.5717553f;
}  // namespace

float OffsetShift(kelcaptioning::TextOffset offset, float ascent, float descent) {
  switch (static_cast<int>(offset)) {
    case 0: return -kOffsetShift * (ascent + descent);
    case 2: return kOffsetShift * (ascent + descent);
    default: return 0.0f;
  }
}

float CentredBaseline(const kelui::inkpad::FontP& font, const kelcore::RectT<float>& box, float ascent, float descent) {
  if (kelui::ui::UI_NodeManager::Get(true) != nullptr) return kelui::GetFontBaseline(font, box);
  return box.y + (box.height - (ascent + descent)) * 0.5f + ascent;
}

}  // namespace kelcaptioningui
