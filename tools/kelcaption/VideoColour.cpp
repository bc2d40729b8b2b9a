#include "kelcaption/VideoColour.h"

#include <algorithm>
#include <cmath>

extern "C" {
#include <libavutil/pixdesc.h>
}

namespace kelcaption {

namespace {

// BT.2408 graphics white, in cd/m2; PQ is absolute up to 10000, HLG relative to a 1000 cd/m2 display.
constexpr double kGraphicsWhite = 203.0;
constexpr double kPqPeak = 10000.0;
constexpr double kHlgDisplayPeak = 1000.0;
constexpr double kHlgSystemGamma = 1.2;

// BT.1886 display gamma of SDR video, both ways.
double ToLinear(double v) { return std::pow(std::clamp(v, 0.0, 1.0), 2.4); }
double FromLinear(double v) { return std::pow(std::clamp(v, 0.0, 1.0), 1.0 / 2.4); }

// SMPTE ST 2084 inverse EOTF: display light (1 = 10000 cd/m2) to signal.
double PqSignal(double light) {
  const double m1 = 2610.0 / 16384, m2 = 2523.0 / 4096 * 128, c1 = 3424.0 / 4096, c2 = 2413.0 / 4096 * 32,
               c3 = 2392.0 / 4096 * 32;
  const double p = std::pow(std::max(light, 0.0), m1);
  return std::pow((c1 + c2 * p) / (1 + c3 * p), m2);
}

// ARIB STD-B67 (HLG) OETF: scene light (0 to 1) to signal.
double HlgSignal(double scene) {
  const double a = 0.17883277, b = 1 - 4 * a, c = 0.5 - a * std::log(4 * a);
  scene = std::max(scene, 0.0);
  return scene <= 1.0 / 12 ? std::sqrt(3 * scene) : a * std::log(12 * scene - b) + c;
}

// Linear BT.709 primaries to linear BT.2020 primaries (BT.2087).
std::array<double, 3> To2020(const std::array<double, 3>& c) {
  return {0.6274 * c[0] + 0.3293 * c[1] + 0.0433 * c[2], 0.0691 * c[0] + 0.9195 * c[1] + 0.0114 * c[2],
          0.0164 * c[0] + 0.0880 * c[1] + 0.8956 * c[2]};
}

struct LumaWeights {
  double kr, kb;
};
LumaWeights WeightsOf(VideoColour::Matrix matrix) {
  switch (matrix) {
    case VideoColour::Matrix::kBt601:
      return {0.299, 0.114};
    case VideoColour::Matrix::kBt2020:
      return {0.2627, 0.0593};
    case VideoColour::Matrix::kBt709:
      break;
  }
  return {0.2126, 0.0722};
}

}  // namespace

VideoColour VideoColour::Of(const AVFrame& frame) {
  VideoColour colour;
  const auto format = static_cast<AVPixelFormat>(frame.format);
  const AVPixFmtDescriptor* descriptor = av_pix_fmt_desc_get(format);
  colour.rgb = descriptor != nullptr && (descriptor->flags & AV_PIX_FMT_FLAG_RGB) != 0;
  if (frame.color_trc == AVCOL_TRC_SMPTE2084) colour.transfer = Transfer::kPq;
  if (frame.color_trc == AVCOL_TRC_ARIB_STD_B67) colour.transfer = Transfer::kHlg;
  const bool hdr = colour.transfer != Transfer::kSdr;
  colour.bt2020Primaries = frame.color_primaries == AVCOL_PRI_BT2020 || (hdr && frame.color_primaries == AVCOL_PRI_UNSPECIFIED);
  switch (frame.colorspace) {
    case AVCOL_SPC_BT709:
      colour.matrix = Matrix::kBt709;
      break;
    case AVCOL_SPC_BT470BG:
    case AVCOL_SPC_SMPTE170M:
    case AVCOL_SPC_FCC:
      colour.matrix = Matrix::kBt601;
      break;
    case AVCOL_SPC_BT2020_NCL:
    case AVCOL_SPC_BT2020_CL:
      colour.matrix = Matrix::kBt2020;
      break;
    default:
      colour.matrix = hdr || colour.bt2020Primaries ? Matrix::kBt2020
                      : frame.height >= 720         ? Matrix::kBt709
                                                    : Matrix::kBt601;
  }
  colour.fullRange = colour.rgb || frame.color_range == AVCOL_RANGE_JPEG || format == AV_PIX_FMT_YUVJ420P ||
                     format == AV_PIX_FMT_YUVJ422P || format == AV_PIX_FMT_YUVJ444P || format == AV_PIX_FMT_YUVJ440P ||
                     format == AV_PIX_FMT_YUVJ411P;
  return colour;
}

std::array<double, 3> VideoColour::Encode(double r, double g, double b, int depth) const {
  std::array<double, 3> c{std::clamp(r, 0.0, 1.0), std::clamp(g, 0.0, 1.0), std::clamp(b, 0.0, 1.0)};
  if (transfer != Transfer::kSdr || bt2020Primaries) {
    std::array<double, 3> light{ToLinear(c[0]), ToLinear(c[1]), ToLinear(c[2])};
    if (bt2020Primaries) light = To2020(light);
    switch (transfer) {
      case Transfer::kSdr:
        for (double& v : light) v = FromLinear(v);
        break;
      case Transfer::kPq:
        for (double& v : light) v = PqSignal(v * kGraphicsWhite / kPqPeak);
        break;
      case Transfer::kHlg: {
        // Display light relative to the display's peak, back through the HLG OOTF to scene light.
        for (double& v : light) v *= kGraphicsWhite / kHlgDisplayPeak;
        const double luminance = 0.2627 * light[0] + 0.6780 * light[1] + 0.0593 * light[2];
        const double gain = luminance > 0 ? std::pow(luminance, (1 - kHlgSystemGamma) / kHlgSystemGamma) : 0.0;
        for (double& v : light) v = HlgSignal(v * gain);
        break;
      }
    }
    c = light;
  }
  const double top = std::ldexp(1.0, depth) - 1;
  if (rgb) return {c[0] * top, c[1] * top, c[2] * top};
  const auto [kr, kb] = WeightsOf(matrix);
  const double y = kr * c[0] + (1 - kr - kb) * c[1] + kb * c[2];
  const double cb = (c[2] - y) / (2 * (1 - kb)), cr = (c[0] - y) / (2 * (1 - kr));
  const double middle = std::ldexp(1.0, depth - 1);
  if (fullRange) return {y * top, middle + cb * top, middle + cr * top};
  const double unit = std::ldexp(1.0, depth - 8);  // limited range scales the 8-bit levels
  return {(16 + 219 * y) * unit, middle + 224 * cb * unit, middle + 224 * cr * unit};
}

}  // namespace kelcaption
