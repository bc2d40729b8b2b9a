#pragma once

// Captions as line 21 sends them: the byte pair of caption channel 1 in each frame, before parity.
// SCC files write these pairs as text; MCC files carry them in caption distribution packets.

#include <cstdint>
#include <map>
#include <set>

#include "captionfiles/ExportCues.h"
#include "captionfiles/ExportTimes.h"
#include "captionfiles/Line21RowWriter.h"

namespace kelcaptionfiles {

struct Line21Pairs {
  // By frame at 30000/1001 frames a second; frames not named send nothing (0x80 0x80).
  std::map<std::int64_t, Line21Pair> pairs;
  // Frames whose pair shows or erases a caption, so that a text file starts a line there and
  // readers that time a line's pairs by its first (FFmpeg does) show them at those frames.
  std::set<std::int64_t> lineStarts;
};

// Each cue in the style it came in. Pop-on (and cues of other sources): loaded into the
// non-displayed memory (RCL, ENM, a preamble address code per row for its row and indent, tab
// offsets, mid-row codes for colour, italics and underline, standard, special and extended
// characters) in the frames before its begin time, shown by an end-of-caption code at that frame
// and erased (EDM) at its end unless the next cue takes its place. Roll-up and paint-on: the pairs
// that make the cue from the one before straight in the displayed memory (see DisplayEdit), the one
// that changes what shows at the begin time; a cue that its style cannot make so is sent as pop-on
// and counted in `notes`. Control codes are sent twice.
//
// Cues whose lines do not stand on the 15 x 32 grid are wrapped at spaces to 32 columns and stacked
// by their anchor. What does not fit and what line 21 cannot carry is counted in `notes`: rows past
// the fourth (left out), colours other than the seven (the nearest written), bold, backgrounds,
// characters outside the sets ('?'), and captions shown late because the one before left too few
// frames to send them.
Line21Pairs EncodeLine21(const ExportCues& cues, FileNotes& notes);

}  // namespace kelcaptionfiles
