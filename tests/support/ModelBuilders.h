#pragma once

#include <initializer_list>
#include <string_view>

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

// A grid cell holding `character`.
kelcaptioning::CaptioningRenderableModelCellPtr Cell(char32_t character,
                                                     const kelcaptioning::TextAttributes& attributes = {});

// A grid row of `cells` (entries may be null).
kelcaptioning::CaptioningRenderableModelRowPtr Row(std::initializer_list<kelcaptioning::CaptioningRenderableModelCellPtr> cells);

// A grid row of one cell per character of `text`, all with `attributes`.
kelcaptioning::CaptioningRenderableModelRowPtr TextRow(std::u32string_view text,
                                                       const kelcaptioning::TextAttributes& attributes = {});

}  // namespace kel_test
