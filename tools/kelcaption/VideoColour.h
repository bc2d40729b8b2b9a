#pragma once

#include <array>

extern "C" {
#include <libavutil/frame.h>
}

namespace kelcaption {

// How a video stream encodes colour, and what a caption colour becomes in it. Captions are drawn
// as SDR BT.709 colours; a frame of other primaries or an HDR transfer gets them converted, with
// caption white at the graphics white of ITU-R BT.2408 (203 cd/m2), not at peak brightness.
struct VideoColour {
  enum class Matrix { kBt601, kBt709, kBt2020 };
  enum class Transfer { kSdr, kPq, kHlg };

  bool rgb = false;  // components are R, G, B, full range; else Y, Cb, Cr
  Matrix matrix = Matrix::kBt709;
  bool fullRange = false;
  bool bt2020Primaries = false;
  Transfer transfer = Transfer::kSdr;

  // From a decoded frame's tags. Untagged frames are taken as players take them: BT.2020 for HDR,
  // else BT.709 from 720 lines up and BT.601 below; limited range unless a JPEG format says full.
  static VideoColour Of(const AVFrame& frame);

  // The frame's components of the caption colour `r`, `g`, `b` (each 0 to 1): R, G, B or Y, Cb, Cr,
  // as code values of a component of `depth` bits.
  std::array<double, 3> Encode(double r, double g, double b, int depth) const;
};

}  // namespace kelcaption
