#pragma once

#include <cstdint>

namespace kelcaptioning {

// The enumerations below have a fixed underlying type so that a value outside the named ones is
// representable: the drawing code gives such values their documented fallback.

// Where windows and paragraphs are anchored: a 3 x 3 grid row by row (column = id mod 3: left,
// centre, right edge; row = id / 3: top, middle, bottom edge), and 9 for a paragraph placed by
// its own position. Other values have no anchor.
enum AnchorID : std::int32_t {
  kAnchor_TopLeft = 0,
  kAnchor_TopCenter = 1,
  kAnchor_TopRight = 2,
  kAnchor_MiddleLeft = 3,
  kAnchor_MiddleCenter = 4,
  kAnchor_MiddleRight = 5,
  kAnchor_BottomLeft = 6,
  kAnchor_BottomCenter = 7,
  kAnchor_BottomRight = 8,
  kAnchor_Free = 9,
};

// Character edge looks.
enum TextEdge : std::int32_t {
  kTextEdge_None = 0,
  kTextEdge_Raised = 1,
  kTextEdge_Depressed = 2,
  kTextEdge_Uniform = 3,
  kTextEdge_LeftDropShadow = 4,
  kTextEdge_RightDropShadow = 5,
};

// Vertical offset of the text within its line.
enum TextOffset : std::int32_t {
  kTextOffset_Superscript = 0,
  kTextOffset_Normal = 1,
  kTextOffset_Subscript = 2,
};

// Pen size class of grid text.
enum TextSize : std::int32_t {
  kTextSize_Small = 0,
  kTextSize_Standard = 1,
  kTextSize_Large = 2,
};

// Generic font families of grid text (the CEA-708 font tags).
enum GenericFontFamilyID : std::int32_t {
  kGenericFontFamily_Default = 0,
  kGenericFontFamily_MonospacedSerif = 1,
  kGenericFontFamily_ProportionalSerif = 2,
  kGenericFontFamily_MonospacedSansSerif = 3,
  kGenericFontFamily_ProportionalSansSerif = 4,
  kGenericFontFamily_Casual = 5,
  kGenericFontFamily_Cursive = 6,
  kGenericFontFamily_SmallCapitals = 7,
};

// Weight and slant of subtitle text.
enum FontStyle : std::int32_t {
  kFontStyle_Regular = 0,
  kFontStyle_Italic = 1,
  kFontStyle_Bold = 2,
  kFontStyle_BoldItalic = 3,
};

}  // namespace kelcaptioning
