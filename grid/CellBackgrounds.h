#pragma once

#include "kelcaptioning/RenderableModel.h"
#include "kelcore/Geometry.h"
#include "kelui/inkpad/Inkpad.h"

namespace kelcaptioningui {

// Paints the background colours of all cells of a grid window in one pass, before any text. With no
// Inkpad it does nothing.
void DrawCellBackgrounds(const kelcaptioning::RowList& rows, kelui::inkpad::Inkpad* inkpad,
                         const kelcore::RectT<float>& windowRect, const kelcore::RectT<float>& cellSizeRect);

}  // namespace kelcaptioningui
