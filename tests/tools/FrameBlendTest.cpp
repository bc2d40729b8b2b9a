#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "kelcaption/Frame.h"
#include "kelcaption/FrameBlend.h"
#include "kelcaption/VideoColour.h"

extern "C" {
#include <libavutil/frame.h>
#include <libavutil/pixdesc.h>
}

// Captions blended into decoded frames in their own pixel formats. Frames are read and written
// through libavutil's own component access, not the blend's.

namespace {

using kelcaption::FrameBlend;
using kelcaption::VideoColour;

struct FrameDeleter {
  void operator()(AVFrame* frame) const { av_frame_free(&frame); }
};
using FramePtr = std::unique_ptr<AVFrame, FrameDeleter>;

// A frame of `format` whose components hold `values` (Y, Cb, Cr or R, G, B, then alpha) everywhere.
FramePtr MakeFrame(AVPixelFormat format, int width, int height, std::vector<int> values, int align = 0) {
  FramePtr frame(av_frame_alloc());
  frame->format = format;
  frame->width = width;
  frame->height = height;
  EXPECT_EQ(av_frame_get_buffer(frame.get(), align), 0);
  for (AVBufferRef* buffer : frame->buf) {
    if (buffer) std::memset(buffer->data, 0, buffer->size);  // packed components are written by OR
  }
  const AVPixFmtDescriptor* d = av_pix_fmt_desc_get(format);
  for (int c = 0; c < d->nb_components; ++c) {
    const bool chroma = !(d->flags & AV_PIX_FMT_FLAG_RGB) && (c == 1 || c == 2);
    const int w = chroma ? AV_CEIL_RSHIFT(width, d->log2_chroma_w) : width;
    const int h = chroma ? AV_CEIL_RSHIFT(height, d->log2_chroma_h) : height;
    std::vector<std::uint16_t> line(static_cast<std::size_t>(w), static_cast<std::uint16_t>(values[static_cast<std::size_t>(c)]));
    for (int y = 0; y < h; ++y) av_write_image_line2(line.data(), frame->data, frame->linesize, d, 0, y, c, w, 2);
  }
  return frame;
}

int Component(const AVFrame& frame, int component, int x, int y) {
  std::uint32_t value = 0;
  av_read_image_line2(&value, const_cast<const std::uint8_t**>(frame.data), frame.linesize,
                      av_pix_fmt_desc_get(static_cast<AVPixelFormat>(frame.format)), x, y, component, 1, 0, 4);
  return static_cast<int>(value);
}

// Paints premultiplied BGRA `pixel` over the rectangle of the layer.
void Paint(kelcaption::Frame& layer, int x0, int y0, int w, int h, std::array<std::uint8_t, 4> pixel) {
  for (int y = y0; y < y0 + h; ++y) {
    for (int x = x0; x < x0 + w; ++x) {
      std::copy(pixel.begin(), pixel.end(), layer.Bytes().begin() + (static_cast<std::ptrdiff_t>(y) * layer.Width() + x) * 4);
    }
  }
}

constexpr std::array<std::uint8_t, 4> kRed{0, 0, 255, 255};
constexpr std::array<std::uint8_t, 4> kWhite{255, 255, 255, 255};
constexpr std::array<std::uint8_t, 4> kHalfWhite{128, 128, 128, 128};

// A frame as MakeFrame makes it with `layer` blended in.
FramePtr Blended(AVPixelFormat format, const kelcaption::Frame& layer, std::vector<int> values,
                 const VideoColour& colour = VideoColour{}, int align = 0) {
  FramePtr frame = MakeFrame(format, layer.Width(), layer.Height(), std::move(values), align);
  FrameBlend blend(format, layer.Width(), layer.Height(), colour);
  blend.Prepare(layer, layer.FindInk());
  blend.Over(*frame);
  return frame;
}

TEST(VideoColour, CaptionColoursBecomeTheMatrixAndRangeCodes) {
  VideoColour bt709;
  const auto white = bt709.Encode(1, 1, 1, 8), black = bt709.Encode(0, 0, 0, 8), red = bt709.Encode(1, 0, 0, 8);
  EXPECT_NEAR(white[0], 235, 0.01);
  EXPECT_NEAR(white[1], 128, 0.01);
  EXPECT_NEAR(white[2], 128, 0.01);
  EXPECT_NEAR(black[0], 16, 0.01);
  EXPECT_NEAR(red[0], 62.6, 0.1);
  EXPECT_NEAR(red[1], 102.3, 0.1);
  EXPECT_NEAR(red[2], 240, 0.01);

  VideoColour bt601;
  bt601.matrix = VideoColour::Matrix::kBt601;
  const auto red601 = bt601.Encode(1, 0, 0, 8);
  EXPECT_NEAR(red601[0], 81.5, 0.1);
  EXPECT_NEAR(red601[1], 90.2, 0.1);

  VideoColour full;
  full.fullRange = true;
  EXPECT_NEAR(full.Encode(1, 1, 1, 8)[0], 255, 0.01);
  EXPECT_NEAR(full.Encode(0, 0, 0, 8)[0], 0, 0.01);
  EXPECT_NEAR(bt709.Encode(1, 1, 1, 10)[0], 940, 0.01);
  EXPECT_NEAR(bt709.Encode(1, 1, 1, 10)[2], 512, 0.01);

  VideoColour rgb;
  rgb.rgb = true;
  const auto orange = rgb.Encode(1, 0.5, 0, 8);
  EXPECT_NEAR(orange[0], 255, 0.01);
  EXPECT_NEAR(orange[1], 127.5, 0.01);
  EXPECT_NEAR(orange[2], 0, 0.01);
}

// Caption white sits at the graphics white of BT.2408 (58 % PQ, 75 % HLG), not at peak white;
// black stays black and grey keeps its hue.
TEST(VideoColour, HdrWhiteIsGraphicsWhite) {
  VideoColour pq;
  pq.matrix = VideoColour::Matrix::kBt2020;
  pq.bt2020Primaries = true;
  pq.transfer = VideoColour::Transfer::kPq;
  const auto white = pq.Encode(1, 1, 1, 10);
  EXPECT_NEAR((white[0] - 64) / 876, 0.58, 0.005);
  EXPECT_NEAR(white[1], 512, 0.5);
  EXPECT_NEAR(pq.Encode(0, 0, 0, 10)[0], 64, 0.5);
  EXPECT_NEAR(pq.Encode(0.5, 0.5, 0.5, 10)[2], 512, 0.5);

  VideoColour hlg = pq;
  hlg.transfer = VideoColour::Transfer::kHlg;
  EXPECT_NEAR((hlg.Encode(1, 1, 1, 10)[0] - 64) / 876, 0.75, 0.005);
  EXPECT_NEAR(hlg.Encode(1, 1, 1, 10)[1], 512, 0.5);
}

// A red square straddling 4:2:0 chroma samples: luma inside is red's, chroma samples take the mean
// of the pixels they cover, and nothing outside the square's samples changes.
TEST(FrameBlend, ChromaAtTheBoxEdgesIsTheMeanOfItsPixels) {
  kelcaption::Frame layer(8, 6);
  Paint(layer, 1, 1, 2, 2, kRed);
  FramePtr frame = Blended(AV_PIX_FMT_YUV420P, layer, {100, 128, 128});
  EXPECT_EQ(Component(*frame, 0, 1, 1), 63);
  EXPECT_EQ(Component(*frame, 0, 2, 2), 63);
  EXPECT_EQ(Component(*frame, 0, 0, 0), 100);
  EXPECT_EQ(Component(*frame, 0, 3, 1), 100);
  // Each of the four samples around the square covers one red pixel of four.
  for (const auto& [x, y] : {std::pair{0, 0}, {1, 0}, {0, 1}, {1, 1}}) {
    EXPECT_EQ(Component(*frame, 2, x, y), 156) << x << "," << y;
    EXPECT_EQ(Component(*frame, 1, x, y), 122) << x << "," << y;
  }
  EXPECT_EQ(Component(*frame, 2, 2, 0), 128);
  EXPECT_EQ(Component(*frame, 2, 0, 2), 128);
}

// At an odd frame size the last chroma sample covers one pixel only.
TEST(FrameBlend, OddFrameEdgeSampleCoversOnePixel) {
  kelcaption::Frame layer(7, 5);
  Paint(layer, 6, 4, 1, 1, kRed);
  FramePtr frame = Blended(AV_PIX_FMT_YUV420P, layer, {100, 128, 128});
  EXPECT_EQ(Component(*frame, 0, 6, 4), 63);
  EXPECT_EQ(Component(*frame, 2, 3, 2), 240);
  EXPECT_EQ(Component(*frame, 0, 5, 4), 100);
}

// Semi-planar, 4:2:2, 4:4:4 and 10-bit forms take the same captions as planar 4:2:0.
TEST(FrameBlend, EveryYuvLayoutGetsTheSameValues) {
  kelcaption::Frame layer(16, 8);
  Paint(layer, 3, 2, 9, 3, kRed);
  Paint(layer, 5, 3, 2, 4, kHalfWhite);
  FramePtr planar = Blended(AV_PIX_FMT_YUV420P, layer, {90, 120, 130});
  for (const AVPixelFormat format : {AV_PIX_FMT_NV12, AV_PIX_FMT_YUV420P10LE, AV_PIX_FMT_P010LE}) {
    const int scale = av_pix_fmt_desc_get(format)->comp[0].depth == 10 ? 4 : 1;
    FramePtr other = Blended(format, layer, {90 * scale, 120 * scale, 130 * scale});
    for (int c = 0; c < 3; ++c) {
      for (int y = 0; y < (c ? 4 : 8); ++y) {
        for (int x = 0; x < (c ? 8 : 16); ++x) {
          EXPECT_NEAR(Component(*other, c, x, y), Component(*planar, c, x, y) * scale, scale)
              << av_get_pix_fmt_name(format) << " component " << c << " at " << x << "," << y;
        }
      }
    }
  }
  FramePtr full = Blended(AV_PIX_FMT_YUV444P, layer, {90, 120, 130});
  FramePtr half = Blended(AV_PIX_FMT_YUV422P, layer, {90, 120, 130});
  EXPECT_EQ(Component(*full, 2, 3, 2), 240);  // 4:4:4 chroma is not spread
  EXPECT_EQ(Component(*full, 2, 2, 2), 130);
  EXPECT_EQ(Component(*half, 2, 1, 2), (240 + 130 + 1) / 2);  // 4:2:2 averages across only
  EXPECT_EQ(Component(*half, 2, 1, 1), 130);
}

TEST(FrameBlend, TenBitWhiteAndHalfCoverage) {
  kelcaption::Frame layer(8, 4);
  Paint(layer, 0, 0, 4, 4, kWhite);
  Paint(layer, 4, 0, 4, 4, kHalfWhite);
  FramePtr frame = Blended(AV_PIX_FMT_P010LE, layer, {400, 512, 512});
  EXPECT_EQ(Component(*frame, 0, 1, 1), 940);
  EXPECT_NEAR(Component(*frame, 0, 5, 1), 940 * 128.0 / 255 + 400 * 127.0 / 255, 1.0);
  EXPECT_EQ(Component(*frame, 1, 3, 1), 512);
}

// RGB frames, packed or planar, get what the caption compositor lays over BGRA.
TEST(FrameBlend, RgbFramesMatchTheCompositor) {
  kelcaption::Frame layer(12, 4);
  Paint(layer, 1, 0, 5, 3, kRed);
  Paint(layer, 4, 1, 6, 3, {40, 80, 120, 160});
  kelcaption::Frame reference(12, 4);
  Paint(reference, 0, 0, 12, 4, {30, 60, 90, 255});
  reference.Composite(layer);
  VideoColour rgb;
  rgb.rgb = true;
  rgb.fullRange = true;
  for (const AVPixelFormat format : {AV_PIX_FMT_RGB24, AV_PIX_FMT_GBRP, AV_PIX_FMT_BGRA}) {
    FramePtr frame = Blended(format, layer, {90, 60, 30, 255}, rgb, format == AV_PIX_FMT_BGRA ? 64 : 0);
    for (int y = 0; y < 4; ++y) {
      for (int x = 0; x < 12; ++x) {
        const std::uint8_t* expected = reference.Bytes().data() + (y * 12 + x) * 4;
        for (int c = 0; c < 3; ++c) {
          EXPECT_NEAR(Component(*frame, c, x, y), expected[2 - c], 1)
              << av_get_pix_fmt_name(format) << " component " << c << " at " << x << "," << y;
        }
      }
    }
  }
}

// A frame's own alpha becomes caption over frame; a new empty state blends nothing.
TEST(FrameBlend, AlphaComponentsAndEmptyStates) {
  kelcaption::Frame layer(4, 4);
  Paint(layer, 0, 0, 2, 2, kHalfWhite);
  FramePtr frame = MakeFrame(AV_PIX_FMT_YUVA420P, 4, 4, {100, 128, 128, 0});
  FrameBlend blend(AV_PIX_FMT_YUVA420P, 4, 4, VideoColour{});
  blend.Prepare(layer, layer.FindInk());
  blend.Over(*frame);
  EXPECT_EQ(Component(*frame, 3, 1, 1), 128);
  EXPECT_EQ(Component(*frame, 3, 2, 2), 0);

  layer.Clear();
  blend.Prepare(layer, layer.FindInk());
  FramePtr untouched = MakeFrame(AV_PIX_FMT_YUVA420P, 4, 4, {100, 128, 128, 0});
  blend.Over(*untouched);
  EXPECT_EQ(Component(*untouched, 0, 0, 0), 100);
  EXPECT_EQ(Component(*untouched, 3, 0, 0), 0);
}

TEST(FrameBlend, RefusesFormatsItCannotWrite) {
  EXPECT_TRUE(FrameBlend::Supports(AV_PIX_FMT_YUV420P));
  EXPECT_TRUE(FrameBlend::Supports(AV_PIX_FMT_P010LE));
  for (const AVPixelFormat format : {AV_PIX_FMT_PAL8, AV_PIX_FMT_MONOBLACK, AV_PIX_FMT_YUV420P10BE, AV_PIX_FMT_GBRPF32LE}) {
    EXPECT_FALSE(FrameBlend::Supports(format)) << av_get_pix_fmt_name(format);
  }
  EXPECT_THROW(FrameBlend(AV_PIX_FMT_PAL8, 4, 4, VideoColour{}), std::runtime_error);
}

}  // namespace
