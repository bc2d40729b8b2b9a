#pragma once

#include "kelcaptioning/RenderableModel.h"

namespace kelcaptioningui {

// A copy of the model that shares nothing with it: windows, rows, cells, open rows and spans are
// new objects (null entries stay null). The windows copied are those of the render order, the
// only ones a model shows.
kelcaptioning::CaptioningRenderableModelPtr CopyModel(const kelcaptioning::CaptioningRenderableModel& model);

}  // namespace kelcaptioningui
