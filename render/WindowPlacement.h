#pragma once

#include "kelcaptioning/RenderableModel.h"
#include "kelcore/Geometry.h"

namespace kelcaptioningui {

// Lays one window out in the frame. Grid formats get a window rectangle of whole cells, anchored
// in the captions area, and the size of one cell in `cellSizeRect`; open-caption formats get the
// captions area itself and leave `cellSizeRect` as it is. Both outputs are expected zeroed.
void ComputeWindowRects(const kelcaptioning::CaptioningRenderableModel& model,
                        const kelcaptioning::CaptioningRenderableModelWindow& window,
                        const kelcore::RectT<float>& frameRect, kelcore::RectT<float>& cellSizeRect,
                        kelcore::RectT<float>& windowRect);

// Grid windows: places the window by its anchor and clamps it into the captions area, whose margins
// are `anchorPoint`.
void PlaceAnchoredWindow(const kelcaptioning::CaptioningRenderableModelWindow& window,
                         kelcore::PointT<int> anchorPoint, const kelcore::RectT<float>& frameRect,
                         const kelcore::RectT<float>& cellSizeRect, kelcore::RectT<float>& windowRect);

}  // namespace kelcaptioningui
