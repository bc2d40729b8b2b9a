#include "render/ModelCopy.h"

#include <vector>

namespace kelcaptioningui {

namespace {

using namespace kelcaptioning;

CaptioningRenderableModelRowPtr CopyRow(const CaptioningRenderableModelRow& row) {
  CellList cells = row.GetCells();
  for (CaptioningRenderableModelCellPtr& cell : cells) {
    if (cell) cell = new CaptioningRenderableModelCell(cell->GetCharacter(), cell->GetTextAttributes());
  }
  CaptioningRenderableModelRowPtr copy(new CaptioningRenderableModelRow());
  copy->SetCells(std::move(cells));
  return copy;
}

CaptioningRenderableOpenSpanPtr CopySpan(const CaptioningRenderableOpenSpan& span) {
  CaptioningRenderableOpenSpanPtr copy(new CaptioningRenderableOpenSpan());
  copy->SetText(span.GetText());
  copy->SetTextSpanAttributes(span.GetTextSpanAttributes());
  copy->SetHorizontalStart(span.GetHorizontalStart());
  copy->SetVerticalStart(span.GetVerticalStart());
  copy->SetTextWidth(span.GetTextWidth());
  copy->SetTextHeight(span.GetTextHeight(true), span.GetTextHeight(false));
  return copy;
}

CaptioningRenderableOpenRowPtr CopyOpenRow(const CaptioningRenderableOpenRow& row) {
  CaptioningRenderableOpenRowPtr copy(new CaptioningRenderableOpenRow());
  OpenSpanMap spans;
  row.GetOpenSpans(spans);
  for (const auto& [key, span] : spans) copy->SetOpenSpan(key, span ? CopySpan(*span) : nullptr);
  copy->SetHorizontalStart(row.GetHorizontalStart());
  copy->SetVerticalStart(row.GetVerticalStart());
  copy->SetLineHeight(row.GetLineHeight());
  copy->SetHorizontalTextOffset(row.GetHorizontalTextOffset());
  copy->SetRowWidth(row.GetRowWidth());
  return copy;
}

CaptioningRenderableModelWindowPtr CopyWindow(const CaptioningRenderableModelWindow& window) {
  CaptioningRenderableModelWindowPtr copy(new CaptioningRenderableModelWindow());
  copy->SetVisible(window.GetVisible());
  copy->SetFillColor(window.GetFillColor());
  copy->SetCaptionsAreaRatio(window.GetCaptionsAreaRatio());
  copy->SetAnchorID(window.GetAnchorID());
  copy->SetRowCount(window.GetRowCount());
  copy->SetColumnCount(window.GetColumnCount());
  copy->SetCaptionDrawAreaSize(window.GetCaptionDrawAreaSize());
  RowList rows = window.GetRows();
  for (CaptioningRenderableModelRowPtr& row : rows) {
    if (row) row = CopyRow(*row);
  }
  copy->SetRows(std::move(rows));
  OpenRowMap openRows;
  window.GetOpenRows(openRows);
  for (const auto& [key, row] : openRows) copy->SetOpenRow(key, row ? CopyOpenRow(*row) : nullptr);
  return copy;
}

}  // namespace

CaptioningRenderableModelPtr CopyModel(const CaptioningRenderableModel& model) {
  CaptioningRenderableModelPtr copy(new CaptioningRenderableModel(model.GetStreamFormat()));
  copy->SetMaxRows(model.GetMaxRows());
  copy->SetMaxColumns(model.GetMaxColumns());
  std::vector<int> order;
  model.GetWindowRenderOrder(order);
  for (const int number : order) {
    // A number named twice is copied once.
    if (copy->GetWindow(number)) continue;
    if (const CaptioningRenderableModelWindowPtr window = model.GetWindow(number)) {
      copy->SetWindow(number, CopyWindow(*window));
    }
  }
  copy->SetWindowRenderOrder(std::move(order));
  return copy;
}

}  // namespace kelcaptioningui
