#pragma once

#include <vector>

#include "captionfiles/ReadProblems.h"
#include "captionfiles/TextLines.h"
#include "kelcaptionfiles/SubtitleStyle.h"
#include "kelcaptioning/CaptionList.h"

namespace kelcaptionfiles {

// The text lines of one SubRip cue as players show them: one paragraph per line, and per \N or
// \n; \h a no-break space; <b>, <i>, <u> and <font color= face= size=> styles that hold until
// they are closed, across lines too (colours by CSS name or hex, with or without '#'); ASS
// override blocks {\an8} whose paragraph anchor (\an, \a), weight, slant, underline, colour,
// face and size are applied. What cannot be shown (<s>, other override tags) is reported; tags
// no player knows are removed and reported. Null when the cue has no text.
kelcaptioning::CaptionPtr ReadSrtCueText(const std::vector<Line>& lines, const SubtitleStyle& base,
                                         ReadProblems& problems);

}  // namespace kelcaptionfiles
