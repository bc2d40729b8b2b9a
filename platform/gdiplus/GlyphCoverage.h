#pragma once

#include <cairo.h>
#include <pixman.h>

#include <cstddef>
#include <cstdint>
#include <memory>

#include "keltext/LoadedFace.h"

namespace Gdiplus {

// What one cached glyph coverage depends on. The 2x2 part of the device transform and the
// glyph origin's position within its pixel, in quarters, make it device-exact.
struct CoverageKey {
  const keltext::LoadedFace* face = nullptr;
  std::uint32_t glyph = 0;
  float emSize = 0.0f;
  float penWidth = 0.0f;  // stroke width in user units; 0 for a fill; negative for a hairline
  float xx = 1.0f, yx = 0.0f, xy = 0.0f, yy = 1.0f;
  std::uint8_t phaseX = 0, phaseY = 0;
  std::uint8_t kind = 0;  // CoverageKind
  std::uint8_t antialias = 1;

  friend bool operator==(const CoverageKey&, const CoverageKey&) = default;
};

enum CoverageKind : std::uint8_t {
  kFillAlternate = 0,
  kFillWinding = 1,
  kStroke = 2,
};

// Coverage masks are at most this many pixels a side (1 MiB); a glyph that would need a larger
// one is drawn straight onto the target instead, where Cairo clips it.
constexpr int kLargestCoverageSide = 1024;

// An A8 mask of a glyph's filled or stroked outline; `left` and `top` place the mask's first
// pixel relative to the pixel that holds the glyph's origin. `mask` is null for empty glyphs and
// for those `tooLarge` for a mask. `image` is the same pixels for pixman, which composites them
// without Cairo's per-call cost.
struct Coverage {
  cairo_surface_t* mask = nullptr;
  pixman_image_t* image = nullptr;
  const std::uint8_t* pixels = nullptr;  // the mask's, kept at hand for the blit
  int stride = 0;
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool tooLarge = false;
  Coverage() = default;
  Coverage(const Coverage&) = delete;
  Coverage& operator=(const Coverage&) = delete;
  ~Coverage() {
    if (image) pixman_image_unref(image);
    if (mask) cairo_surface_destroy(mask);
  }
};

// Cached coverage for each of `keys`, rendered on first use, into `coverages` (as many).
// Safe from any thread.
void GlyphCoverages(const CoverageKey* keys, std::size_t count, std::shared_ptr<const Coverage>* coverages);

// Positions inside a pixel are quantised to this many steps per axis.
constexpr int kCoveragePhases = 4;

}  // namespace Gdiplus
