#include "CoverageBlit.h"

#include <cstddef>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define KEL_HAVE_AVX2_PATH 1
#endif

namespace Gdiplus {

#ifdef KEL_HAVE_AVX2_PATH
namespace {

// x * k / 255, rounded as pixman rounds.
inline unsigned MulDiv255(unsigned x, unsigned k) {
  const unsigned t = x * k + 0x80u;
  return (t + (t >> 8)) >> 8;
}

inline std::uint32_t BlendPixel(std::uint32_t colour, unsigned m, std::uint32_t dest) {
  if (m == 0) return dest;
  if (m == 255) return colour;
  const unsigned keep = 255u - MulDiv255(colour >> 24, m);
  std::uint32_t out = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    const unsigned c = MulDiv255((colour >> shift) & 0xFFu, m) + MulDiv255((dest >> shift) & 0xFFu, keep);
    out |= static_cast<std::uint32_t>(c) << shift;
  }
  return out;
}

__attribute__((target("avx2"))) inline __m256i MulDiv255x16(__m256i a, __m256i b) {
  const __m256i t = _mm256_add_epi16(_mm256_mullo_epi16(a, b), _mm256_set1_epi16(0x80));
  return _mm256_srli_epi16(_mm256_add_epi16(t, _mm256_srli_epi16(t, 8)), 8);
}

// Four pixels in 16-bit lanes (two per 128-bit half) with their coverage spread over each
// pixel's four lanes. The colour is opaque, so its share of alpha is the coverage itself. With
// `kFullOrEmpty` every channel of the colour is 0 or 255 (white, black and the primaries), whose
// share m * c / 255 is exactly m or 0: `colour` then holds 0xFFFF or 0 per lane, not the channel.
template <bool kFullOrEmpty>
__attribute__((target("avx2"))) inline __m256i BlendLanes(__m256i colour, __m256i coverage, __m256i dest) {
  const __m256i keep = _mm256_sub_epi16(_mm256_set1_epi16(255), coverage);
  const __m256i source = kFullOrEmpty ? _mm256_and_si256(colour, coverage) : MulDiv255x16(colour, coverage);
  return _mm256_add_epi16(source, MulDiv255x16(dest, keep));
}

template <bool kFullOrEmpty>
__attribute__((target("avx2"))) void BlendRowsAvx2(std::uint32_t colour, const std::uint8_t* mask, int maskStride,
                                                    std::uint32_t* dest, int destStride, int width, int height) {
  const __m256i zero = _mm256_setzero_si256();
  const __m256i solid = _mm256_set1_epi32(static_cast<int>(colour));
  // Bytes of 0 or 255 widen to lanes of 0 or 0xFFFF by sign extension.
  const __m256i colourLanes = kFullOrEmpty ? _mm256_cvtepi8_epi16(_mm_set1_epi32(static_cast<int>(colour)))
                                           : _mm256_unpacklo_epi8(solid, zero);
  // Unpacking eight pixels to 16-bit lanes puts pixels 0, 1 | 4, 5 in the low result and 2, 3 |
  // 6, 7 in the high one (per 128-bit half); these spread the matching coverage bytes likewise.
  constexpr char z = -128;  // a zero byte
  const __m256i spreadLow = _mm256_setr_epi8(0, z, 0, z, 0, z, 0, z, 1, z, 1, z, 1, z, 1, z,  //
                                             4, z, 4, z, 4, z, 4, z, 5, z, 5, z, 5, z, 5, z);
  const __m256i spreadHigh = _mm256_setr_epi8(2, z, 2, z, 2, z, 2, z, 3, z, 3, z, 3, z, 3, z,  //
                                              6, z, 6, z, 6, z, 6, z, 7, z, 7, z, 7, z, 7, z);
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
      const __m256i coverage = _mm256_set1_epi64x(static_cast<long long>(eight));
      const __m256i pixels = _mm256_loadu_si256(out);
      const __m256i low = BlendLanes<kFullOrEmpty>(colourLanes, _mm256_shuffle_epi8(coverage, spreadLow),
                                                   _mm256_unpacklo_epi8(pixels, zero));
      const __m256i high = BlendLanes<kFullOrEmpty>(colourLanes, _mm256_shuffle_epi8(coverage, spreadHigh),
                                                    _mm256_unpackhi_epi8(pixels, zero));
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

bool HasAvx2() {
  static const bool has = __builtin_cpu_supports("avx2");
  return has;
}

}  // namespace
#endif

bool BlendOpaqueThroughMask(std::uint32_t colour, const std::uint8_t* mask, int maskStride, std::uint32_t* dest,
                            int destStride, int width, int height) {
  if ((colour >> 24) != 0xFFu) return false;
#ifdef KEL_HAVE_AVX2_PATH
  if (!HasAvx2()) return false;
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
