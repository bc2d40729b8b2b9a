#pragma once

#include <vector>

#include "captionfiles/DtvccDecoder.h"
#include "kelcaptioning/RenderableModel.h"

namespace kelcaptionfiles {

// Makes the render-ready models of what a digital-TV caption decoder shows: models of format
// 708S on a grid of 15 rows by `gridColumns`, with one window per shown window, numbered by its id, in
// drawing order.
//
// The model places every grid window at the corner of the captions area, so each window's cells
// stand at their own rows and columns of the grid (rows and cells before them null): the model
// window reaches from the grid's first column to the window's last, and has no rows of its own,
// so that its rectangle, which is painted even when clear, has no height and covers nothing of
// the windows beneath. The window's fill shows as the background of its cells: empty cells of
// a window with a fill are spaces of the fill colour, and characters whose pen background is
// transparent take the fill as their background.
class DtvccModelMaker {
 public:
  explicit DtvccModelMaker(int gridColumns);

  // Rows that a model shares with the one made before (also after a roll-up moved them) share
  // their row objects, so that hours of captions stay small.
  kelcaptioning::CaptioningRenderableModelPtr Make(const DtvccScreen& screen);

 private:
  struct MadeRow {
    int left;
    DtvccColor fill;
    std::vector<DtvccCell> text;
    kelcaptioning::CaptioningRenderableModelRowPtr row;
  };
  // The model's row for `wanted`, or null when it shows nothing.
  kelcaptioning::CaptioningRenderableModelRowPtr RowOf(const MadeRow& wanted) const;

  int gridColumns_;
  std::vector<MadeRow> previous_;
};

// A digital-TV colour as the model's: levels 0 to 3 of each component, alpha 1 when solid or
// flashing, 0.5 when translucent, 0 when transparent.
kelcaptioning::CaptioningColor ModelColorOf(const DtvccColor& color);

// A pen as the model's text attributes, with `fill` behind a transparent pen background.
kelcaptioning::TextAttributes ModelAttributesOf(const DtvccPen& pen, const DtvccColor& fill);

// What a model that DtvccModelMaker made shows, as the decoder's screen: each visible window of
// the model from its first row and column that hold a cell to its last, its fill taken from its
// fill cells, the characters with the pens that draw them as the model does (a pen background
// that is the fill's is written solid). Invisible windows and windows numbered outside 0 to 7 are
// left out; a window reaching past a grid of 15 rows by `gridColumns` is cut to it.
DtvccScreen ScreenOfModel(const kelcaptioning::CaptioningRenderableModel& model, int gridColumns);

}  // namespace kelcaptionfiles
