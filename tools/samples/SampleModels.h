#pragma once

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

}  // namespace kelcaption
