#pragma once

// The tts: style properties of timed text (TTML) that captions can show: text colour and
// background, italics, bold, underline, font family and size, text alignment, and the regions'
// origin, extent and display alignment.

#include <optional>
#include <string>
#include <utility>

#include "captionfiles/ReadProblems.h"
#include "captionfiles/XmlTree.h"
#include "kelcaptioning/CaptionList.h"

namespace kelcaptionfiles {

inline constexpr const char* kTtmlStyling[] = {"http://www.w3.org/ns/ttml#styling", "http://www.w3.org/2006/10/ttaf1#styling",
                                               "http://www.w3.org/2006/04/ttaf1#styling"};

// What lengths are measured against: the root container's size in pixels (tts:extent on <tt>),
// when given, and its cells (ttp:cellResolution).
struct TtmlRoot {
  std::optional<std::pair<double, double>> pixels;
  double columns = 32, rows = 15;
};

struct TtmlStyle {
  std::optional<kelcaptioning::CaptioningColor> color, background;
  std::optional<bool> italic, bold, underline;
  std::optional<kelcaptioning::ParagraphStyleAttributes::TextAlignmentType> textAlign;
  std::optional<double> displayAlign;  // where lines stand in a region: 0 before, 0.5 centre, 1 after
  std::optional<std::pair<double, double>> origin, extent;  // fractions of the root container
  std::optional<double> fontSize;                           // a fraction of the root's height
  std::optional<double> fontScale;                          // a percentage: of the size inherited
  std::optional<std::string> fontFamily;                    // "" for the generic families

  // `over`'s properties, where it has them, over these.
  void Take(const TtmlStyle& over);
  // What content inherits: everything but the background and the region's own properties.
  TtmlStyle Inherited() const;
};

// Reads the tts: attributes of `element` over `style`; reports each attribute that is not one of
// these once by name, and values that cannot be read.
void ReadTtmlStyle(const XmlElement& element, const TtmlRoot& root, TtmlStyle& style, ReadProblems& problems);

// A length pair ("10% 80%", "192px 108px", "2c 1c", "50rw 10rh") as fractions of the root container.
std::optional<std::pair<double, double>> TtmlLengths(const std::string& text, const TtmlRoot& root);

}  // namespace kelcaptionfiles
