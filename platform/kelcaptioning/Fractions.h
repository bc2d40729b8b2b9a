#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>

#include <boost/rational.hpp>

namespace kelcaptioning {

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
