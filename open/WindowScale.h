#pragma once

#include "kelcore/Geometry.h"

namespace kelcaptioningui {

// Model units per output unit: the draw area's height over the window rectangle's, or 1 for a
// window rectangle of no height. A model length L is drawn as L / s.
inline float WindowScale(int drawAreaHeight, const kelcore::RectT<float>& windowRect) {
  if (windowRect.height == 0.0f) return 1.0f;
  return static_cast<float>(drawAreaHeight) / windowRect.height;
}

}  // namespace kelcaptioningui
