#pragma once

#include <compare>
#include <cstdint>
#include <limits>

#include "kelmediatypes/Export.h"

namespace kelmediatypes {

// A point in media time as a count of ticks. 254016000000 ticks make a second: every common frame
// rate (23.976, 24, 25, 29.97, 30, 50, 59.94, 60 and more) is a whole number of ticks per frame.
class TickTime {
 public:
  static constexpr std::int64_t kTicksPerSecond = 254016000000;

  constexpr TickTime() noexcept = default;
  constexpr explicit TickTime(std::int64_t ticks) noexcept : ticks_(ticks) {}

  constexpr std::int64_t GetTicks() const noexcept { return ticks_; }
  constexpr double GetSeconds() const noexcept { return static_cast<double>(ticks_) / kTicksPerSecond; }

  // Sums that leave the 64-bit range stop at its ends (kTime_Max / kTime_Min) instead of wrapping.
  friend constexpr TickTime operator+(TickTime a, TickTime b) noexcept {
    std::int64_t sum = 0;
    if (__builtin_add_overflow(a.ticks_, b.ticks_, &sum))
      sum = b.ticks_ > 0 ? std::numeric_limits<std::int64_t>::max() : std::numeric_limits<std::int64_t>::min();
    return TickTime(sum);
  }
  friend constexpr TickTime operator-(TickTime a, TickTime b) noexcept {
    std::int64_t diff = 0;
    if (__builtin_sub_overflow(a.ticks_, b.ticks_, &diff))
      diff = b.ticks_ < 0 ? std::numeric_limits<std::int64_t>::max() : std::numeric_limits<std::int64_t>::min();
    return TickTime(diff);
  }
  TickTime& operator+=(TickTime other) noexcept { return *this = *this + other; }

  friend constexpr auto operator<=>(TickTime, TickTime) noexcept = default;

 private:
  std::int64_t ticks_ = 0;
};

inline constexpr TickTime kTime_Zero{0};
inline constexpr TickTime kTime_Max{std::numeric_limits<std::int64_t>::max()};
inline constexpr TickTime kTime_Min{std::numeric_limits<std::int64_t>::min()};

}  // namespace kelmediatypes
