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

// Paints shaped text with the context's current source, operator and transform.
KELTEXT_API void ShowShapedText(cairo_t* cr, const ShapedText& text, double size, double x, double baseline);

}  // namespace keltext
