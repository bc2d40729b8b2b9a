#pragma once

// Premultiplied "over", the arithmetic shared by everything that lays premultiplied pixels over
// others: the glyph masks of GDI+ and the caption layers laid over video frames. One rounding
// (pixman's) everywhere, so that pixels come out the same whichever path laid them.
//
// Pixels are 32-bit premultiplied words with alpha in the top byte (bytes B, G, R, A in memory on
// little-endian machines, as the drawing layer's surface format 7 and Cairo's ARGB32 have them).

#include <cstdint>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define KELUI_HAVE_AVX2_LANES 1
#endif

namespace kelui::inkpad {

// x * k / 255 for bytes x and k, rounded to nearest.
constexpr unsigned MulDiv255(unsigned x, unsigned k) {
  const unsigned t = x * k + 0x80u;
  return (t + (t >> 8)) >> 8;
}

// Each channel of `pixel`, alpha included, scaled by `coverage` / 255: a colour through a mask.
constexpr std::uint32_t ScalePixel(std::uint32_t pixel, unsigned coverage) {
  std::uint32_t out = 0;
  for (int shift = 0; shift < 32; shift += 8) out |= MulDiv255((pixel >> shift) & 0xFFu, coverage) << shift;
  return out;
}

// `source` over `dest`: each channel is the source's plus what the source's alpha leaves of the
// destination's, source + dest * (255 - source alpha) / 255, held at 255 should a source that is
// not truly premultiplied go past it.
constexpr std::uint32_t OverPixel(std::uint32_t source, std::uint32_t dest) {
  const unsigned keep = 255u - (source >> 24);
  std::uint32_t out = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    const unsigned c = ((source >> shift) & 0xFFu) + MulDiv255((dest >> shift) & 0xFFu, keep);
    out |= (c < 255u ? c : 255u) << shift;
  }
  return out;
}

#ifdef KELUI_HAVE_AVX2_LANES
// Whether this processor runs the AVX2 forms below; callers keep a plain path for when it does not.
inline bool HasAvx2() {
  static const bool has = __builtin_cpu_supports("avx2");
  return has;
}

// MulDiv255 in sixteen 16-bit lanes.
__attribute__((target("avx2"))) inline __m256i MulDiv255Lanes(__m256i x, __m256i k) {
  const __m256i t = _mm256_add_epi16(_mm256_mullo_epi16(x, k), _mm256_set1_epi16(0x80));
  return _mm256_srli_epi16(_mm256_add_epi16(t, _mm256_srli_epi16(t, 8)), 8);
}

// OverPixel in 16-bit lanes, one channel a lane: `sourceAlpha` holds each lane's pixel's source
// alpha. Lanes above 255 are held there when packed back to bytes.
__attribute__((target("avx2"))) inline __m256i OverLanes(__m256i source, __m256i sourceAlpha, __m256i dest) {
  return _mm256_add_epi16(source, MulDiv255Lanes(dest, _mm256_sub_epi16(_mm256_set1_epi16(255), sourceAlpha)));
}

// Eight coverage bytes (pixel 0's in the low byte) spread over their pixels' 16-bit lanes, in the
// order that unpacking eight pixels to 16-bit lanes gives: `low` holds pixels 0, 1 | 4, 5 and
// `high` pixels 2, 3 | 6, 7 (per 128-bit half).
struct CoverageLanes {
  __m256i low, high;
};
__attribute__((target("avx2"))) inline CoverageLanes SpreadEightCoverages(std::uint64_t eight) {
  constexpr char z = -128;  // a zero byte
  const __m256i spreadLow = _mm256_setr_epi8(0, z, 0, z, 0, z, 0, z, 1, z, 1, z, 1, z, 1, z,  //
                                             4, z, 4, z, 4, z, 4, z, 5, z, 5, z, 5, z, 5, z);
  const __m256i spreadHigh = _mm256_setr_epi8(2, z, 2, z, 2, z, 2, z, 3, z, 3, z, 3, z, 3, z,  //
                                              6, z, 6, z, 6, z, 6, z, 7, z, 7, z, 7, z, 7, z);
  const __m256i coverage = _mm256_set1_epi64x(static_cast<long long>(eight));
  return {_mm256_shuffle_epi8(coverage, spreadLow), _mm256_shuffle_epi8(coverage, spreadHigh)};
}

// OverPixel of eight pixels at once.
__attribute__((target("avx2"))) inline __m256i OverEightPixels(__m256i source, __m256i dest) {
  // Each pixel's alpha byte (3, 7, 11, 15 of each 128-bit half) spread over its lanes, in the
  // order of SpreadEightCoverages.
  constexpr char z = -128;  // a zero byte
  const __m256i alphaLow = _mm256_setr_epi8(3, z, 3, z, 3, z, 3, z, 7, z, 7, z, 7, z, 7, z,  //
                                            3, z, 3, z, 3, z, 3, z, 7, z, 7, z, 7, z, 7, z);
  const __m256i alphaHigh = _mm256_setr_epi8(11, z, 11, z, 11, z, 11, z, 15, z, 15, z, 15, z, 15, z,  //
                                             11, z, 11, z, 11, z, 11, z, 15, z, 15, z, 15, z, 15, z);
  const __m256i zero = _mm256_setzero_si256();
  const __m256i low = OverLanes(_mm256_unpacklo_epi8(source, zero), _mm256_shuffle_epi8(source, alphaLow),
                                _mm256_unpacklo_epi8(dest, zero));
  const __m256i high = OverLanes(_mm256_unpackhi_epi8(source, zero), _mm256_shuffle_epi8(source, alphaHigh),
                                 _mm256_unpackhi_epi8(dest, zero));
  return _mm256_packus_epi16(low, high);
}
#endif

}  // namespace kelui::inkpad
