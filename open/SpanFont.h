#pragma once

#include "kelcaptioning/TextSpanAttributes.h"
#include "kelui/inkpad/Handles.h"
#include "kelui/inkpad/Inkpad.h"

namespace kelcaptioningui {

// The font of a span: its resolved face and style name at `size` (model units when measuring,
// output units when drawing). Empty without a supplier.
kelui::inkpad::FontP MakeSpanFont(kelcaptioning::TextSpanAttributes attributes, kelui::inkpad::Inkpad* inkpad,
                                  float size);

}  // namespace kelcaptioningui
