#pragma once

// TEMPORARY, on the `package` branch only: a stand-in for include/kelcaptioningui/CaptionLayer.h,
// which the library gains with its caption-layer compositing. burn-a-caption.cpp is written
// against that header's two functions, declared here as they are there. examples/CMakeLists.txt
// and tests/install/install-and-use.sh put this folder on the include path only while the
// library's own header is missing, so the real one takes over as soon as it lands; then delete
// this folder.

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "kelcore/Geometry.h"

namespace kelcaptioningui {

// The box of the layer's pixels that are not all zeros; empty when there is none.
inline kelcore::RectT<int> FindCaptionLayerInk(const std::uint8_t* layer, int layerRowBytes, int width, int height) {
  int top = height, bottom = 0, left = width, right = 0;
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* row = layer + static_cast<std::ptrdiff_t>(y) * layerRowBytes;
    for (int x = 0; x < width; ++x) {
      std::uint32_t pixel = 0;
      std::memcpy(&pixel, row + static_cast<std::size_t>(x) * 4, 4);
      if (pixel == 0) continue;
      top = y < top ? y : top;
      bottom = y + 1;
      left = x < left ? x : left;
      right = x + 1 > right ? x + 1 : right;
    }
  }
  if (bottom == 0) return {};
  return {left, top, right - left, bottom - top};
}

// Lays the premultiplied BGRA layer over the frame (premultiplied "over"), within `box` or all.
inline void CompositeCaptionLayer(const std::uint8_t* layer, int layerRowBytes, std::uint8_t* frame, int frameRowBytes,
                                  int width, int height, const kelcore::RectT<int>* box = nullptr) {
  const kelcore::RectT<int> all{0, 0, width, height};
  const kelcore::RectT<int>& area = box != nullptr ? *box : all;
  for (int y = area.y; y < area.Bottom(); ++y) {
    const std::uint8_t* src = layer + static_cast<std::ptrdiff_t>(y) * layerRowBytes + area.x * 4;
    std::uint8_t* dst = frame + static_cast<std::ptrdiff_t>(y) * frameRowBytes + area.x * 4;
    for (int i = 0; i < area.width * 4; i += 4) {
      const unsigned keep = 255u - src[i + 3];
      for (int c = 0; c < 4; ++c) {
        const unsigned t = dst[i + c] * keep + 128u;
        dst[i + c] = static_cast<std::uint8_t>(src[i + c] + ((t + (t >> 8)) >> 8));
      }
    }
  }
}

}  // namespace kelcaptioningui
