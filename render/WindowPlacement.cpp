#include "render/WindowPlacement.h"

#include <cmath>
#include <cstdint>
#include <limits>

#include "kelcaptioning/Formats.h"
#include "paint/Rounding.h"

namespace kelcaptioningui {

namespace {

// The margin that ratio r leaves on each side of a frame dimension.
double Margin(float frameSize, float ratio) {
  return static_cast<double>(frameSize) * (1.0 - static_cast<double>(ratio)) * 0.5;
}

// Pulls [position, position + size) inside [lowEdge, highEdge]; the high edge wins when both can't hold.
double Clamp(double position, double size, double lowEdge, double highEdge) {
  if (lowEdge > position) position = lowEdge;
  if (position + size > highEdge) position = highEdge - size;
  return position;
}

}  // namespace

void ComputeWindowRects(const kelcaptioning::CaptioningRenderableModel& model,
                        const kelcaptioning::CaptioningRenderableModelWindow& window,
                        const kelcore::RectT<float>& frameRect, kelcore::RectT<float>& cellSizeRect,
                        kelcore::RectT<float>& windowRect) {
  const float r = window.GetCaptionsAreaRatio();
  const kelcore::RectT<float>& f = frameRect;

  if (kelcaptioning::IsOpenCaptions(model.GetStreamFormat())) {
    windowRect.x = static_cast<float>(TruncToInt(static_cast<double>(f.x) + Margin(f.width, r) + 0.5));
    windowRect.y = static_cast<float>(TruncToInt(static_cast<double>(f.y) + Margin(f.height, r) + 0.5));
    windowRect.width = f.width * r;
    windowRect.height = f.height * r;
    return;
  }

  const kelcore::PointT<int> anchorPoint{TruncToInt(Margin(f.width, r)), TruncToInt(Margin(f.height, r))};
  cellSizeRect.width = (r * f.width) / static_cast<float>(model.GetMaxColumns()) - cellSizeRect.x;
  cellSizeRect.height = (r * f.height) / static_cast<float>(model.GetMaxRows()) - cellSizeRect.y;
  PlaceAnchoredWindow(window, anchorPoint, frameRect, cellSizeRect, windowRect);
}

void PlaceAnchoredWindow(const kelcaptioning::CaptioningRenderableModelWindow& window,
                         kelcore::PointT<int> anchorPoint, const kelcore::RectT<float>& frameRect,
                         const kelcore::RectT<float>& cellSizeRect, kelcore::RectT<float>& windowRect) {
  const kelcore::RectT<float>& f = frameRect;
  const double w = static_cast<double>(static_cast<float>(window.GetColumnCount()) * cellSizeRect.width);
  const double h = static_cast<double>(static_cast<float>(window.GetRowCount()) * cellSizeRect.height);
  const double ax = anchorPoint.x;
  const double ay = anchorPoint.y;

  double x = 0.0;
  double y = 0.0;
  const auto anchor = static_cast<std::uint32_t>(window.GetAnchorID());
  if (anchor <= 8) {
    // Column 0/1/2: the anchor is the left edge, centre or right edge; rows likewise top to bottom.
    x = ax - w * 0.5 * static_cast<double>(anchor % 3);
    y = ay - h * 0.5 * static_cast<double>(anchor / 3);
  }

  x = Clamp(x, w, static_cast<double>(f.x) + ax, static_cast<double>(f.x + f.width) - ax);
  y = Clamp(y, h, static_cast<double>(f.y) + ay, static_cast<double>(f.y + f.height) - ay);
  windowRect = {static_cast<float>(x), static_cast<float>(y), static_cast<float>(w), static_cast<float>(h)};
}

}  // namespace kelcaptioningui
