#pragma once

#include <cstdint>
#include <vector>

#include "kelcaption/Frame.h"
#include "kelcaption/VideoColour.h"

extern "C" {
#include <libavutil/frame.h>
#include <libavutil/pixfmt.h>
}

namespace kelcaption {

// Lays a caption layer (premultiplied BGRA, the frame's size) over decoded video frames in their
// own pixel format: planar and semi-planar YUV at any chroma subsampling, 8 to 16 bits, and packed
// or planar RGB. Only the box that holds ink is converted, once per caption state, to the frame's
// components (its matrix, range and transfer); chroma samples take the mean of the luma pixels they
// cover, so the box's edges blend as the frame's own chroma siting has them.
class FrameBlend {
 public:
  // Throws std::runtime_error for a pixel format it cannot blend into (see Supports).
  FrameBlend(AVPixelFormat format, int width, int height, const VideoColour& colour);

  // Whether frames of `format` can take captions: not paletted, bit-packed, hardware, float or big-endian.
  static bool Supports(AVPixelFormat format);

  // Takes what `layer` shows within `ink`. Call again whenever the layer changes.
  void Prepare(const Frame& layer, const Frame::InkBox& ink);
  // Blends what was prepared into `frame` (of the format and size given at construction).
  void Over(AVFrame& frame) const;

 private:
  // One component of the frame (Y, Cb, Cr, R, G, B or alpha) over the box, in its own resolution.
  struct Component {
    int plane = 0, step = 0, offset = 0, shift = 0, depth = 0;
    int log2Width = 0, log2Height = 0;  // subsampling
    int left = 0, top = 0, width = 0, height = 0;
    // Per sample, in units of 1/4096: the caption's premultiplied value and what is kept of the frame.
    std::vector<std::uint32_t> value;
    std::vector<std::uint16_t> keep;
  };

  AVPixelFormat format_;
  int width_, height_;
  VideoColour colour_;
  bool bgra_;  // the frame's bytes are the layer's: the one compositor lays it
  std::vector<Component> components_;
  const Frame* layer_ = nullptr;
  Frame::InkBox ink_{};
};

}  // namespace kelcaption
