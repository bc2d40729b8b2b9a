#pragma once

#include <functional>
#include <optional>
#include <string>

#include "kelmediatypes/TickTime.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

namespace kelcaption {

// A video file opened for reading: its best video stream decoded frame by frame, the packets of its
// other streams handed on as they are. A damaged file is an error, not a run of broken frames.
class VideoInput {
 public:
  // Throws std::runtime_error naming `path` when it cannot be opened or holds no video it can decode.
  explicit VideoInput(const std::string& path);
  ~VideoInput();
  VideoInput(const VideoInput&) = delete;
  VideoInput& operator=(const VideoInput&) = delete;

  AVFormatContext& Format() const noexcept { return *format_; }
  AVStream& Stream() const noexcept { return *format_->streams[streamIndex_]; }
  const AVCodecContext& Decoder() const noexcept { return *decoder_; }

  // The next decoded frame into `frame` (true), or false when the video has ended. Packets of the
  // other streams read on the way go to `other`. Throws std::runtime_error where the file is damaged.
  bool NextFrame(AVFrame& frame, const std::function<void(AVPacket&)>& other);

  // Where `frame` shows, from the start of the file (the time its first stream starts at is 0).
  kelmediatypes::TickTime PresentationTime(const AVFrame& frame) const;
  // The frames the stream is expected to hold: its count in the container, else its duration times
  // its frame rate; 0 when neither is known.
  long long ExpectedFrames() const;
  // Frames a second, as the container or the stream tells; 0/1 when unknown.
  AVRational FrameRate() const;
  // The time code of the first frame ("HH:MM:SS:FF", or ";" before the frames when drop-frame), from
  // the video stream's, the container's or a time code track's tags; empty when there is none.
  std::string StartTimeCode() const;

 private:
  bool Receive(AVFrame& frame);
  [[noreturn]] void Damaged(int error, const char* what) const;

  std::string path_;
  AVFormatContext* format_ = nullptr;
  AVCodecContext* decoder_ = nullptr;
  AVPacket* packet_ = nullptr;
  int streamIndex_ = -1;
  bool draining_ = false;
  long long decoded_ = 0;
  std::int64_t lastPts_ = AV_NOPTS_VALUE;
};

}  // namespace kelcaption
