#pragma once

#include <optional>
#include <string>

#include "kelcaption/TimeCode.h"

namespace kelcaption {

// A model document with every state time written the same way: "HH:MM:SS.mmm" when all of them
// fall on whole milliseconds, else all as tick counts (which read back exactly); with `rate`,
// each state also gets the frames it shows on at that rate: "beginFrame", the first frame that
// starts at or after its begin, and "endFrame", the first that starts at or after its end.
std::string WithStateTimes(const std::string& document, const std::optional<FrameRate>& rate);

}  // namespace kelcaption
