#pragma once

#include <cstdint>

#include "kelcore/Geometry.h"

namespace kelcaptioningui {

// CompositeCaptionLayer as processors without AVX2 run it, a pixel at a time; the AVX2 rows must
// give the same bytes.
void CompositeCaptionLayerPlain(const std::uint8_t* layer, int layerRowBytes, std::uint8_t* frame, int frameRowBytes,
                                int width, int height, const kelcore::RectT<int>* box = nullptr);

}  // namespace kelcaptioningui
