#include "grid/Cell.h"

#include <algorithm>
#include <cstdint>

#include "grid/CaptionSymbol.h"
#include "grid/CellFont.h"
#include "grid/EdgeTable.h"
#include "grid/Underline.h"
#include "kelcore/String.h"
#include "kelui/inkpad/Surface.h"
#include "paint/DrawingColor.h"
#include "paint/TextPlacement.h"

namespace kelcaptioningui {

using kelcore::PointT;
using kelcore::RectT;

namespace {

void MergeIntoExtent(const RectT<float>& box, RectT<float>& extent) {
  if (!(extent.width > 0.0f) || !(extent.height > 0.0f)) {
    extent = box;
    return;
  }
  if (!(box.width > 0.0f) || !(box.height > 0.0f)) return;
  const float left = std::min(extent.x, box.x);
  const float top = std::min(extent.y, box.y);
  const float right = std::max(extent.x + extent.width, box.x + box.width);
  const float bottom = std::max(extent.y + extent.height, box.y + box.height);
  extent = {left, top, right - left, bottom - top};
}

}  // namespace

RectT<float> CellBox(int row, int column, int rowsUsed, const RectT<float>& windowRect,
                     const RectT<float>& cellSizeRect) {
  const float left = static_cast<float>(column) * cellSizeRect.width + windowRect.x;
  const float top = static_cast<float>(row) * cellSizeRect.height + windowRect.y;
  const float right = static_cast<float>(column + 1) * cellSizeRect.width + windowRect.x;
  // A cell's row count comes from the model: summed in 64 bits so that a huge one cannot wrap.
  const float bottom = static_cast<float>(std::int64_t{rowsUsed} + row) * cellSizeRect.height + windowRect.y;
  return {left, top, right - left, bottom - top};
}

void DrawCell(const kelcaptioning::CaptioningRenderableModelCell& cell, kelui::inkpad::Inkpad* inkpad,
              const RectT<float>& cellBox, RectT<float>& rowExtent) {
  const kelcaptioning::TextAttributes attributes = cell.GetTextAttributes();
  const bool backgroundVisible = !attributes.GetBackgroundColor().IsTransparent();
  const bool foregroundVisible = !attributes.GetForegroundColor().IsTransparent();
  if (backgroundVisible || foregroundVisible) MergeIntoExtent(cellBox, rowExtent);
  if (inkpad == nullptr || !foregroundVisible) return;
  kelui::inkpad::SurfaceInterface* surface = inkpad->GetSurface();
  kelui::inkpad::SupplierInterface* supplier = inkpad->GetSupplier();
  if (surface == nullptr) return;

  const char32_t character = cell.GetCharacter();
  if (character == kCaptionSymbolCharacter) {
    DrawCaptionSymbol(attributes, inkpad, cellBox);
    return;
  }

  const CellFont cellFont = CreateCellFont(attributes, cellBox, supplier);
  if (!cellFont.font) return;
  const float ascent = cellFont.font->GetAscent();
  const float descent = cellFont.font->GetDescent();
  const float shift = OffsetShift(attributes.GetTextOffset(), ascent, descent);
  const float centreX = cellBox.x + cellBox.width * 0.5f;
  const PointT<float> anchor{centreX, CentredBaseline(cellFont.font, cellBox, ascent, descent) + shift};

  kelcore::UTF16String text;
  kelcore::string::AppendCodePoint(text, character);
  const float textTop = anchor.y - cellFont.size;
  const RectT<float> textRect{cellBox.x, textTop, cellBox.width, (cellBox.y + cellBox.height) - textTop};
  const bool underlined = attributes.IsUnderlined();

  const EdgeStyle edge = EdgeStyleFor(attributes.GetTextEdge());
  if (!edge.offsets.empty()) {
    const kelui::inkpad::BrushP edgeBrush(supplier, edge.color);
    for (const PointT<float>& offset : edge.offsets) {
      const RectT<float> moved{textRect.x + offset.x, textRect.y + offset.y, textRect.width, textRect.height};
      surface->DrawStringInRect(edgeBrush, cellFont.font, text, moved, 1);
      if (underlined) DrawUnderline(inkpad, textRect, {anchor.x + offset.x, anchor.y + offset.y}, edge.color);
    }
  }

  const kelui::inkpad::Color foreground = ToDrawingColor(attributes.GetForegroundColor());
  const kelui::inkpad::BrushP brush(supplier, foreground);
  surface->DrawStringInRect(brush, cellFont.font, text, textRect, 1);
  if (underlined) DrawUnderline(inkpad, textRect, anchor, foreground);
}

}  // namespace kelcaptioningui
