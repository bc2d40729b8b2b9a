#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "keltext/Export.h"
#include "keltext/LoadedFace.h"

namespace keltext {

// A glyph placed relative to the text's origin on its baseline, in ems: multiply by the font
// size for drawing units. y grows downwards.
struct PlacedGlyph {
  std::uint32_t index = 0;
  double x = 0.0;
  double y = 0.0;
};

// Consecutive glyphs of one face, in visual (left-to-right) order.
struct GlyphRun {
  const LoadedFace* face = nullptr;
  std::vector<PlacedGlyph> glyphs;
};

// Text shaped for one primary face: bidirectional reordering, script runs and per-character
// fallback to other installed faces are done; runs stand in visual order.
struct ShapedText {
  std::vector<GlyphRun> runs;
  double advance = 0.0;  // total advance width, in ems
};

// Shapes `text` (UTF-16; unpaired surrogates become U+FFFD). Results of texts up to 1024 code
// units are cached by face and text, so shaping the same caption line again costs a lookup.
KELTEXT_API std::shared_ptr<const ShapedText> ShapeText(const LoadedFace& primary, std::u16string_view text);

}  // namespace keltext
