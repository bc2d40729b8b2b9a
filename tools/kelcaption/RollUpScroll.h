#pragma once

#include <optional>

#include "kelcaptionfiles/CaptionTimeline.h"

namespace kelcaption {

// How long a roll-up takes to scroll a row with --smooth-roll-up. A third of a second is 8 to 10
// frames at the common rates, enough to be seen as motion rather than a jump, and short enough to
// be over long before the next line comes at reading speed, so the text is still while it is read.
inline constexpr kelmediatypes::TickTime kRollUpScrollTime{kelmediatypes::TickTime::kTicksPerSecond / 3};

// A line-21 roll-up caught in its scroll: the rows of the roll-up window glide up a row, from
// where they stood before a carriage return to where it put them.
struct RollUpScroll {
  // What showed before the carriage return; its top row slides out above the window. Null when
  // nothing showed.
  kelcaptioning::CaptioningRenderableModelPtr before;
  // The roll-up window's rows in the caption grid, top one first.
  int firstRow = 0;
  int rowCount = 0;
  // 0 at the carriage return, growing to 1 where the scroll ends and the state shows as it is.
  double progress = 0.0;
};

// The scroll that shows at `time`, if one does. It starts where a state begins that a carriage
// return rolled up, and runs on through the states that follow at once in the same roll-up window:
// the characters of the new bottom row come a pair a frame and ride in with the row, or hardly any
// scroll would be seen. Another carriage return starts a scroll of its own; any other change, or
// a moment without captions, ends it.
std::optional<RollUpScroll> RollUpScrollAt(const kelcaptionfiles::CaptionTimeline& timeline,
                                           kelmediatypes::TickTime time);

}  // namespace kelcaption
