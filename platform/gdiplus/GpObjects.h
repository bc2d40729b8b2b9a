#pragma once

// The native objects behind the flat API's handles.

#include <cairo.h>

#include <memory>
#include <new>
#include <string>
#include <vector>

#include "gdiplus/GdiPlus.h"
#include "keltext/LoadedFace.h"
#include "keltext/ShapedText.h"

namespace Gdiplus {

// The flat API reports failure by status, as GDI+ does, never by a C++ exception: an allocation
// that fails inside it (a string, a shaping result, a coverage mask) comes back as OutOfMemory.
template <class Body>
Status ReportingOutOfMemory(Body&& body) noexcept {
  try {
    return body();
  } catch (const std::bad_alloc&) {
    return OutOfMemory;
  }
}

struct GpGraphics {
  cairo_t* context = nullptr;  // null for a detached graphics
  CompositingMode compositingMode = CompositingModeSourceOver;
  SmoothingMode smoothingMode = SmoothingModeDefault;
  InterpolationMode interpolationMode = InterpolationModeBilinear;
};

struct GpFontFamily {
  std::u16string name;
};

struct GpStringFormat {
  INT attributes = 0;
  LANGID language = 0;
};

struct GpPen {
  ARGB color = 0;
  REAL width = 1.0f;
};

// One line of text added to a path: its glyphs from (x, baseline) at emSize.
struct TextLine {
  std::shared_ptr<const keltext::ShapedText> shaped;
  double x = 0.0;
  double baseline = 0.0;
  double emSize = 0.0;
};

// Paths hold the text they were given, not flattened outlines: drawing takes each glyph's
// coverage from a cache instead of stroking outlines again on every frame.
struct GpPath {
  FillMode fillMode = FillModeAlternate;
  std::vector<TextLine> lines;
};

}  // namespace Gdiplus
