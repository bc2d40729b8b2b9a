#pragma once

#include "kelcaptionfiles/CaptionTimeline.h"
#include "kelcaptionfiles/Export.h"
#include "kelcaptionfiles/ReadResult.h"
#include "kelcaptioning/CaptionList.h"

namespace kelcaptionfiles {

// Measures the lines of an open caption: stores each paragraph's line width and height in the
// caption. A host with a drawing context measures with kelcaptioningui::RefreshCaptionSizeInfo:
//
//   struct InkpadMeasurer : kelcaptionfiles::CaptionMeasurer {
//     kelui::inkpad::Inkpad* inkpad;
//     void Measure(kelcaptioning::CaptionPtr& caption) override {
//       kelcaptioningui::RefreshCaptionSizeInfo(caption, inkpad, false, 0, 0);
//     }
//   };
class CaptionMeasurer {
 public:
  virtual ~CaptionMeasurer() = default;
  virtual void Measure(kelcaptioning::CaptionPtr& caption) = 0;
};

// The states that `result` shows in a frame of `frameWidth` x `frameHeight`: a timeline as it
// is; a caption list placed in the default caption area (80 % of the frame), then cut into
// states. The list's captions are changed in place: grid captions are placed on their format's
// grid, open captions measured with `measurer` and placed from their anchors or free positions.
KELCAPTIONFILES_API CaptionTimeline ShownStates(ReadResult& result, int frameWidth, int frameHeight,
                                                CaptionMeasurer& measurer);

// Puts an open caption's free-positioned paragraphs in place once they are measured. Free cues
// carry their position as fractions until then: x is where the alignment point of the cue box
// lies (left edge, centre or right edge), y is the box's top, or 1 for "at the bottom". They
// become the top-left corners of the measured lines, stacked, in an area of `areaWidth` x
// `areaHeight`.
KELCAPTIONFILES_API void PlaceFreeCues(kelcaptioning::Caption& caption, int areaWidth, int areaHeight);

}  // namespace kelcaptionfiles
