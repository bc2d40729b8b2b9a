#include "open/OpenWindow.h"

#include "kelui/inkpad/Surface.h"
#include "open/SpanBackgrounds.h"
#include "open/SpanFont.h"
#include "open/SpanText.h"
#include "open/WindowScale.h"
#include "paint/Rounding.h"

namespace kelcaptioningui {

using kelcore::RectT;

namespace {

kelcore::RectT<int> DrawArea(const kelcaptioning::CaptioningRenderableModelWindow& window) {
  const kelcore::PointT<int> size = window.GetCaptionDrawAreaSize();
  return {0, 0, size.x, size.y};
}

float ToFloat(int v) { return static_cast<float>(v); }

}  // namespace

void MeasureOpenRows(const kelcaptioning::CaptioningRenderableModelWindowPtr& window, kelui::inkpad::Inkpad* inkpad) {
  if (!window) return;
  kelui::inkpad::SurfaceInterface* surface = inkpad ? inkpad->GetSurface() : nullptr;
  kelcaptioning::OpenRowMap rows;
  window->GetOpenRows(rows);
  kelcaptioning::OpenSpanMap spans;
  for (const auto& [rowKey, row] : rows) {
    if (!row) continue;
    row->GetOpenSpans(spans);
    int x = row->GetHorizontalTextOffset();
    for (const auto& [spanKey, span] : spans) {
      if (!span) continue;
      span->SetHorizontalStart(x);
      float measured = 0.0f;
      if (surface != nullptr) {
        const kelui::inkpad::FontP font =
            MakeSpanFont(span->GetTextSpanAttributes(), inkpad, ToFloat(span->GetTextHeight(true)));
        measured = surface->MeasureStringWidth(font, span->GetText().c_str(), -1);
      }
      const int width = RoundHalfUp(measured);
      span->SetTextWidth(width);
      x = TruncToInt(static_cast<double>(x) + width);
    }
    row->SetRowWidth(TruncToInt(static_cast<double>(x) + row->GetHorizontalTextOffset()));
  }
}

void DrawOpenRowSpans(const kelcaptioning::CaptioningRenderableOpenRowPtr& row, kelui::inkpad::Inkpad* inkpad,
                      const RectT<float>& windowRect, const RectT<int>& drawArea) {
  if (!row) return;
  const float s = WindowScale(drawArea.height, windowRect);
  if (windowRect.height != 0.0f && s == 0.0f) return;
  const int rowX = RoundHalfUp(ToFloat(row->GetHorizontalStart()) / s + windowRect.x);
  const int rowY = RoundHalfUp(ToFloat(row->GetVerticalStart()) / s + windowRect.y);
  kelcaptioning::OpenSpanMap spans;
  row->GetOpenSpans(spans);
  for (const auto& [spanKey, span] : spans) {
    if (!span) continue;
    // Each part rounds on its own before the sum.
    const RectT<float> spanRect{
        ToFloat(TruncToInt(static_cast<double>(RoundHalfUp(ToFloat(span->GetHorizontalStart()) / s)) + rowX)),
        ToFloat(TruncToInt(static_cast<double>(RoundHalfUp(ToFloat(span->GetVerticalStart()) / s)) + rowY)),
        ToFloat(RoundHalfUp(ToFloat(span->GetTextWidth()) / s)),
        ToFloat(RoundHalfUp(ToFloat(span->GetTextHeight(false)) / s))};
    DrawSpanText(span, inkpad, spanRect, s);
  }
}

void DrawOpenWindow(const kelcaptioning::CaptioningRenderableModelWindowPtr& window, kelui::inkpad::Inkpad* inkpad,
                    const RectT<float>& windowRect) {
  if (!window || inkpad == nullptr) return;
  MeasureOpenRows(window, inkpad);
  kelcaptioning::OpenRowMap rows;
  window->GetOpenRows(rows);
  const RectT<int> drawArea = DrawArea(*window);
  // Every background of the window lies under every text of the window.
  DrawSpanBackgrounds(rows, inkpad, windowRect, drawArea);
  for (const auto& [rowKey, row] : rows) DrawOpenRowSpans(row, inkpad, windowRect, drawArea);
}

void CollectOpenRowRects(const kelcaptioning::CaptioningRenderableModelWindowPtr& window,
                         kelui::inkpad::Inkpad* inkpad, const RectT<float>& windowRect, CaptionRectList& rects) {
  if (!window) return;
  MeasureOpenRows(window, inkpad);
  kelcaptioning::OpenRowMap rows;
  window->GetOpenRows(rows);
  const float s = WindowScale(window->GetCaptionDrawAreaSize().y, windowRect);
  for (const auto& [rowKey, row] : rows) {
    if (!row || !(s > 0.0f)) continue;
    // Here the half is added before the window offset, unlike in the span placement.
    rects.push_back({ToFloat(TruncToInt((ToFloat(row->GetHorizontalStart()) / s + 0.5f) + windowRect.x)),
                     ToFloat(TruncToInt((ToFloat(row->GetVerticalStart()) / s + 0.5f) + windowRect.y)),
                     ToFloat(RoundHalfUp(ToFloat(row->GetRowWidth()) / s)),
                     ToFloat(RoundHalfUp(ToFloat(row->GetLineHeight()) / s))});
  }
}

}  // namespace kelcaptioningui
