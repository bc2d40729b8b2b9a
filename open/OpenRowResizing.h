#pragma once

#include <cstdint>
#include <map>

#include "kelcaptioning/RenderableModel.h"
#include "kelui/inkpad/Inkpad.h"

namespace kelcaptioningui {

// Where an open row stands in its window's draw area, in model units.
struct OpenRowPlace {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};
using OpenRowPlaces = std::map<std::uint64_t, OpenRowPlace>;

// The places of the window's rows, measured through the Inkpad (widths 0 without one).
OpenRowPlaces MeasureOpenRowPlaces(const kelcaptioning::CaptioningRenderableModelWindowPtr& window,
                                   kelui::inkpad::Inkpad* inkpad);

// Scales every length of the rows' text by `scale`: font and em sizes, edge widths, line heights,
// span tops and side insets.
void ScaleOpenRowText(const kelcaptioning::CaptioningRenderableModelWindowPtr& window, float scale);

// Puts rows whose text changed size or face back in place. Rows that touch one above the other
// form a block; a block keeps the edge or centre of the draw area nearest which it stood, its
// rows keep the left edges, right edges or centres they shared (one row alone: the nearest of
// the three), and nothing leaves the draw area. Widths are measured through the Inkpad; without
// one the rows keep their horizontal starts.
void PlaceResizedOpenRows(const kelcaptioning::CaptioningRenderableModelWindowPtr& window,
                          const OpenRowPlaces& before, kelui::inkpad::Inkpad* inkpad);

}  // namespace kelcaptioningui
