#pragma once

#include <vector>

#include "kelcaptioning/RenderableModel.h"
#include "kelcaptioningui/Export.h"
#include "kelcore/Allocators.h"
#include "kelcore/Geometry.h"
#include "kelui/inkpad/Inkpad.h"

namespace kelcaptioningui {

using CaptionRectList = std::vector<kelcore::RectT<float>, kelcore::STLAllocator<kelcore::RectT<float>>>;

// Paints the model's visible windows, in the model's render order, into the Inkpad's surface.
// `frameRect` is the whole video frame in the surface's drawing coordinates. A null Inkpad draws
// nothing.
KELCAPTIONINGUI_API void DrawCaption(const kelcaptioning::CaptioningRenderableModelPtr& model,
                                     kelui::inkpad::Inkpad* inkpad, const kelcore::RectT<float>& frameRect);

// Appends to `rects` what DrawCaption would cover: per visible window, its rectangle (unless its
// fill is transparent) and then its text rectangles. The list is never cleared. Open-caption
// formats measure text through the Inkpad; grid formats do not use it.
KELCAPTIONINGUI_API void GetCaptionRects(const kelcaptioning::CaptioningRenderableModelPtr& model,
                                         kelui::inkpad::Inkpad* inkpad, const kelcore::RectT<float>& frameRect,
                                         CaptionRectList& rects);

}  // namespace kelcaptioningui
