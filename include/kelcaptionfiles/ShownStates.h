#pragma once

#include <string_view>

#include "kelcaptionfiles/CaptionTimeline.h"
#include "kelcaptionfiles/Export.h"
#include "kelcaptionfiles/ReadResult.h"
#include "kelcaptioning/CaptionList.h"

namespace kelcaptionfiles {

// Measures open captions: stores each paragraph's line width and height in the caption, and
// tells the width of a run of text, so that lines can be wrapped before they are placed. A host
// with a drawing context measures with the caption library:
//
//   struct InkpadMeasurer : kelcaptionfiles::CaptionMeasurer {
//     kelui::inkpad::Inkpad* inkpad;
//     void Measure(kelcaptioning::CaptionPtr& caption) override {
//       kelcaptioningui::RefreshCaptionSizeInfo(caption, inkpad, false, 0, 0);
//     }
//     float TextWidth(const kelcaptioning::TextSpanAttributes& style, std::u16string_view text) override {
//       return kelcaptioningui::MeasureSpanTextWidth(style, text, inkpad);
//     }
//   };
class CaptionMeasurer {
 public:
  virtual ~CaptionMeasurer() = default;
  virtual void Measure(kelcaptioning::CaptionPtr& caption) = 0;
  // The width of `text` drawn in `style`, in pixels of the caption area, as Measure counts a
  // span's text (without the paragraph's side margins).
  virtual float TextWidth(const kelcaptioning::TextSpanAttributes& style, std::u16string_view text) = 0;
};

// The states that `result` shows in a frame of `frameWidth` x `frameHeight`: a timeline as it
// is; a caption list placed in the default caption area (80 % of the frame), or over the whole
// frame with lines filled as browsers fill them when the result asks (browserLayout), then cut
// into states. Grid captions are placed on their format's grid, in place. Open captions are laid out
// (LayOutOpenCaptions): `result`'s list becomes the laid-out list, its boxes are used up, and a
// caption that finds no room is noted in its notes.
KELCAPTIONFILES_API CaptionTimeline ShownStates(ReadResult& result, int frameWidth, int frameHeight,
                                                CaptionMeasurer& measurer);

// Open captions as players show them, in a new list: each caption's lines wrapped to the width
// it may use, measured with `measurer`, placed by its CueBox in `boxes` or else by its
// paragraphs' anchors and free positions, then moved clear of the captions shown with it
// (CaptionStacking). Every line stays inside the caption area. Captions that find no room are
// noted once in `notes`. The area is `frameWidth` x `frameHeight` and `areaWidth` x `areaHeight`,
// centred, both positive. Wrapped lines are balanced, or filled each as far as it goes
// (`balanceLines` false), as browsers fill WebVTT cues.
KELCAPTIONFILES_API kelcaptioning::CaptionListPtr LayOutOpenCaptions(const kelcaptioning::CaptionList& list,
                                                                     const CueBoxes& boxes, int frameWidth,
                                                                     int frameHeight, int areaWidth, int areaHeight,
                                                                     CaptionMeasurer& measurer, FileNotes& notes,
                                                                     bool balanceLines = true);

// Puts an open caption's free-positioned paragraphs in place once they are measured. Free cues
// carry their position as fractions until then: x is where the alignment point of the cue box
// lies (left edge, centre or right edge), y is the box's top, or 1 for "at the bottom". They
// become the top-left corners of the measured lines, stacked, in an area of `areaWidth` x
// `areaHeight`.
KELCAPTIONFILES_API void PlaceFreeCues(kelcaptioning::Caption& caption, int areaWidth, int areaHeight);

}  // namespace kelcaptionfiles
