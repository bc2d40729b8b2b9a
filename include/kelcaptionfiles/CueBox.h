#pragma once

#include <map>
#include <optional>

#include "kelcaptioning/CaptionList.h"

namespace kelcaptionfiles {

// Where a subtitle file asks one caption to stand when its paragraphs' anchor cannot say it:
// a WebVTT cue's line, position and size, or a SubRip {\pos(x,y)}. Fractions are of the frame.
struct CueBox {
  // The box's width, which its lines wrap to (WebVTT size); none: as wide as its widest line.
  std::optional<double> width;
  // The point the box is pinned to across; none: where the paragraphs' alignment puts it.
  std::optional<double> x;
  // Which point of the box lies on x: 0 its left edge, 0.5 its centre, 1 its right edge.
  double alignX = 0.5;
  // The point the box is pinned to down; none: the bottom, or the line below.
  std::optional<double> y;
  // Which point of the box lies on y: 0 its top, 0.5 its centre, 1 its bottom.
  double alignY = 0.0;
  // A line number (WebVTT snap-to-lines): the box stands on line n of the frame counted in its
  // own line height, 0 the top line and -1 the bottom one.
  std::optional<int> line;

  friend bool operator==(const CueBox&, const CueBox&) = default;
};

// The boxes a reader asked for, by caption; captions without one are placed by their anchors.
using CueBoxes = std::map<const kelcaptioning::Caption*, CueBox>;

}  // namespace kelcaptionfiles
