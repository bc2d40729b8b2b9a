#include "captionfiles/SccWriter.h"

#include <cstdio>

#include "captionfiles/Line21Encoding.h"
#include "captionfiles/Line21Timeline.h"

namespace kelcaptionfiles {

namespace {

std::string Text(const Line21Pairs& line21, const FrameClock& clock) {
  std::string out = "Scenarist_SCC V1.0";
  std::int64_t next = -1;
  for (const auto& [frame, pair] : line21.pairs) {
    if (frame != next || line21.lineStarts.contains(frame)) out += "\n\n" + clock.TimeCodeText(frame) + "\t";
    else out += " ";
    char word[8];
    std::snprintf(word, sizeof word, "%02x%02x", WithOddParity(pair[0]), WithOddParity(pair[1]));
    out += word;
    next = frame + 1;
  }
  return out + "\n\n";
}

}  // namespace

std::string WriteScc(const ExportCues& cues, const FrameClock& clock, FileNotes& notes) {
  // Line 21 runs at 29.97 frames a second whatever the time codes say.
  return Text(EncodeLine21(cues, notes), FrameClock(30000, 1001, clock.DropFrame()));
}

}  // namespace kelcaptionfiles
