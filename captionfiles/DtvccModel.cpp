#include "captionfiles/DtvccModel.h"

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

CaptioningRenderableModelPtr MakeDtvccModel(const DtvccScreen& screen, int gridColumns) {
  CaptioningRenderableModelPtr model(new CaptioningRenderableModel(kStreamFormat_CEA708));
  model->SetMaxColumns(gridColumns);
  for (const DtvccShownWindow& shown : screen) {
    CaptioningRenderableModelWindowPtr window(new CaptioningRenderableModelWindow());
    window->SetAnchorID(static_cast<AnchorID>(shown.anchorPoint));
    window->SetFillColor(kCaptioningColor_Transparent);
    window->SetRowCount(0);
    window->SetColumnCount(shown.left + shown.columns);
    TextAttributes fillCell;
    fillCell.SetBackgroundColor(ModelColorOf(shown.fill));
    const bool filled = shown.fill.opacity != DtvccOpacity::Transparent;
    RowList rows(static_cast<std::size_t>(shown.top + shown.rows));
    for (int r = 0; r < shown.rows; ++r) {
      CellList cells(static_cast<std::size_t>(shown.left + shown.columns));
      bool any = false;
      for (int c = 0; c < shown.columns; ++c) {
        const DtvccCell& cell = shown.text[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)];
        CaptioningRenderableModelCellPtr& made = cells[static_cast<std::size_t>(shown.left + c)];
        if (!cell.Empty()) {
          made = new CaptioningRenderableModelCell(cell.character, ModelAttributesOf(cell.pen, shown.fill));
        } else if (filled) {
          made = new CaptioningRenderableModelCell(U' ', fillCell);
        }
        any |= made != nullptr;
      }
      if (!any) continue;
      CaptioningRenderableModelRowPtr row(new CaptioningRenderableModelRow());
      row->SetCells(std::move(cells));
      rows[static_cast<std::size_t>(shown.top + r)] = row;
    }
    window->SetRows(std::move(rows));
    model->AddWindow(shown.id, window);
  }
  return model;
}

}  // namespace kelcaptionfiles
