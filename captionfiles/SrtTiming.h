#pragma once

#include <optional>

#include "captionfiles/ReadProblems.h"
#include "captionfiles/TextLines.h"
#include "kelmediatypes/TickTime.h"

namespace kelcaptionfiles {

// A SubRip time line, "00:00:01,000 --> 00:00:02,500", read as players read it: ',' or '.'
// before the milliseconds, milliseconds missing or of fewer digits (a decimal fraction), hours
// missing, minutes and seconds past 59 carried over. Each of those is reported as repaired.
struct SrtTiming {
  kelmediatypes::TickTime begin;
  kelmediatypes::TickTime end;
  std::size_t rest = 0;  // where the text after the end time starts
};

// Nothing when the line cannot be read as a time line; that is reported, at its column.
std::optional<SrtTiming> ReadSrtTiming(const Line& line, ReadProblems& problems);

}  // namespace kelcaptionfiles
