#include "kelcaptioningui/CaptionLayer.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "kelui/inkpad/PremultipliedOver.h"
#include "render/CaptionLayerRows.h"

namespace kelcaptioningui {

namespace {

using kelcore::RectT;

// Lays `pixels` pixels of a layer row over a frame row.
using RowOver = void (*)(const std::uint8_t* layer, std::uint8_t* frame, int pixels);

void OverRowPlain(const std::uint8_t* layer, std::uint8_t* frame, int pixels) {
  for (int x = 0; x < pixels; ++x) {
    std::uint32_t source = 0;
    std::memcpy(&source, layer + static_cast<std::size_t>(x) * 4, 4);
    if (source == 0) continue;
    std::uint32_t dest = 0;
    std::memcpy(&dest, frame + static_cast<std::size_t>(x) * 4, 4);
    dest = kelui::inkpad::OverPixel(source, dest);
    std::memcpy(frame + static_cast<std::size_t>(x) * 4, &dest, 4);
  }
}

#ifdef KELUI_HAVE_AVX2_LANES
// Eight pixels: skipped when all zeros, copied when opaque (the bytes that the blend gives them),
// blended otherwise.
__attribute__((target("avx2"))) inline void LayEight(__m256i source, __m256i* out) {
  if (_mm256_testz_si256(source, source)) return;
  const __m256i alpha = _mm256_set1_epi32(static_cast<int>(0xFF000000u));
  _mm256_storeu_si256(out, _mm256_testc_si256(source, alpha)
                               ? source
                               : kelui::inkpad::OverEightPixels(source, _mm256_loadu_si256(out)));
}

// A caption layer is mostly clear or opaque, so it is laid in runs of sixteen pixels that are
// skipped when all zeros, copied when opaque and blended whole otherwise. On a layer never laid
// before, whose pattern the branches have not learnt, runs of sixteen beat runs of eight.
__attribute__((target("avx2"))) void OverRowAvx2(const std::uint8_t* layer, std::uint8_t* frame, int pixels) {
  const __m256i alpha = _mm256_set1_epi32(static_cast<int>(0xFF000000u));
  int x = 0;
  for (; x + 16 <= pixels; x += 16) {
    const __m256i* in = reinterpret_cast<const __m256i*>(layer + static_cast<std::size_t>(x) * 4);
    const __m256i first = _mm256_loadu_si256(in), second = _mm256_loadu_si256(in + 1);
    const __m256i any = _mm256_or_si256(first, second);
    if (_mm256_testz_si256(any, any)) continue;
    __m256i* out = reinterpret_cast<__m256i*>(frame + static_cast<std::size_t>(x) * 4);
    if (_mm256_testc_si256(_mm256_and_si256(first, second), alpha)) {
      _mm256_storeu_si256(out, first);
      _mm256_storeu_si256(out + 1, second);
    } else {
      _mm256_storeu_si256(out, kelui::inkpad::OverEightPixels(first, _mm256_loadu_si256(out)));
      _mm256_storeu_si256(out + 1, kelui::inkpad::OverEightPixels(second, _mm256_loadu_si256(out + 1)));
    }
  }
  if (x + 8 <= pixels) {
    LayEight(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(layer + static_cast<std::size_t>(x) * 4)),
             reinterpret_cast<__m256i*>(frame + static_cast<std::size_t>(x) * 4));
    x += 8;
  }
  OverRowPlain(layer + static_cast<std::size_t>(x) * 4, frame + static_cast<std::size_t>(x) * 4, pixels - x);
}
#endif

RowOver FastestRowOver() {
#ifdef KELUI_HAVE_AVX2_LANES
  if (kelui::inkpad::HasAvx2()) return OverRowAvx2;
#endif
  return OverRowPlain;
}

// Whether a block of `width` x `height` pixels with this row step can be read.
bool IsBlock(const std::uint8_t* pixels, int rowBytes, int width, int height) {
  return pixels != nullptr && width > 0 && height > 0 && rowBytes / 4 >= width;
}

void Composite(const std::uint8_t* layer, int layerRowBytes, std::uint8_t* frame, int frameRowBytes, int width,
               int height, const RectT<int>* box, RowOver over) {
  if (!IsBlock(layer, layerRowBytes, width, height) || !IsBlock(frame, frameRowBytes, width, height)) return;
  int left = 0, top = 0, right = width, bottom = height;
  if (box != nullptr) {
    // In 64 bits: a box near the int range must not wrap round into the frame.
    left = static_cast<int>(std::clamp<long long>(box->x, 0, width));
    top = static_cast<int>(std::clamp<long long>(box->y, 0, height));
    right = static_cast<int>(std::clamp<long long>(static_cast<long long>(box->x) + box->width, left, width));
    bottom = static_cast<int>(std::clamp<long long>(static_cast<long long>(box->y) + box->height, top, height));
  }
  for (int y = top; y < bottom; ++y) {
    over(layer + static_cast<std::ptrdiff_t>(y) * layerRowBytes + static_cast<std::ptrdiff_t>(left) * 4,
         frame + static_cast<std::ptrdiff_t>(y) * frameRowBytes + static_cast<std::ptrdiff_t>(left) * 4, right - left);
  }
}

// Whether the eight pixels from `pixels` are all zeros.
bool EightClear(const std::uint8_t* pixels) {
  std::uint64_t words[4];
  std::memcpy(words, pixels, sizeof words);
  return (words[0] | words[1] | words[2] | words[3]) == 0;
}

bool HasInk(const std::uint8_t* pixel) {
  std::uint32_t word = 0;
  std::memcpy(&word, pixel, 4);
  return word != 0;
}

// The first pixel in [from, to) of a row that is not all zeros, or `to`; eight pixels a step
// where the row is clear.
int FirstInk(const std::uint8_t* row, int from, int to) {
  int x = from;
  while (x + 8 <= to && EightClear(row + static_cast<std::size_t>(x) * 4)) x += 8;
  for (; x < to; ++x)
    if (HasInk(row + static_cast<std::size_t>(x) * 4)) return x;
  return to;
}

// One past the last pixel in [from, to) that is not all zeros, or `from`.
int LastInkEnd(const std::uint8_t* row, int from, int to) {
  int x = to;
  while (x - 8 >= from && EightClear(row + static_cast<std::size_t>(x - 8) * 4)) x -= 8;
  for (; x > from; --x)
    if (HasInk(row + static_cast<std::size_t>(x - 1) * 4)) return x;
  return from;
}

}  // namespace

void CompositeCaptionLayer(const std::uint8_t* layer, int layerRowBytes, std::uint8_t* frame, int frameRowBytes,
                           int width, int height, const RectT<int>* box) {
  static const RowOver over = FastestRowOver();
  Composite(layer, layerRowBytes, frame, frameRowBytes, width, height, box, over);
}

void CompositeCaptionLayerPlain(const std::uint8_t* layer, int layerRowBytes, std::uint8_t* frame, int frameRowBytes,
                                int width, int height, const RectT<int>* box) {
  Composite(layer, layerRowBytes, frame, frameRowBytes, width, height, box, OverRowPlain);
}

RectT<int> FindCaptionLayerInk(const std::uint8_t* layer, int layerRowBytes, int width, int height) {
  if (!IsBlock(layer, layerRowBytes, width, height)) return {0, 0, 0, 0};
  int first = height, last = 0, left = width, right = 0;
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* row = layer + static_cast<std::ptrdiff_t>(y) * layerRowBytes;
    const int firstInk = FirstInk(row, 0, width);
    if (firstInk == width) continue;
    first = std::min(first, y);
    last = y + 1;
    left = std::min(left, firstInk);
    // Only what lies right of the box so far can widen it.
    right = std::max(right, LastInkEnd(row, std::max(firstInk, right), width));
  }
  if (last == 0) return {0, 0, 0, 0};
  return {left, first, right - left, last - first};
}

}  // namespace kelcaptioningui
