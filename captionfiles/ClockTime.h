#pragma once

#include <cstdint>
#include <optional>

#include "kelmediatypes/TickTime.h"

namespace kelcaptionfiles {

// The time of hours, minutes, seconds and milliseconds (none negative; minutes and seconds may
// run past 59), or nothing when it is past what a tick count holds. Every clock-time reader goes
// through here, so that no file's hour count overflows a product of hours and ticks.
std::optional<kelmediatypes::TickTime> ClockTime(std::uint64_t hours, std::uint64_t minutes, std::uint64_t seconds,
                                                 std::uint64_t milliseconds);

}  // namespace kelcaptionfiles
