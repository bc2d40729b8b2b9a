#pragma once

// Time expressions of timed text (TTML): clock times ("00:00:01.5", "00:00:01:12" with frames)
// and offsets ("1.5s", "90f", "2ms", "1h", "3m", "10000t"), in media time.

#include <cstdint>
#include <optional>
#include <string_view>

namespace kelcaptionfiles {

// The document's ttp: rates that frame and tick counts are taken in.
struct TtmlRates {
  long double frameRate = 30;  // ttp:frameRate times ttp:frameRateMultiplier
  long double subFrameRate = 1;
  long double tickRate = 1;
};

// The ticks (kelmediatypes::TickTime) of a time expression; nothing when `text` is none, or
// beyond about a million hours.
std::optional<std::int64_t> TtmlTicks(std::string_view text, const TtmlRates& rates);

// A decimal number without sign ("12", "0.25"); nothing for anything else.
std::optional<long double> TtmlNumber(std::string_view text);

}  // namespace kelcaptionfiles
