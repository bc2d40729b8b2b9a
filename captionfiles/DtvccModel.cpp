#include "captionfiles/DtvccModel.h"

#include <algorithm>

namespace kelcaptionfiles {

using namespace kelcaptioning;

CaptioningColor ModelColorOf(const DtvccColor& color) {
  const float alpha = color.opacity == DtvccOpacity::Transparent   ? kAlphaValue_Transparent
                      : color.opacity == DtvccOpacity::Translucent ? 0.5f
                                                                   : kAlphaValue_Opaque;
  return {static_cast<float>(color.red) / 3.0f, static_cast<float>(color.green) / 3.0f,
          static_cast<float>(color.blue) / 3.0f, alpha};
}

TextAttributes ModelAttributesOf(const DtvccPen& pen, const DtvccColor& fill) {
  TextAttributes a;
  a.SetForegroundColor(ModelColorOf(pen.foreground));
  a.SetBackgroundColor(ModelColorOf(pen.background.opacity == DtvccOpacity::Transparent ? fill : pen.background));
  a.SetTextSize(static_cast<TextSize>(pen.size));
  // The pen counts offsets from subscript up, the model from superscript down.
  a.SetTextOffset(static_cast<TextOffset>(2 - pen.offset));
  a.SetGenericFontFamilyID(static_cast<GenericFontFamilyID>(pen.fontStyle));
  a.SetTextEdge(static_cast<TextEdge>(pen.edgeType));
  a.SetItalic(pen.italics);
  a.SetUnderlined(pen.underline);
  return a;
}

DtvccModelMaker::DtvccModelMaker(int gridColumns) : gridColumns_(gridColumns) {}

CaptioningRenderableModelPtr DtvccModelMaker::Make(const DtvccScreen& screen) {
  CaptioningRenderableModelPtr model(new CaptioningRenderableModel(kStreamFormat_CEA708));
  model->SetMaxColumns(gridColumns_);
  std::vector<MadeRow> made;
  for (const DtvccShownWindow& shown : screen) {
    CaptioningRenderableModelWindowPtr window(new CaptioningRenderableModelWindow());
    window->SetAnchorID(static_cast<AnchorID>(shown.anchorPoint));
    window->SetFillColor(kCaptioningColor_Transparent);
    window->SetRowCount(0);
    window->SetColumnCount(shown.left + shown.columns);
    RowList rows(static_cast<std::size_t>(shown.top + shown.rows));
    for (int r = 0; r < shown.rows; ++r) {
      MadeRow row{shown.left, shown.fill, shown.text[static_cast<std::size_t>(r)], nullptr};
      row.row = RowOf(row);
      rows[static_cast<std::size_t>(shown.top + r)] = row.row;
      if (row.row) made.push_back(std::move(row));
    }
    window->SetRows(std::move(rows));
    model->AddWindow(shown.id, window);
  }
  previous_ = std::move(made);
  return model;
}

CaptioningRenderableModelRowPtr DtvccModelMaker::RowOf(const MadeRow& wanted) const {
  for (const MadeRow& before : previous_) {
    if (before.left == wanted.left && before.fill == wanted.fill && before.text == wanted.text) return before.row;
  }
  const bool filled = wanted.fill.opacity != DtvccOpacity::Transparent;
  if (!filled && std::all_of(wanted.text.begin(), wanted.text.end(), [](const DtvccCell& c) { return c.Empty(); })) {
    return nullptr;
  }
  TextAttributes fillCell;
  fillCell.SetBackgroundColor(ModelColorOf(wanted.fill));
  CellList cells(static_cast<std::size_t>(wanted.left) + wanted.text.size());
  for (std::size_t c = 0; c < wanted.text.size(); ++c) {
    const DtvccCell& cell = wanted.text[c];
    CaptioningRenderableModelCellPtr& made = cells[static_cast<std::size_t>(wanted.left) + c];
    if (!cell.Empty()) {
      made = new CaptioningRenderableModelCell(cell.character, ModelAttributesOf(cell.pen, wanted.fill));
    } else if (filled) {
      made = new CaptioningRenderableModelCell(U' ', fillCell);
    }
  }
  CaptioningRenderableModelRowPtr row(new CaptioningRenderableModelRow());
  row->SetCells(std::move(cells));
  return row;
}

}  // namespace kelcaptionfiles
