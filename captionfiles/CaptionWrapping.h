#pragma once

// Wraps the lines of an open caption that are wider than the space they may use: at line-break
// opportunities (LineBreaking), as evenly as the words allow or each as full as it goes
// (BalancedWrapping), measured in each span's own style. Explicit line breaks (paragraphs) are
// kept; a word wider than a line is cut inside itself.

#include <string>
#include <string_view>
#include <unordered_map>

#include "captionfiles/BalancedWrapping.h"
#include "kelcaptionfiles/ShownStates.h"
#include "kelcaptioning/CaptionList.h"

namespace kelcaptionfiles {

// Text widths through a measurer, each run measured once: subtitles repeat their words.
class MeasuredWidths {
 public:
  explicit MeasuredWidths(CaptionMeasurer& measurer) : measurer_(measurer) {}
  double Of(const kelcaptioning::TextSpanAttributes& style, std::u16string_view text);

 private:
  CaptionMeasurer& measurer_;
  std::unordered_map<std::u16string, double> widths_;
};

// The side margins that measuring adds to a paragraph's text: an eighth of its largest size on
// each side, rounded as a whole.
int ParagraphSideMargins(const kelcaptioning::CaptionTextParagraph& paragraph);

// `caption` itself when each of its paragraphs fits in `maxWidth` (pixels of the caption area:
// side margins included when lines are balanced, its text alone when they are filled);
// otherwise a new caption with its times whose paragraphs are the wrapped lines, each with its
// paragraph's style and position. The spaces where a line wraps are dropped.
kelcaptioning::CaptionPtr WrapCaption(const kelcaptioning::CaptionPtr& caption, int maxWidth, MeasuredWidths& widths,
                                      LineFilling filling = LineFilling::kBalanced);

}  // namespace kelcaptionfiles
