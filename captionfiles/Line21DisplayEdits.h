#pragma once

// Roll-up and paint-on captions: the pairs that change what a decoder shows by writing straight
// into its displayed memory, as a decoder of those styles receives them.

#include <optional>
#include <vector>

#include "captionfiles/Line21RowWriter.h"
#include "kelcaptionfiles/CaptionTimeline.h"

namespace kelcaptionfiles {

struct Line21Edit {
  std::vector<Line21Group> groups;  // empty when `lines` already show
  // The one pair that changes what shows: pair `shownPair` of group `shownGroup`.
  std::size_t shownGroup = 0;
  std::size_t shownPair = 0;
};

// The groups that turn what `decoder` shows into `lines`, in the style of `cause`:
// - roll-up: the RU code of `depth` rows and a preamble address code for the base row when the
//   decoder is not rolling up that many rows, then a carriage return for a state that rolled up,
//   otherwise the characters that the base row gained (with a preamble address code first when the
//   cursor is not where they go, and a delete to end of row when the row got shorter);
// - paint-on: RDC when the decoder is in another style, then each changed row likewise.
// Nothing when that does not give `lines`, or the change would show in more than one frame: such
// a state is left to pop-on. What line 21 cannot carry of the rows is counted in `notes`.
std::optional<Line21Edit> DisplayEdit(const Line21Decoder& decoder, const std::vector<ExportLine>& lines,
                                      const StateCause& cause, int depth, FileNotes& notes);

}  // namespace kelcaptionfiles
