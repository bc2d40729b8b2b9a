#pragma once

#include <cstdint>

#include "kelcaptioningui/Export.h"
#include "kelcore/Geometry.h"

namespace kelcaptioningui {

// Lays a caption layer (32-bit premultiplied BGRA, as RenderOpenCaptions draws it) over a frame of
// the same pixel layout and size: frame = layer + frame * (1 - layer alpha), per channel.
// `box`, when given, limits the work to those pixels (as found by FindCaptionLayerInk), clipped to the frame.
// Channels are rounded as pixman rounds and held at 255 where a layer that is not truly
// premultiplied would pass it. Both row steps are positive and hold at least `width` pixels; null
// pixels, a size below 1 or a shorter row step lay nothing.
KELCAPTIONINGUI_API void CompositeCaptionLayer(const std::uint8_t* layer, int layerRowBytes, std::uint8_t* frame,
                                               int frameRowBytes, int width, int height,
                                               const kelcore::RectT<int>* box = nullptr);

// The smallest rectangle holding every layer pixel that is not all zeros; empty (width 0) when none.
// A layer that CompositeCaptionLayer would refuse has none.
KELCAPTIONINGUI_API kelcore::RectT<int> FindCaptionLayerInk(const std::uint8_t* layer, int layerRowBytes, int width,
                                                            int height);

}  // namespace kelcaptioningui
