#pragma once

#include <string>
#include <vector>

#include "kelcaptionfiles/CcDataCaptions.h"

extern "C" {
#include <libavutil/frame.h>
}

namespace kelcaption {

// The cc_data triplets of the A/53 caption data that the decoder attached to `frame`, timed at
// `time`, where the frame shows.
void AppendFrameCcData(const AVFrame& frame, kelmediatypes::TickTime time,
                       std::vector<kelcaptionfiles::TimedCcData>& data);

// The caption data that the pictures of a video carry, as libavcodec exports it while decoding,
// and whether the picture is wide (its digital-TV captions then lie on a 42-column grid).
struct EmbeddedCcData {
  kelcaptionfiles::CcDataRead read;
  bool wideScreen = true;
};
// Decodes every picture of `video`; throws std::runtime_error as VideoInput does.
EmbeddedCcData ReadEmbeddedCcData(const std::string& video);

}  // namespace kelcaption
