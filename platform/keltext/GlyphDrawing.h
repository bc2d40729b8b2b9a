#pragma once

#include <cairo.h>

#include <vector>

#include "keltext/Export.h"
#include "keltext/ShapedText.h"

namespace keltext {

// Font options for every context that draws captions: grayscale anti-aliasing and no hinting,
// so that glyphs sit exactly where the shaping put them at any scale.
KELTEXT_API void ApplyCaptionFontOptions(cairo_t* cr);

// The glyphs of one run at `size`, placed from (x, baseline) in the context's user space.
KELTEXT_API std::vector<cairo_glyph_t> PlaceRun(const GlyphRun& run, double size, double x, double baseline);

// Selects a run's face at `size` on `cr`.
KELTEXT_API void SelectRunFont(cairo_t* cr, const GlyphRun& run, double size);

// Cairo holds device coordinates in 24.8 fixed point, which wraps past 2^23 pixels and puts
// shapes in the wrong place. Geometry given to Cairo stays within this distance of the device
// origin; nothing beyond it can show on a surface (at most 32767 pixels a side) anyway.
inline constexpr double kFarInDevice = 4194304.0;

// Whether the user-space point (x, y) lands within kFarInDevice of the device origin.
KELTEXT_API bool IsNearInDevice(cairo_t* cr, double x, double y);

// No length drawn grows past what the 2 x 2 part of `m` can make of a unit length: an upper
// bound on its stretch in any direction.
KELTEXT_API double Stretch(const cairo_matrix_t& m);

// Whether anything within `reach` device pixels of the user-space point (x, y) can fall on the
// context's target. Targets other than image surfaces always answer true.
KELTEXT_API bool MayReachTarget(cairo_t* cr, double x, double y, double reach);

// Pens are at most this many device pixels wide; a wider one is drawn at this width. Stroking
// costs about the square root of the width per turn of the outline, and a pen this wide already
// covers a caption several times over.
inline constexpr double kWidestPenInDevice = 4096.0;

// Text up to this many device pixels per em is drawn from glyph images, which Cairo rasterises
// whole and keeps; larger text is filled as outlines, which Cairo clips to the target.
inline constexpr double kLargestGlyphImageEm = 256.0;

// The bounding box {left, top, right, bottom} of the rectangle with corners (x0, y0) and
// (x1, y1) taken through the context's transform: from device to user space (`toUser`) or from
// user to device space.
KELTEXT_API void MappedBox(cairo_t* cr, bool toUser, double x0, double y0, double x1, double y1, double box[4]);

// Whether glyphs of `size` user units can be rasterised under the 2 x 2 part of `deviceMatrix`.
// FreeType sizes faces only below 65536 pixels per em, and Cairo keeps a font that failed to
// size alive for good, with a hold on its face that later makes releasing the text engine abort.
// Sizes from half that limit on, in device pixels, are beyond any caption and are refused.
KELTEXT_API bool IsRasterisableSize(const cairo_matrix_t& deviceMatrix, double size);

// Paints shaped text with the context's current source, operator and transform. Text too large
// to rasterise (IsRasterisableSize) is not drawn, nor glyphs placed kFarInDevice or further away,
// nor glyphs that cannot reach the target.
KELTEXT_API void ShowShapedText(cairo_t* cr, const ShapedText& text, double size, double x, double baseline);

}  // namespace keltext
