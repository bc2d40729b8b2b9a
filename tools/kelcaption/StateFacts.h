#pragma once

#include <string>
#include <vector>

#include "kelcaptionfiles/CaptionTimeline.h"
#include "kelcore/Geometry.h"
#include "kelui/inkpad/Inkpad.h"

namespace kelcaption {

// What one caption window of a state shows, in words and in pixels of the frame.
struct ShownWindow {
  int number = 0;
  // Its text, a line per row that holds any, outer spaces trimmed (UTF-8).
  std::vector<std::string> lines;
  // The window's own rectangle when it is filled (else empty), then the rectangles of its text.
  kelcore::RectT<float> fill{};
  std::vector<kelcore::RectT<float>> textBoxes;
};

// What a state shows, as the checks and the report read it.
struct StateFacts {
  kelmediatypes::TickTime begin;
  kelmediatypes::TickTime end;
  std::vector<ShownWindow> windows;  // visible ones, in drawing order
};

// The number of characters (code points) of a UTF-8 line.
long CharacterCount(const std::string& line);

// The facts of each state of `timeline` in a frame of `width` x `height`; `inkpad` measures
// subtitle text as the drawing does.
std::vector<StateFacts> FactsOf(const kelcaptionfiles::CaptionTimeline& timeline, kelui::inkpad::Inkpad& inkpad,
                                int width, int height);

}  // namespace kelcaption
