#include "support/OutlinedText.h"

namespace kel_test {

using namespace Gdiplus;

Status DrawOutlinedText(GpGraphics* graphics, const char16_t* family, const char16_t* text, float emSize, int style,
                        Rect layout, ARGB penColor, float penWidth, ARGB fillColor) {
  GpFontFamily* fontFamily = nullptr;
  GpPath* path = nullptr;
  GpStringFormat* format = nullptr;
  GpPen* pen = nullptr;
  GpSolidFill* brush = nullptr;
  Status status = GdipCreateFontFamilyFromName(family, nullptr, &fontFamily);
  const auto step = [&status](Status next) {
    if (status == Ok) status = next;
  };
  step(GdipCreatePath(FillModeAlternate, &path));
  step(GdipCreateStringFormat(0, 0, &format));
  step(GdipAddPathStringI(path, text, -1, fontFamily, style, emSize, &layout, format));
  step(GdipCreatePen1(penColor, penWidth, UnitWorld, &pen));
  step(GdipDrawPath(graphics, pen, path));
  step(GdipCreateSolidFill(fillColor, &brush));
  step(GdipFillPath(graphics, brush, path));
  if (brush) GdipDeleteBrush(brush);
  if (pen) GdipDeletePen(pen);
  if (format) GdipDeleteStringFormat(format);
  if (path) GdipDeletePath(path);
  if (fontFamily) GdipDeleteFontFamily(fontFamily);
  return status;
}

}  // namespace kel_test
