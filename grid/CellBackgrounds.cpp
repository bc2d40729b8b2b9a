#include "grid/CellBackgrounds.h"

namespace kelcaptioningui {

// Cell backgrounds are not painted yet: the grid drawing lands in a later step.
void DrawCellBackgrounds(const kelcaptioning::RowList& /*rows*/, kelui::inkpad::Inkpad* /*inkpad*/,
                         const kelcore::RectT<float>& /*windowRect*/, const kelcore::RectT<float>& /*cellSizeRect*/) {}

}  // namespace kelcaptioningui
