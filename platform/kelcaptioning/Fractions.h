#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include <boost/rational.hpp>

namespace kelcaptioning {

// Truncation toward zero into an int for values a caption may carry in any size: NaN becomes 0
// and values past the int range saturate.
inline int ClampToInt(double v) {
  if (std::isnan(v)) return 0;
  if (v >= static_cast<double>(std::numeric_limits<int>::max())) return std::numeric_limits<int>::max();
  if (v <= static_cast<double>(std::numeric_limits<int>::min())) return std::numeric_limits<int>::min();
  return static_cast<int>(v);
}

// `fraction` of `size` as a whole number, rounded down, computed exactly: through a double,
// 15/22 of 22 comes out as 14.999999999999998.
inline int FractionOfSize(const boost::rational<int>& fraction, int size) {
  const std::int64_t product = static_cast<std::int64_t>(fraction.numerator()) * size;
  const std::int64_t denominator = fraction.denominator();  // positive: boost keeps the sign above
  std::int64_t quotient = product / denominator;
  if (product % denominator != 0 && product < 0) --quotient;
  return static_cast<int>(std::clamp<std::int64_t>(quotient, std::numeric_limits<int>::min(),
                                                   std::numeric_limits<int>::max()));
}

}  // namespace kelcaptioning
