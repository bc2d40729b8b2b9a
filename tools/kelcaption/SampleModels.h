#pragma once

#include "kelcaptioning/RenderableModel.h"

namespace kelcaption {

// The bundled sample: a line-21 caption with a pop-on window at the bottom and a roll-up window at
// the top, as a decoder would show them at one moment.
kelcaptioning::CaptioningRenderableModelPtr MakeGridSample();

}  // namespace kelcaption
