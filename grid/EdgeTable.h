#pragma once

#include <span>

#include "kelcaptioning/TextEnums.h"
#include "kelcore/Geometry.h"
#include "kelui/inkpad/Objects.h"

namespace kelcaptioningui {

// The copies of a character that make its edge look: offsets in drawing units, in drawing order,
// and their colour.
struct EdgeStyle {
  std::span<const kelcore::PointT<float>> offsets;
  kelui::inkpad::Color color;
};

// No copies for 0 and for values outside 1 to 5.
EdgeStyle EdgeStyleFor(kelcaptioning::TextEdge edge);

}  // namespace kelcaptioningui
