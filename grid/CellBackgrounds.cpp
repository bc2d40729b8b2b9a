#include "grid/CellBackgrounds.h"

#include "paint/BackgroundRuns.h"
#include "paint/Rounding.h"

namespace kelcaptioningui {

namespace {

// Snapped so that neighbouring cells meet on a shared pixel edge: the left and top edges round
// in double precision, the right and bottom ones in single.
kelcore::RectT<int> SnappedCellRect(int row, int column, int rowsUsed, const kelcore::RectT<float>& windowRect,
                                    const kelcore::RectT<float>& cellSizeRect) {
  const float x = static_cast<float>(column) * cellSizeRect.width + windowRect.x;
  const float y = static_cast<float>(row) * cellSizeRect.height + windowRect.y;
  const int left = TruncToInt(static_cast<double>(x) + 0.5);
  const int top = TruncToInt(static_cast<double>(y) + 0.5);
  const int right = TruncToInt(x + cellSizeRect.width + 0.5f);
  const int bottom = TruncToInt(y + static_cast<float>(rowsUsed) * cellSizeRect.height + 0.5f);
  return RectFromEdges(left, top, right, bottom);
}

}  // namespace

void DrawCellBackgrounds(const kelcaptioning::RowList& rows, kelui::inkpad::Inkpad* inkpad,
                         const kelcore::RectT<float>& windowRect, const kelcore::RectT<float>& cellSizeRect) {
  if (inkpad == nullptr) return;
  BackgroundRuns runs;
  for (std::size_t r = 0; r < rows.size(); ++r) {
    if (!rows[r]) continue;
    const kelcaptioning::CellList cells = rows[r]->GetCells();
    for (std::size_t c = 0; c < cells.size(); ++c) {
      if (!cells[c]) continue;
      const kelcaptioning::TextAttributes attributes = cells[c]->GetTextAttributes();
      // Transparent colours are gathered too; the fill skips them.
      runs.ListFor(attributes.GetBackgroundColor())
          .push_back(SnappedCellRect(static_cast<int>(r), static_cast<int>(c), attributes.GetRowsUsed(), windowRect,
                                     cellSizeRect));
    }
  }
  runs.Fill(*inkpad);
}

}  // namespace kelcaptioningui
