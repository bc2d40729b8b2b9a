#pragma once

#include <string>

#include "kelcaption/CommandLine.h"
#include "kelcaption/VideoOutput.h"

namespace kelcaption {

// What `kelcaption burn CAPTIONS VIDEO -o OUT` is told.
struct VideoBurnOptions {
  CaptionFileOptions file;
  std::string video;
  std::string output;
  EncoderSettings encoder;
  bool quiet = false;
};

// Burns the captions into the video, decoded and encoded in this process: each frame gets the
// captions of its presentation time, blended in its own pixel format, and OUT appears only when
// the whole file is written. Returns the exit status; throws as the subcommands do.
int BurnVideo(const VideoBurnOptions& options);

}  // namespace kelcaption
