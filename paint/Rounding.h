#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

#include "kelcore/Geometry.h"

namespace kelcaptioningui {

// Truncation toward zero into 32 bits. Values past the range (huge frames, NaN) saturate instead
// of being undefined.
inline std::int32_t TruncToInt(double v) {
  if (std::isnan(v)) return 0;
  if (v >= 2147483647.0) return std::numeric_limits<std::int32_t>::max();
  if (v <= -2147483648.0) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(v);
}

// The caption rounding: add 0.5 and truncate toward zero, in single precision.
inline std::int32_t RoundHalfUp(float v) { return TruncToInt(static_cast<double>(v + 0.5f)); }

// The rectangle between four edges; a width or height past the int range saturates.
inline kelcore::RectT<int> RectFromEdges(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom) {
  return {left, top, TruncToInt(static_cast<double>(right) - left), TruncToInt(static_cast<double>(bottom) - top)};
}

}  // namespace kelcaptioningui
