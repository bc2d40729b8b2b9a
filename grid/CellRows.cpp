#include "grid/CellRows.h"

#include "grid/Cell.h"
#include "grid/CellBackgrounds.h"

namespace kelcaptioningui {

void DrawCellRow(const kelcaptioning::CaptioningRenderableModelRowPtr& row, kelui::inkpad::Inkpad* inkpad,
                 const kelcore::RectT<float>& windowRect, const kelcore::RectT<float>& cellSizeRect, int rowIndex,
                 CaptionRectList& rowExtents) {
  if (!row) return;
  const kelcaptioning::CellList cells = row->GetCells();
  kelcore::RectT<float> extent{};
  for (std::size_t c = 0; c < cells.size(); ++c) {
    if (!cells[c]) continue;
    const int rowsUsed = cells[c]->GetTextAttributes().GetRowsUsed();
    DrawCell(*cells[c], inkpad, CellBox(rowIndex, static_cast<int>(c), rowsUsed, windowRect, cellSizeRect), extent);
  }
  // Appended even when nothing showed: then it is all zero.
  rowExtents.push_back(extent);
}

void CollectCellRowRects(const kelcaptioning::CaptioningRenderableModelWindowPtr& window,
                         kelui::inkpad::Inkpad* inkpad, const kelcore::RectT<float>& windowRect,
                         const kelcore::RectT<float>& cellSizeRect, CaptionRectList& rects) {
  if (!window) return;
  const kelcaptioning::RowList rows = window->GetRows();
  DrawCellBackgrounds(rows, inkpad, windowRect, cellSizeRect);
  for (std::size_t r = 0; r < rows.size(); ++r) {
    if (rows[r]) DrawCellRow(rows[r], inkpad, windowRect, cellSizeRect, static_cast<int>(r), rects);
  }
}

}  // namespace kelcaptioningui
