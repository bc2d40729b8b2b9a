#include "grid/CellFont.h"

#include <algorithm>
#include <cmath>

#include "kelcore/String.h"

namespace kelcaptioningui {

namespace {

constexpr float kSmallestCellFont = 1.3f;
// Super- and subscript text is drawn smaller as well as moved off the baseline.
constexpr float kOffsetSizeFactor = 0.583f;

float SizeFactor(kelcaptioning::TextSize size) {
  switch (static_cast<int>(size)) {
    case 0: return 0.5f;
    case 1: return 0.6f;
    case 2: return 0.7f;
    default: return 1.0f;
  }
}

float OffsetSizeFactor(kelcaptioning::TextOffset offset) {
  const int value = static_cast<int>(offset);
  return value == 0 || value == 2 ? kOffsetSizeFactor : 1.0f;
}

}  // namespace

kelcaptioning::TextSize NearestTextSize(float relativeToStandard) {
  using kelcaptioning::TextSize;
  const float wanted = relativeToStandard * SizeFactor(kelcaptioning::kTextSize_Standard);
  TextSize nearest = kelcaptioning::kTextSize_Standard;
  for (const TextSize size : {kelcaptioning::kTextSize_Small, kelcaptioning::kTextSize_Large}) {
    if (std::abs(SizeFactor(size) - wanted) < std::abs(SizeFactor(nearest) - wanted)) nearest = size;
  }
  return nearest;
}

const char* CellFaceName(kelcaptioning::GenericFontFamilyID family) {
  switch (static_cast<int>(family)) {
    case 1: return "Courier New";
    case 2: return "Times New Roman";
    case 3: return "Lucida Console";
    case 5: return "Comic Sans MS";
    case 6: return "Segoe Script";
    default: return "Arial";
  }
}

CellFont CreateCellFont(const kelcaptioning::TextAttributes& attributes, const kelcore::RectT<float>& cellBox,
                        kelui::inkpad::SupplierInterface* supplier) {
  const kelcore::UTF16String face = kelcore::string::AsciiToUTF16(CellFaceName(attributes.GetGenericFontFamilyID()));
  const kelcore::UTF16String style = kelcore::string::AsciiToUTF16(attributes.IsItalic() ? "Italic" : "");
  float size = cellBox.height * SizeFactor(attributes.GetTextSize()) * OffsetSizeFactor(attributes.GetTextOffset());
  size = std::max(kSmallestCellFont, size);
  return {kelui::inkpad::FontP(supplier, face, style, size), size};
}

}  // namespace kelcaptioningui
