#pragma once

#include "kelcaptioning/RenderableModel.h"
#include "kelcore/Geometry.h"
#include "kelui/inkpad/Inkpad.h"

namespace kelcaptioningui {

// Paints the background bands of all spans of all rows, grouped by colour: each span's band
// has the row's full line height, and the row's first and last spans also carry its left and
// right insets.
void DrawSpanBackgrounds(const kelcaptioning::OpenRowMap& rows, kelui::inkpad::Inkpad* inkpad,
                         const kelcore::RectT<float>& windowRect, const kelcore::RectT<int>& drawArea);

}  // namespace kelcaptioningui
