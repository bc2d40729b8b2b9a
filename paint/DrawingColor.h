#pragma once

#include "kelcaptioning/CaptioningColor.h"
#include "kelui/inkpad/Objects.h"

namespace kelcaptioningui {

// A model colour as the drawing layer takes it: red, green, blue, alpha.
inline kelui::inkpad::Color ToDrawingColor(const kelcaptioning::CaptioningColor& c) {
  return {c.Red(), c.Green(), c.Blue(), c.Alpha()};
}

}  // namespace kelcaptioningui
