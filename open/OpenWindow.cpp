#include "open/OpenWindow.h"

namespace kelcaptioningui {

// Open rows are not laid out yet: the open-caption drawing lands in a later step, so these draw
// nothing and report no rectangles.

void DrawOpenWindow(const kelcaptioning::CaptioningRenderableModelWindowPtr& /*window*/,
                    kelui::inkpad::Inkpad* /*inkpad*/, const kelcore::RectT<float>& /*windowRect*/) {}

void CollectOpenRowRects(const kelcaptioning::CaptioningRenderableModelWindowPtr& /*window*/,
                         kelui::inkpad::Inkpad* /*inkpad*/, const kelcore::RectT<float>& /*windowRect*/,
                         CaptionRectList& /*rects*/) {}

}  // namespace kelcaptioningui
