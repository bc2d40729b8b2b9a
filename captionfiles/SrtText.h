#pragma once

#include <optional>
#include <vector>

#include "captionfiles/ReadProblems.h"
#include "captionfiles/TextLines.h"
#include "kelcaptionfiles/CueBox.h"
#include "kelcaptionfiles/SubtitleStyle.h"
#include "kelcaptioning/CaptionList.h"

namespace kelcaptionfiles {

// The text lines of one SubRip cue as players show them: one paragraph per line, and per \N or
// \n; \h a no-break space; <b>, <i>, <u> and <font color= face= size=> styles that hold until
// they are closed, across lines too (colours by CSS name or hex, with or without '#'); ASS
// override blocks {\an8} whose paragraph anchor (\an, \a), weight, slant, underline, colour,
// face and size are applied, and {\pos(x,y)} gives the cue a box pinned at (x, y) of the
// 384 x 288 script that players assume, by the point its anchor names. What cannot be shown (<s>,
// other override tags) is reported; tags no player knows are removed and reported. A null
// caption when the cue has no text.
struct SrtCue {
  kelcaptioning::CaptionPtr caption;
  std::optional<CueBox> box;
};
SrtCue ReadSrtCueText(const std::vector<Line>& lines, const SubtitleStyle& base, ReadProblems& problems);

}  // namespace kelcaptionfiles
