#include "kelcaption/FrameBlend.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <stdexcept>
#include <string>

#include "kelcaptioningui/CaptionLayer.h"

extern "C" {
#include <libavutil/pixdesc.h>
}

namespace kelcaption {

namespace {

constexpr int kFractionBits = 12;
constexpr std::uint32_t kWhole = 1u << kFractionBits;

int WordBytes(const AVComponentDescriptor& component) { return component.depth + component.shift > 8 ? 2 : 1; }

// dst = caption + dst * keep, in 1/4096, on `Word`-sized samples whose bits `shift` up hold the value.
// Where nothing shows, value is 0 and keep whole, which leaves the sample as it is; so samples of
// their own words (planar formats) are blended without a test, in a loop the compiler vectorises.
template <class Word>
void BlendRows(const AVFrame& frame, const std::vector<std::uint32_t>& value, const std::vector<std::uint16_t>& keep,
               int plane, int step, int offset, int shift, int depth, int left, int top, int width, int height) {
  const std::uint32_t mask = (1u << depth) - 1;
  const bool ownWords = step == static_cast<int>(sizeof(Word)) && shift == 0 && offset == 0;
  for (int y = 0; y < height; ++y) {
    std::uint8_t* row = frame.data[plane] + static_cast<std::ptrdiff_t>(top + y) * frame.linesize[plane] +
                        static_cast<std::ptrdiff_t>(left) * step + offset;
    const std::uint32_t* v = value.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
    const std::uint16_t* k = keep.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
    if (ownWords) {
      Word* samples = reinterpret_cast<Word*>(row);
      for (int x = 0; x < width; ++x) {
        samples[x] = static_cast<Word>(std::min(mask, (v[x] + samples[x] * std::uint32_t{k[x]} + kWhole / 2) >> kFractionBits));
      }
      continue;
    }
    for (int x = 0; x < width; ++x) {
      if (k[x] == kWhole) continue;
      std::uint8_t* at = row + static_cast<std::ptrdiff_t>(x) * step;
      Word word;
      std::memcpy(&word, at, sizeof word);
      const std::uint32_t old = (static_cast<std::uint32_t>(word) >> shift) & mask;
      const std::uint32_t blended = std::min(mask, (v[x] + old * k[x] + kWhole / 2) >> kFractionBits);
      word = static_cast<Word>((word & ~(mask << shift)) | (blended << shift));
      std::memcpy(at, &word, sizeof word);
    }
  }
}

}  // namespace

bool FrameBlend::Supports(AVPixelFormat format) {
  const AVPixFmtDescriptor* d = av_pix_fmt_desc_get(format);
  if (d == nullptr || d->nb_components == 0) return false;
  const std::uint64_t refused = AV_PIX_FMT_FLAG_BE | AV_PIX_FMT_FLAG_PAL | AV_PIX_FMT_FLAG_BITSTREAM |
                                AV_PIX_FMT_FLAG_HWACCEL | AV_PIX_FMT_FLAG_BAYER | AV_PIX_FMT_FLAG_FLOAT;
  if ((d->flags & refused) != 0 || std::strncmp(d->name, "xyz", 3) == 0) return false;
  for (int i = 0; i < d->nb_components; ++i) {
    if (d->comp[i].depth + d->comp[i].shift > 16) return false;
  }
  return true;
}

FrameBlend::FrameBlend(AVPixelFormat format, int width, int height, const VideoColour& colour)
    : format_(format),
      width_(width),
      height_(height),
      colour_(colour),
      bgra_(format == AV_PIX_FMT_BGRA || format == AV_PIX_FMT_BGR0) {
  if (!Supports(format)) {
    const char* name = av_get_pix_fmt_name(format);
    throw std::runtime_error(std::string("cannot burn captions into frames of pixel format ") +
                             (name ? name : "unknown"));
  }
  const AVPixFmtDescriptor* d = av_pix_fmt_desc_get(format);
  const bool alpha = (d->flags & AV_PIX_FMT_FLAG_ALPHA) != 0;
  for (int i = 0; i < d->nb_components; ++i) {
    const AVComponentDescriptor& c = d->comp[i];
    Component component;
    component.plane = c.plane;
    component.step = c.step;
    component.offset = c.offset;
    component.shift = c.shift;
    component.depth = c.depth;
    const bool chroma = !colour.rgb && (i == 1 || i == 2) && !(alpha && i == d->nb_components - 1);
    if (chroma) {
      component.log2Width = d->log2_chroma_w;
      component.log2Height = d->log2_chroma_h;
    }
    components_.push_back(component);
  }
}

void FrameBlend::Prepare(const Frame& layer, const Frame::InkBox& ink) {
  layer_ = &layer;
  ink_ = ink;
  if (bgra_) return;
  const AVPixFmtDescriptor* d = av_pix_fmt_desc_get(format_);
  const bool alpha = (d->flags & AV_PIX_FMT_FLAG_ALPHA) != 0;
  const int alphaIndex = alpha ? d->nb_components - 1 : -1;
  // The box widened to whole chroma samples, so that every sample it touches is recomputed.
  const int alignX = 1 << d->log2_chroma_w, alignY = 1 << d->log2_chroma_h;
  const bool empty = ink.first >= ink.last || ink.left >= ink.right;
  const int x0 = empty ? 0 : ink.left / alignX * alignX, y0 = empty ? 0 : ink.first / alignY * alignY;
  const int x1 = empty ? 0 : std::min(width_, (ink.right + alignX - 1) / alignX * alignX);
  const int y1 = empty ? 0 : std::min(height_, (ink.last + alignY - 1) / alignY * alignY);
  const int boxWidth = x1 - x0, boxHeight = y1 - y0;

  // Per pixel of the box: alpha and the premultiplied code value of each colour component.
  const std::size_t pixels = static_cast<std::size_t>(boxWidth) * static_cast<std::size_t>(boxHeight);
  std::vector<float> coverage(pixels, 0.0f);
  std::array<std::vector<float>, 3> premultiplied;
  for (auto& p : premultiplied) p.assign(pixels, 0.0f);
  const int colourDepth = components_[0].depth;
  std::array<std::uint8_t, 4> lastPixel{0, 0, 0, 0};
  std::array<double, 3> lastCode{};
  for (int y = 0; y < boxHeight; ++y) {
    const std::uint8_t* row = layer.Bytes().data() + (static_cast<std::size_t>(y0 + y) * layer.Width() + x0) * 4;
    for (int x = 0; x < boxWidth; ++x) {
      const std::uint8_t* px = row + static_cast<std::size_t>(x) * 4;
      if (px[3] == 0) continue;
      const std::array<std::uint8_t, 4> pixel{px[0], px[1], px[2], px[3]};
      if (pixel != lastPixel) {  // text is mostly runs of one colour
        const double a = px[3];
        lastCode = colour_.Encode(px[2] / a, px[1] / a, px[0] / a, colourDepth);
        lastPixel = pixel;
      }
      const std::size_t at = static_cast<std::size_t>(y) * static_cast<std::size_t>(boxWidth) + static_cast<std::size_t>(x);
      const double a = px[3] / 255.0;
      coverage[at] = static_cast<float>(a);
      for (int c = 0; c < 3; ++c) premultiplied[c][at] = static_cast<float>(a * lastCode[c]);
    }
  }

  for (int i = 0; i < static_cast<int>(components_.size()); ++i) {
    Component& c = components_[static_cast<std::size_t>(i)];
    const int spanX = 1 << c.log2Width, spanY = 1 << c.log2Height;
    c.left = x0 >> c.log2Width;
    c.top = y0 >> c.log2Height;
    c.width = (boxWidth + spanX - 1) >> c.log2Width;
    c.height = (boxHeight + spanY - 1) >> c.log2Height;
    const std::size_t samples = static_cast<std::size_t>(c.width) * static_cast<std::size_t>(c.height);
    c.value.assign(samples, 0);
    c.keep.assign(samples, static_cast<std::uint16_t>(kWhole));
    const double top = std::ldexp(1.0, c.depth) - 1;
    const int colourIndex = std::min(i, 2);
    for (int sy = 0; sy < c.height; ++sy) {
      for (int sx = 0; sx < c.width; ++sx) {
        // The mean over the pixels of the box this sample covers (fewer at the frame's odd edge).
        double sumAlpha = 0, sumValue = 0;
        int count = 0;
        for (int py = sy * spanY; py < std::min(boxHeight, (sy + 1) * spanY); ++py) {
          for (int px = sx * spanX; px < std::min(boxWidth, (sx + 1) * spanX); ++px) {
            const std::size_t at =
                static_cast<std::size_t>(py) * static_cast<std::size_t>(boxWidth) + static_cast<std::size_t>(px);
            sumAlpha += coverage[at];
            sumValue += i == alphaIndex ? coverage[at] * top
                                        : premultiplied[colourIndex][at] * std::ldexp(1.0, c.depth - colourDepth);
            ++count;
          }
        }
        if (count == 0 || sumAlpha == 0) continue;
        const std::size_t at = static_cast<std::size_t>(sy) * static_cast<std::size_t>(c.width) + static_cast<std::size_t>(sx);
        c.keep[at] = static_cast<std::uint16_t>(std::lround((1 - sumAlpha / count) * kWhole));
        c.value[at] = static_cast<std::uint32_t>(std::lround(sumValue / count * kWhole));
      }
    }
  }
}

void FrameBlend::Over(AVFrame& frame) const {
  if (layer_ == nullptr || frame.format != format_ || frame.width != width_ || frame.height != height_) return;
  if (bgra_) {
    const kelcore::RectT<int> area{ink_.left, ink_.first, ink_.right - ink_.left, ink_.last - ink_.first};
    if (area.width > 0 && area.height > 0) {
      kelcaptioningui::CompositeCaptionLayer(layer_->Bytes().data(), layer_->Width() * 4, frame.data[0],
                                             frame.linesize[0], width_, height_, &area);
    }
    return;
  }
  for (const Component& c : components_) {
    const AVComponentDescriptor descriptor{c.plane, c.step, c.offset, c.shift, c.depth};
    if (WordBytes(descriptor) == 1) {
      BlendRows<std::uint8_t>(frame, c.value, c.keep, c.plane, c.step, c.offset, c.shift, c.depth, c.left, c.top,
                              c.width, c.height);
    } else {
      BlendRows<std::uint16_t>(frame, c.value, c.keep, c.plane, c.step, c.offset, c.shift, c.depth, c.left, c.top,
                               c.width, c.height);
    }
  }
}

}  // namespace kelcaption
