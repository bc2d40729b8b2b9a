#include "support/ModelBuilders.h"

namespace kel_test {

CaptioningRenderableModelWindowPtr GridWindow(int columns, int rows, int anchor,
                                              const kelcaptioning::CaptioningColor& fill, float ratio) {
  CaptioningRenderableModelWindowPtr window(new kelcaptioning::CaptioningRenderableModelWindow());
  window->SetColumnCount(columns);
  window->SetRowCount(rows);
  window->SetAnchorID(static_cast<kelcaptioning::CaptioningRenderableModelWindow::AnchorID>(anchor));
  window->SetFillColor(fill);
  window->SetCaptionsAreaRatio(ratio);
  return window;
}

CaptioningRenderableModelPtr Model(kelcaptioning::StreamFormat format) {
  return CaptioningRenderableModelPtr(new kelcaptioning::CaptioningRenderableModel(format));
}

kelcaptioning::CaptioningRenderableModelCellPtr Cell(char32_t character, const kelcaptioning::TextAttributes& attributes) {
  return kelcaptioning::CaptioningRenderableModelCellPtr(
      new kelcaptioning::CaptioningRenderableModelCell(character, attributes));
}

kelcaptioning::CaptioningRenderableModelRowPtr Row(std::initializer_list<kelcaptioning::CaptioningRenderableModelCellPtr> cells) {
  kelcaptioning::CaptioningRenderableModelRowPtr row(new kelcaptioning::CaptioningRenderableModelRow());
  for (const auto& cell : cells) row->AppendCell(cell);
  return row;
}

kelcaptioning::CaptioningRenderableModelRowPtr TextRow(std::u32string_view text,
                                                       const kelcaptioning::TextAttributes& attributes) {
  kelcaptioning::CaptioningRenderableModelRowPtr row(new kelcaptioning::CaptioningRenderableModelRow());
  for (char32_t c : text) row->AppendCell(Cell(c, attributes));
  return row;
}

}  // namespace kel_test
