#pragma once

// Puts a measured caption where its CueBox asks, in the caption area: the box pinned at its
// point by its alignment (WebVTT position and line percentages with their alignments, SubRip
// \pos), or standing on a line number (WebVTT snap-to-lines), each line aligned in the box by its
// paragraph's text alignment. Boxes are kept inside the area, so nothing leaves the frame.

#include "captionfiles/CaptionArea.h"
#include "kelcaptionfiles/CueBox.h"

namespace kelcaptionfiles {

// The width that a caption's lines may use, in pixels of the area: its box's, or the area's.
int WrapWidth(const CueBox* box, const CaptionArea& area);

void PlaceCueBox(kelcaptioning::Caption& caption, const CueBox& box, const CaptionArea& area);

}  // namespace kelcaptionfiles
