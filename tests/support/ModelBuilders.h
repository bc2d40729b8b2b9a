#pragma once

#include "kelcaptioning/RenderableModel.h"

namespace kel_test {

using kelcaptioning::CaptioningRenderableModelPtr;
using kelcaptioning::CaptioningRenderableModelWindowPtr;

// A visible grid window of the given size, anchor and fill.
CaptioningRenderableModelWindowPtr GridWindow(int columns, int rows, int anchor = 0,
                                              const kelcaptioning::CaptioningColor& fill = kelcaptioning::kCaptioningColor_Black,
                                              float ratio = 0.75f);

// A model of `format` (maximum grid 15 x 32 for line-21).
CaptioningRenderableModelPtr Model(kelcaptioning::StreamFormat format = kelcaptioning::kStreamFormat_CEA608_CC1);

}  // namespace kel_test
