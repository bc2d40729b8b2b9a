#include "open/SpanBackgrounds.h"

#include <cstdint>

#include "open/WindowScale.h"
#include "paint/BackgroundRuns.h"
#include "paint/Rounding.h"

namespace kelcaptioningui {

void DrawSpanBackgrounds(const kelcaptioning::OpenRowMap& rows, kelui::inkpad::Inkpad* inkpad,
                         const kelcore::RectT<float>& windowRect, const kelcore::RectT<int>& drawArea) {
  if (inkpad == nullptr) return;
  const float s = WindowScale(drawArea.height, windowRect);
  // Model x and y to output pixels; shared edges of neighbouring spans round the same way. Edges
  // that are sums of model values are summed in 64 bits: a huge measured width or line height
  // must not wrap around to a band on the wrong side.
  const auto outX = [&](std::int64_t modelX) { return RoundHalfUp(static_cast<float>(modelX) / s + windowRect.x); };
  const auto outY = [&](std::int64_t modelY) { return RoundHalfUp(static_cast<float>(modelY) / s + windowRect.y); };

  BackgroundRuns runs;
  kelcaptioning::OpenSpanMap spans;
  for (const auto& [rowKey, row] : rows) {
    if (!row) continue;
    row->GetOpenSpans(spans);
    if (spans.empty()) continue;
    const int rowH = row->GetHorizontalStart();
    const int rowV = row->GetVerticalStart();
    const int top = outY(rowV);
    const int bottom = outY(std::int64_t{row->GetLineHeight()} + rowV);
    const int firstKey = spans.begin()->first;
    const int lastKey = spans.rbegin()->first;
    for (const auto& [spanKey, span] : spans) {
      if (!span) continue;
      const kelcaptioning::CaptioningColor color = span->GetTextSpanAttributes().GetBackgroundColor();
      if (color.IsTransparent()) continue;
      kelcore::utility::RegionList& bands = runs.ListFor(color);
      const kelcore::RectT<int> b = span->GetBounds(rowH, rowV);
      const int left = outX(b.x);
      const int right = outX(std::int64_t{b.x} + b.width);
      if (spanKey == firstKey) bands.push_back(RectFromEdges(outX(rowH), top, left, bottom));
      bands.push_back(RectFromEdges(left, top, right, bottom));
      if (spanKey == lastKey) {
        bands.push_back(RectFromEdges(right, top, outX(std::int64_t{row->GetRowWidth()} + rowH), bottom));
      }
    }
  }
  runs.Fill(*inkpad);
}

}  // namespace kelcaptioningui
