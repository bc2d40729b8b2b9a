#pragma once

#include <memory>
#include <string>

#include "kelcaption/Frame.h"
#include "kelcaption/VideoInput.h"

struct SwsContext;

namespace kelcaption {

// Pictures of a video at times asked in increasing order, scaled to a small size: the video is
// decoded once from start to end, and a picture is scaled only when it is asked for.
class VideoStills {
 public:
  // Throws std::runtime_error when the video cannot be read.
  VideoStills(VideoInput& input, int width, int height);
  ~VideoStills();
  VideoStills(const VideoStills&) = delete;
  VideoStills& operator=(const VideoStills&) = delete;

  // The picture showing at `time` (video time): the first one before it, the last one after it;
  // null for a video without pictures.
  const Frame* At(kelmediatypes::TickTime time);

 private:
  VideoInput& input_;
  Frame still_;
  AVFrame* current_;
  AVFrame* next_;
  bool haveCurrent_ = false, haveNext_ = false, ended_ = false, scaled_ = false;
  SwsContext* scaler_ = nullptr;
};

}  // namespace kelcaption
