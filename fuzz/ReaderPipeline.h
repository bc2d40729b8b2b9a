#pragma once

// What the command-line tool does with what a reader gives, without measuring text: the states
// shown in a 1920 x 1080 frame (captions placed in a 1536 x 864 caption area, then cut into
// render-ready states). Shared by the reader targets, so that a file that reads but cannot be
// shown is found too.

#include "kelcaptionfiles/ShownStates.h"

namespace kel_fuzz {

inline kelcaptionfiles::CaptionTimeline PlaceAndCut(kelcaptionfiles::ReadResult& result) {
  struct NoMeasuring : kelcaptionfiles::CaptionMeasurer {
    void Measure(kelcaptioning::CaptionPtr&) override {}
  } measurer;
  return kelcaptionfiles::ShownStates(result, 1920, 1080, measurer);
}

}  // namespace kel_fuzz
