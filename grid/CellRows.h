#pragma once

#include "kelcaptioning/RenderableModel.h"
#include "kelcaptioningui/KelCaptioningUI.h"
#include "kelcore/Geometry.h"
#include "kelui/inkpad/Inkpad.h"

namespace kelcaptioningui {

// Draws the characters of one grid row (`rowIndex` counts every entry of the window's row list) and
// appends the row's extent to `rowExtents`. With no Inkpad it only measures.
void DrawCellRow(const kelcaptioning::CaptioningRenderableModelRowPtr& row, kelui::inkpad::Inkpad* inkpad,
                 const kelcore::RectT<float>& windowRect, const kelcore::RectT<float>& cellSizeRect, int rowIndex,
                 CaptionRectList& rowExtents);

// Appends one row extent per non-null row of a grid window.
void CollectCellRowRects(const kelcaptioning::CaptioningRenderableModelWindowPtr& window,
                         kelui::inkpad::Inkpad* inkpad, const kelcore::RectT<float>& windowRect,
                         const kelcore::RectT<float>& cellSizeRect, CaptionRectList& rects);

}  // namespace kelcaptioningui
