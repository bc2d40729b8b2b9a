#pragma once

#include <string>
#include <vector>

#include "kelcaptioning/RenderableModel.h"

namespace kelcaption {

// The bundled sample: a line-21 caption with a pop-on window at the bottom and a roll-up window at
// the top, as a decoder would show them at one moment.
kelcaptioning::CaptioningRenderableModelPtr MakeGridSample();

// A full 15 x 32 line-21 window that shows every cell attribute: colours, translucent
// backgrounds, italics, underline, the three sizes, super- and subscript, the five edge styles,
// two-row cells, the font families and the caption symbol.
kelcaptioning::CaptioningRenderableModelPtr MakeGridShowcase();

// A typical line-21 frame: 4 rows of 32 characters, white on opaque black, no edges.
kelcaptioning::CaptioningRenderableModelPtr MakeTypicalGridFrame();

// Every cell of a 15 x 32 window filled, with the uniform (eight-copy) edge.
kelcaptioning::CaptioningRenderableModelPtr MakeFullEdgedGrid();

// One styled span of an open-caption line.
struct SampleSpan {
  std::string utf8;
  kelcaptioning::TextSpanAttributes attributes;
  int emSize = 60;
};

// One open row: its spans left to right, its top-left corner and line height in draw-area units.
struct SampleLine {
  std::vector<SampleSpan> spans;
  int x = 0;
  int y = 0;
  int lineHeight = 80;
  int textOffset = 12;
};

// An open-caption model with one window of the lines, keyed in order: `areaRatio` of the frame,
// centred, with draw area `drawArea` and a transparent fill (which, drawn with source copy,
// clears the window's rectangle).
kelcaptioning::CaptioningRenderableModelPtr MakeOpenModel(const std::vector<SampleLine>& lines,
                                                          kelcore::PointT<int> drawArea = {1920, 1080},
                                                          float areaRatio = 1.0f);

// Span attributes: a face, a style, an edge and its width, colours.
kelcaptioning::TextSpanAttributes SpanStyle(const kelcaptioning::CaptioningColor& foreground,
                                            const kelcaptioning::CaptioningColor& background,
                                            kelcaptioning::TextEdge edge = kelcaptioning::kTextEdge_None,
                                            float edgeWidth = 0.0f, const char* face = "Arial",
                                            kelcaptioning::FontStyle style = kelcaptioning::kFontStyle_Regular);

// A typical subtitle: two lines of about 40 characters, white with a black outline, 60 units,
// in a window of 0.9 of the frame.
kelcaptioning::CaptioningRenderableModelPtr MakeSubtitleSample();

}  // namespace kelcaption
