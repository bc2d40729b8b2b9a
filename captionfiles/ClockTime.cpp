#include "captionfiles/ClockTime.h"

#include <limits>

namespace kelcaptionfiles {

std::optional<kelmediatypes::TickTime> ClockTime(std::uint64_t hours, std::uint64_t minutes, std::uint64_t seconds,
                                                 std::uint64_t milliseconds) {
  constexpr std::uint64_t kTicksPerMillisecond = kelmediatypes::TickTime::kTicksPerSecond / 1000;
  constexpr std::uint64_t kMaxMilliseconds =
      static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()) / kTicksPerMillisecond;
  // Each step stays below the largest count of milliseconds, so none can wrap.
  if (hours > kMaxMilliseconds / 3'600'000 || minutes > kMaxMilliseconds / 60'000 ||
      seconds > kMaxMilliseconds / 1000 || milliseconds > kMaxMilliseconds) {
    return std::nullopt;
  }
  const std::uint64_t total = hours * 3'600'000 + minutes * 60'000 + seconds * 1000 + milliseconds;
  if (total > kMaxMilliseconds) return std::nullopt;
  return kelmediatypes::TickTime(static_cast<std::int64_t>(total * kTicksPerMillisecond));
}

}  // namespace kelcaptionfiles
