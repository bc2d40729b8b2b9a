#pragma once

#include <string>

#include "captionfiles/ExportCues.h"
#include "kelmediatypes/TimeDisplay.h"

namespace kelcaptionfiles {

// Timed text (TTML) of the IMSC 1.1 Text Profile: media time, a region each for captions at the
// top, middle and bottom of the frame's 80 % title area, a <p> per cue with a <br/> between its
// lines and a <span> per styled run (colour, background, italics, bold, underline). Times are
// "HH:MM:SS.mmm" for the millisecond display; for a frame display the frame count at its rate
// ("1234f", with ttp:frameRate and ttp:frameRateMultiplier), which media time reads exactly at
// 29.97 frames a second too. Cues placed by a position are written at their anchor, counted in
// `notes`.
std::string WriteTtml(const ExportCues& cues, kelmediatypes::TimeDisplay display, FileNotes& notes);

}  // namespace kelcaptionfiles
