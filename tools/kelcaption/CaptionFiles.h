#pragma once

#include <string>

#include "kelcaption/Frame.h"
#include "readers/CaptionTimeline.h"

namespace kelcaption {

struct CaptionFileOptions {
  // The line-21 caption channel that SCC files are decoded on: 1 (CC1) or 2 (CC2).
  int channel = 1;
};

// A caption file of any kind the tool reads (.srt, .vtt, .scc, .stl, caption or model documents
// in .json), chosen by its extension, as the states a decoder shows in a frame of `width` x
// `height`. Subtitles are measured with real fonts on `measuring` and placed from their anchors;
// grid captions are placed on their format's grid. Warnings (what a file asks for that is not
// applied) go to standard error. Throws ReadError or std::runtime_error with a message for the
// user.
CaptionTimeline LoadCaptionFile(const std::string& path, int width, int height, Frame& measuring,
                                const CaptionFileOptions& options = {});

}  // namespace kelcaption
