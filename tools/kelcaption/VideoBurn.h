#pragma once

#include <string>

#include "kelcaption/CommandLine.h"
#include "kelcaption/VideoInput.h"
#include "kelcaption/VideoOutput.h"

namespace kelcaption {

// What `kelcaption burn CAPTIONS VIDEO -o OUT` is told.
struct VideoBurnOptions {
  CaptionFileOptions file;
  std::string video;
  std::string output;
  EncoderSettings encoder;
  // Shifts the captions by a signed time ("+1.5", "-01:00:00:00"), on top of matching time codes.
  std::string offset;
  bool quiet = false;
  bool smoothRollUp = false;  // see CaptionBurner::SetSmoothRollUp
};

// Burns the captions into the video, decoded and encoded in this process: each frame gets the
// captions of its presentation time, blended in its own pixel format, and OUT appears only when
// the whole file is written. Captions timed by time codes start at the video's start time code
// when it has one. Returns the exit status; throws as the subcommands do.
int BurnVideo(const VideoBurnOptions& options);

// Caption time less video time: the video's start time code for captions timed by time codes
// (`quiet` false says so on standard error), less `offset` (as --offset takes it; may be empty).
kelmediatypes::TickTime CaptionShift(const std::string& captionFile, const std::string& offset, const VideoInput& input,
                                     bool quiet);

}  // namespace kelcaption
