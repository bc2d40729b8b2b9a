#include "CoverageBlit.h"

#include <cstddef>
#include <cstring>

#include "kelui/inkpad/PremultipliedOver.h"

namespace Gdiplus {

#ifdef KELUI_HAVE_AVX2_LANES
namespace {

using kelui::inkpad::MulDiv255Lanes;
using kelui::inkpad::OverLanes;

inline std::uint32_t BlendPixel(std::uint32_t colour, unsigned m, std::uint32_t dest) {
  if (m == 0) return dest;
  if (m == 255) return colour;
  return kelui::inkpad::OverPixel(kelui::inkpad::ScalePixel(colour, m), dest);
}

// Four pixels in 16-bit lanes (two per 128-bit half) with their coverage spread over each
// pixel's four lanes. The colour is opaque, so its share of alpha is the coverage itself. With
// `kFullOrEmpty` every channel of the colour is 0 or 255 (white, black and the primaries), whose
// share m * c / 255 is exactly m or 0: `colour` then holds 0xFFFF or 0 per lane, not the channel.
template <bool kFullOrEmpty>
__attribute__((target("avx2"))) inline __m256i BlendLanes(__m256i colour, __m256i coverage, __m256i dest) {
  const __m256i source = kFullOrEmpty ? _mm256_and_si256(colour, coverage) : MulDiv255Lanes(colour, coverage);
  return OverLanes(source, coverage, dest);
}

template <bool kFullOrEmpty>
__attribute__((target("avx2"))) void BlendRowsAvx2(std::uint32_t colour, const std::uint8_t* mask, int maskStride,
                                                    std::uint32_t* dest, int destStride, int width, int height) {
  const __m256i zero = _mm256_setzero_si256();
  const __m256i solid = _mm256_set1_epi32(static_cast<int>(colour));
  // Bytes of 0 or 255 widen to lanes of 0 or 0xFFFF by sign extension.
  const __m256i colourLanes = kFullOrEmpty ? _mm256_cvtepi8_epi16(_mm_set1_epi32(static_cast<int>(colour)))
                                           : _mm256_unpacklo_epi8(solid, zero);
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* m = mask + static_cast<std::ptrdiff_t>(y) * maskStride;
    std::uint32_t* d = reinterpret_cast<std::uint32_t*>(reinterpret_cast<std::uint8_t*>(dest) +
                                                        static_cast<std::ptrdiff_t>(y) * destStride);
    int x = 0;
    for (; x + 8 <= width; x += 8) {
      std::uint64_t eight = 0;
      std::memcpy(&eight, m + x, 8);
      if (eight == 0) continue;
      __m256i* out = reinterpret_cast<__m256i*>(d + x);
      if (eight == ~std::uint64_t{0}) {
        _mm256_storeu_si256(out, solid);
        continue;
      }
      const kelui::inkpad::CoverageLanes coverage = kelui::inkpad::SpreadEightCoverages(eight);
      const __m256i pixels = _mm256_loadu_si256(out);
      const __m256i low = BlendLanes<kFullOrEmpty>(colourLanes, coverage.low, _mm256_unpacklo_epi8(pixels, zero));
      const __m256i high = BlendLanes<kFullOrEmpty>(colourLanes, coverage.high, _mm256_unpackhi_epi8(pixels, zero));
      _mm256_storeu_si256(out, _mm256_packus_epi16(low, high));
    }
    for (; x < width; ++x) d[x] = BlendPixel(colour, m[x], d[x]);
  }
}

bool IsFullOrEmpty(std::uint32_t colour) {
  for (int shift = 0; shift < 32; shift += 8) {
    const unsigned c = (colour >> shift) & 0xFFu;
    if (c != 0 && c != 0xFFu) return false;
  }
  return true;
}

}  // namespace
#endif

bool BlendOpaqueThroughMask(std::uint32_t colour, const std::uint8_t* mask, int maskStride, std::uint32_t* dest,
                            int destStride, int width, int height) {
  if ((colour >> 24) != 0xFFu) return false;
#ifdef KELUI_HAVE_AVX2_LANES
  if (!kelui::inkpad::HasAvx2()) return false;
  if (IsFullOrEmpty(colour))
    BlendRowsAvx2<true>(colour, mask, maskStride, dest, destStride, width, height);
  else
    BlendRowsAvx2<false>(colour, mask, maskStride, dest, destStride, width, height);
  return true;
#else
  (void)mask, (void)maskStride, (void)dest, (void)destStride, (void)width, (void)height;
  return false;
#endif
}

}  // namespace Gdiplus
