#include "kelcaption/VideoStills.h"

#include <new>
#include <stdexcept>
#include <utility>

extern "C" {
#include <libswscale/swscale.h>
}

namespace kelcaption {

VideoStills::VideoStills(VideoInput& input, int width, int height)
    : input_(input), still_(width, height), current_(av_frame_alloc()), next_(av_frame_alloc()) {
  if (!current_ || !next_) {
    av_frame_free(&current_);
    av_frame_free(&next_);
    throw std::bad_alloc();
  }
}

VideoStills::~VideoStills() {
  sws_freeContext(scaler_);
  av_frame_free(&current_);
  av_frame_free(&next_);
}

const Frame* VideoStills::At(kelmediatypes::TickTime time) {
  const auto ignore = [](AVPacket&) {};
  while (!ended_) {
    if (!haveNext_) {
      av_frame_unref(next_);
      haveNext_ = input_.NextFrame(*next_, ignore);
      ended_ = !haveNext_;
      if (ended_) break;
    }
    // Before the first picture, the first one stands for the video.
    if (haveCurrent_ && input_.PresentationTime(*next_) > time) break;
    std::swap(current_, next_);
    haveCurrent_ = true;
    haveNext_ = false;
    scaled_ = false;
  }
  if (!haveCurrent_) return nullptr;
  if (!scaled_) {
    scaler_ = sws_getCachedContext(scaler_, current_->width, current_->height, static_cast<AVPixelFormat>(current_->format),
                                   still_.Width(), still_.Height(), AV_PIX_FMT_BGRA, SWS_BILINEAR, nullptr, nullptr,
                                   nullptr);
    if (!scaler_) throw std::runtime_error("cannot scale the video's pictures");
    std::uint8_t* planes[4] = {still_.Bytes().data(), nullptr, nullptr, nullptr};
    const int strides[4] = {still_.Width() * 4, 0, 0, 0};
    sws_scale(scaler_, current_->data, current_->linesize, 0, current_->height, planes, strides);
    scaled_ = true;
  }
  return &still_;
}

}  // namespace kelcaption
