#pragma once

#include <string>

#include "captionfiles/ExportCues.h"
#include "captionfiles/ExportTimes.h"

namespace kelcaptionfiles {

// EBU STL (Tech 3264) of the Latin character table, at 25 or 30 frames a second as `clock`
// counts them: a header (GSI) and a text block (TTI, with extension blocks for longer text) per
// cue. Teletext (display standard 1) when the captions came from teletext: rows of 40 columns
// placed at their row and column, boxed as teletext subtitles are; open subtitling (display
// standard 0) for any other source, each cue at the top, bottom, left, centre or right its anchor
// gives. Colours go as alpha colour codes, which take a cell (the space before a change of colour
// when there is one), italics and underline as the codes 0x80 to 0x83. What the file cannot carry
// is counted in `notes`.
std::string WriteEbuStl(const ExportCues& cues, const FrameClock& clock, FileNotes& notes);

}  // namespace kelcaptionfiles
