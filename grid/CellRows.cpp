#include "grid/CellRows.h"

namespace kelcaptioningui {

// Cell text is not drawn or measured yet: the grid drawing lands in a later step, so these draw
// nothing and report no rectangles.

void DrawCellRow(const kelcaptioning::CaptioningRenderableModelRowPtr& /*row*/, kelui::inkpad::Inkpad* /*inkpad*/,
                 const kelcore::RectT<float>& /*windowRect*/, const kelcore::RectT<float>& /*cellSizeRect*/,
                 int /*rowIndex*/, CaptionRectList& /*rowExtents*/) {}

void CollectCellRowRects(const kelcaptioning::CaptioningRenderableModelWindowPtr& /*window*/,
                         kelui::inkpad::Inkpad* /*inkpad*/, const kelcore::RectT<float>& /*windowRect*/,
                         const kelcore::RectT<float>& /*cellSizeRect*/, CaptionRectList& /*rects*/) {}

}  // namespace kelcaptioningui
