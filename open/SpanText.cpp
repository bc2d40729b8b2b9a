#include "open/SpanText.h"

#include <memory>

#include "gdiplus/GdiPlus.h"
#include "grid/Underline.h"
#include "kelui/inkpad/Surface.h"
#include "open/SpanFont.h"
#include "paint/DrawingColor.h"
#include "paint/Rounding.h"
#include "paint/TextPlacement.h"

namespace kelcaptioningui {

using kelcore::PointT;
using kelcore::RectT;
using kelui::inkpad::Color;

namespace {

constexpr Color kOpaqueWhite{1, 1, 1, 1};
constexpr Color kOpaqueBlack{0, 0, 0, 1};

// The one-copy edges of spans; value 3 is the GDI+ outline instead.
struct SpanEdge {
  PointT<float> offset;
  Color color;
  bool outline;
};

SpanEdge SpanEdgeFor(kelcaptioning::TextEdge edge) {
  switch (static_cast<int>(edge)) {
    case 1: return {{-1, -1}, kOpaqueWhite, false};
    case 2: return {{1, 1}, kOpaqueWhite, false};
    case 3: return {{0, 0}, {}, true};
    case 4: return {{-1, 1}, kOpaqueWhite, false};
    case 5: return {{1, 1}, kOpaqueBlack, false};
    default: return {{0, 0}, {}, false};
  }
}

// GDI+ colour channels: truncate(c x 255), low byte.
std::uint32_t Channel(float c) { return static_cast<std::uint32_t>(TruncToInt(static_cast<double>(c) * 255.0)) & 0xFFu; }

Gdiplus::ARGB ToArgb(const kelcaptioning::CaptioningColor& c) {
  return (Channel(c.Alpha()) << 24) | (Channel(c.Red()) << 16) | (Channel(c.Green()) << 8) | Channel(c.Blue());
}

// Owners of an outline's GDI+ objects: the underline drawn while they are alive makes supplier
// objects, which may throw, and the objects must go on that way out too.
struct DeleteFontFamily {
  void operator()(Gdiplus::GpFontFamily* p) const { Gdiplus::GdipDeleteFontFamily(p); }
};
struct DeletePath {
  void operator()(Gdiplus::GpPath* p) const { Gdiplus::GdipDeletePath(p); }
};
struct DeleteStringFormat {
  void operator()(Gdiplus::GpStringFormat* p) const { Gdiplus::GdipDeleteStringFormat(p); }
};
struct DeletePen {
  void operator()(Gdiplus::GpPen* p) const { Gdiplus::GdipDeletePen(p); }
};
struct DeleteBrush {
  void operator()(Gdiplus::GpSolidFill* p) const { Gdiplus::GdipDeleteBrush(p); }
};

Gdiplus::INT GdiFontStyle(kelcaptioning::FontStyle style) {
  switch (static_cast<int>(style)) {
    case 1: return Gdiplus::FontStyleItalic;
    case 2: return Gdiplus::FontStyleBold;
    case 3: return Gdiplus::FontStyleBoldItalic;
    default: return Gdiplus::FontStyleRegular;
  }
}

}  // namespace

void DrawSpanText(const kelcaptioning::CaptioningRenderableOpenSpanPtr& span, kelui::inkpad::Inkpad* inkpad,
                  const RectT<float>& spanRect, float s) {
  if (!span || inkpad == nullptr || inkpad->GetSurface() == nullptr) return;
  kelui::inkpad::SurfaceInterface* surface = inkpad->GetSurface();
  const float size = static_cast<float>(span->GetTextHeight(true)) / s;
  const kelcaptioning::TextSpanAttributes attributes = span->GetTextSpanAttributes();
  if (attributes.GetForegroundColor().IsTransparent()) return;

  const kelui::inkpad::FontP font = MakeSpanFont(attributes, inkpad, size);
  if (!font) return;
  const float ascent = font->GetAscent();
  const float descent = font->GetDescent();
  const float shift = OffsetShift(attributes.GetTextOffset(), ascent, descent);
  const PointT<float> p{spanRect.x, CentredBaseline(font, spanRect, ascent, descent) + shift};

  const float e = attributes.GetTextEdgeWidth() / s;
  const SpanEdge edge = SpanEdgeFor(attributes.GetTextEdge());
  if (edge.outline) {
    DrawOutlinedSpanText(span, inkpad, p, spanRect, size, e);
    return;
  }
  const kelcore::UTF16String& text = span->GetText();
  const bool underlined = attributes.IsUnderlined();
  if (edge.offset.x != 0.0f || edge.offset.y != 0.0f) {
    const kelui::inkpad::BrushP edgeBrush(inkpad->GetSupplier(), edge.color);
    const PointT<float> q{p.x + edge.offset.x * e, p.y + edge.offset.y * e};
    surface->DrawString(edgeBrush, font, text, q, 0, 0, 0.0f);
    if (underlined) DrawUnderline(inkpad, spanRect, q, edge.color);
  }
  const Color foreground = ToDrawingColor(attributes.GetForegroundColor());
  const kelui::inkpad::BrushP brush(inkpad->GetSupplier(), foreground);
  surface->DrawString(brush, font, text, p, 0, 0, 0.0f);
  if (underlined) DrawUnderline(inkpad, spanRect, p, foreground);
}

void DrawOutlinedSpanText(const kelcaptioning::CaptioningRenderableOpenSpanPtr& span, kelui::inkpad::Inkpad* inkpad,
                          const PointT<float>& baseline, const RectT<float>& spanRect, float emSize, float penWidth) {
  using namespace Gdiplus;
  if (!span || inkpad == nullptr) return;
  const kelcore::UTF16String& text = span->GetText();
  const kelcaptioning::TextSpanAttributes attributes = span->GetTextSpanAttributes();
  const kelcaptioning::CaptioningColor foreground = attributes.GetForegroundColor();
  const kelcaptioning::CaptioningColor edgeColor = attributes.GetForegroundEdgeColor();
  const kelcore::UTF16String fontName = attributes.GetResolvedFontName();

  auto* surface = dynamic_cast<kelui::inkpad::OSSurfaceInterface*>(inkpad->GetSurface());
  if (surface == nullptr) return;
  Graphics* graphics = surface->GetOutputGraphics();
  if (graphics == nullptr) return;
  const INT style = GdiFontStyle(attributes.GetFontStyle());

  graphics->SetStatus(GdipSetSmoothingMode(graphics->nativeGraphics, SmoothingModeAntiAlias));
  graphics->SetStatus(GdipSetInterpolationMode(graphics->nativeGraphics, InterpolationModeHighQualityBicubic));

  // A failing call leaves its handle empty, and the calls that need it fail in turn.
  GpFontFamily* family = nullptr;
  GpPath* path = nullptr;
  GpStringFormat* format = nullptr;
  GpPen* pen = nullptr;
  GpSolidFill* brush = nullptr;
  // A face the machine lacks is drawn in the generic sans-serif family rather than not at all.
  if (GdipCreateFontFamilyFromName(fontName.c_str(), nullptr, &family) == FontFamilyNotFound) {
    GdipGetGenericFontFamilySansSerif(&family);
  }
  const std::unique_ptr<GpFontFamily, DeleteFontFamily> familyOwner(family);
  GdipCreatePath(FillModeAlternate, &path);
  const std::unique_ptr<GpPath, DeletePath> pathOwner(path);
  GdipCreateStringFormat(0, 0, &format);
  const std::unique_ptr<GpStringFormat, DeleteStringFormat> formatOwner(format);
  const Rect layout{TruncToInt(spanRect.x), TruncToInt(spanRect.y), 0, 0};
  GdipAddPathStringI(path, text.c_str(), static_cast<INT>(text.size()), family, style, emSize, &layout, format);

  GdipCreatePen1(ToArgb(edgeColor), penWidth, UnitWorld, &pen);
  const std::unique_ptr<GpPen, DeletePen> penOwner(pen);
  graphics->SetStatus(GdipDrawPath(graphics->nativeGraphics, pen, path));
  // The fill is always opaque: the outline shows only outside the glyphs.
  GdipCreateSolidFill(0xFF000000u | (ToArgb(foreground) & 0x00FFFFFFu), &brush);
  const std::unique_ptr<GpSolidFill, DeleteBrush> brushOwner(brush);
  graphics->SetStatus(GdipFillPath(graphics->nativeGraphics, brush, path));

  if (attributes.IsUnderlined()) DrawUnderline(inkpad, spanRect, baseline, ToDrawingColor(foreground));
}

}  // namespace kelcaptioningui
