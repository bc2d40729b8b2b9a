#pragma once

#include <string>

#include "captionfiles/ExportCues.h"
#include "captionfiles/ExportTimes.h"

namespace kelcaptionfiles {

// Scenarist SCC of caption channel 1: each cue a pop-on caption, loaded into the non-displayed
// memory (RCL, ENM, a preamble address code per row for its row and indent, tab offsets, mid-row
// codes for colour, italics and underline, standard, special and extended characters) in the
// frames before its begin time, shown by an end-of-caption code at that frame and erased (EDM) at
// its end unless the next cue takes its place. Control codes are sent twice, every byte with odd
// parity; time codes count frames at 30000/1001 a second and are written by `clock` (drop frame
// or not).
//
// Cues whose lines do not stand on the 15 x 32 grid are wrapped at spaces to 32 columns and stacked
// by their anchor. What does not fit and what line 21 cannot carry is counted in `notes`: rows past
// the fourth (left out), colours other than the seven (the nearest written), bold, backgrounds,
// characters outside the sets ('?'), and captions shown late because the one before left too few
// frames to load them. Roll-up and paint-on sources are written as pop-on captions, a state each.
std::string WriteScc(const ExportCues& cues, const FrameClock& clock, FileNotes& notes);

}  // namespace kelcaptionfiles
