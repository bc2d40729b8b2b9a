#pragma once

#include "kelcaptioning/TextAttributes.h"
#include "kelcore/Geometry.h"
#include "kelui/inkpad/Handles.h"

namespace kelcaptioningui {

struct CellFont {
  kelui::inkpad::FontP font;
  float size = 0.0f;  // the size asked for
};

// The face of a generic family: "Arial" for 0, 4, 7 and unknown values.
const char* CellFaceName(kelcaptioning::GenericFontFamilyID family);

// The size class whose text height is nearest `relativeToStandard` times the standard class's.
kelcaptioning::TextSize NearestTextSize(float relativeToStandard);

// The font of a cell: its family's face, "Italic" or no style, and a size from the cell box's
// height by the size and offset classes, never below 1.3. Empty with no supplier.
CellFont CreateCellFont(const kelcaptioning::TextAttributes& attributes, const kelcore::RectT<float>& cellBox,
                        kelui::inkpad::SupplierInterface* supplier);

}  // namespace kelcaptioningui
