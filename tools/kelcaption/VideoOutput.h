#pragma once

#include <string>
#include <vector>

#include "kelcaption/VideoInput.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

namespace kelcaption {

// How the video is encoded. Empty or negative values take the defaults: the input's codec family
// (H.264 through libx264, HEVC through libx265, else FFmpeg's encoder of the input's codec), a
// quality that looks the same (CRF 18 where the encoder takes one, else the input's bit rate),
// the encoder's own preset, and the input's pixel format.
struct EncoderSettings {
  std::string codec;
  int crf = -1;
  std::string bitrate;  // bits a second, "2M" or "800k" as FFmpeg reads them
  std::string preset;
  std::string pixelFormat;
};

// A video file being written: the input's video encoded from the frames it is given, and the
// input's other streams (audio, subtitles, data) copied packet for packet, with the container's and
// the streams' tags, dispositions, rotation and time code. The muxer's format is chosen by `name`
// (the file's final name) while the bytes go to `path` (the temporary file beside it). Throws
// std::runtime_error when the run fails, UsageError when the settings cannot be used.
class VideoOutput {
 public:
  VideoOutput(const std::string& path, const std::string& name, const VideoInput& input, const EncoderSettings& settings);
  ~VideoOutput();
  VideoOutput(const VideoOutput&) = delete;
  VideoOutput& operator=(const VideoOutput&) = delete;

  // Encodes a decoded frame (its pts in the input stream's time base). The encoder is set up from
  // the first frame: its size, pixel format and colour tags.
  void Write(const AVFrame& frame);
  // A packet of another input stream, in that stream's time base.
  void Copy(AVPacket& packet);
  // Drains the encoder and writes the file's end. Throws when no frame was written.
  void Finish();

 private:
  void Open(const AVFrame& first);
  void AddCopiedStreams();
  void Encode(const AVFrame* frame);
  void Mux(AVPacket& packet);

  std::string name_;
  const VideoInput& input_;
  EncoderSettings settings_;
  AVFormatContext* format_ = nullptr;
  AVCodecContext* encoder_ = nullptr;
  AVStream* video_ = nullptr;
  AVPacket* packet_ = nullptr;
  AVFrame* converted_ = nullptr;
  SwsContext* converter_ = nullptr;
  std::vector<int> streamMap_;           // output stream of each input stream, -1 when not written
  std::vector<AVPacket*> beforeHeader_;  // copied packets that came before the first frame
  bool open_ = false;
};

}  // namespace kelcaption
