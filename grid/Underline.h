#pragma once

#include "kelcore/Geometry.h"
#include "kelui/inkpad/Inkpad.h"
#include "kelui/inkpad/Objects.h"

namespace kelcaptioningui {

// A 1-unit line 3 units below `anchor`'s baseline across the whole of `textRect` (its left and
// width only), stroked at render mode 0; the render mode is put back. Used for cells and spans.
void DrawUnderline(kelui::inkpad::Inkpad* inkpad, const kelcore::RectT<float>& textRect,
                   const kelcore::PointT<float>& anchor, const kelui::inkpad::Color& color);

}  // namespace kelcaptioningui
