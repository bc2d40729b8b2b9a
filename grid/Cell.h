#pragma once

#include "kelcaptioning/RenderableModel.h"
#include "kelcore/Geometry.h"
#include "kelui/inkpad/Inkpad.h"

namespace kelcaptioningui {

// The box of the cell at (row, column), reaching down over the `rowsUsed` rows it covers.
kelcore::RectT<float> CellBox(int row, int column, int rowsUsed, const kelcore::RectT<float>& windowRect,
                              const kelcore::RectT<float>& cellSizeRect);

// Grows `rowExtent` by `cellBox` when the cell shows any colour, then (with an Inkpad and a
// visible foreground) draws the cell's character: its edge copies, the character, underlines,
// or the caption symbol for U+263A.
void DrawCell(const kelcaptioning::CaptioningRenderableModelCell& cell, kelui::inkpad::Inkpad* inkpad,
              const kelcore::RectT<float>& cellBox, kelcore::RectT<float>& rowExtent);

}  // namespace kelcaptioningui
