#include "support/ModelBuilders.h"

namespace kel_test {

CaptioningRenderableModelWindowPtr GridWindow(int columns, int rows, int anchor,
                                              const kelcaptioning::CaptioningColor& fill, float ratio) {
  CaptioningRenderableModelWindowPtr window(new kelcaptioning::CaptioningRenderableModelWindow());
  window->SetColumnCount(columns);
  window->SetRowCount(rows);
  window->SetAnchorID(static_cast<kelcaptioning::CaptioningRenderableModelWindow::AnchorID>(anchor));
  window->SetFillColor(fill);
  window->SetCaptionsAreaRatio(ratio);
  return window;
}

CaptioningRenderableModelPtr Model(kelcaptioning::StreamFormat format) {
  return CaptioningRenderableModelPtr(new kelcaptioning::CaptioningRenderableModel(format));
}

}  // namespace kel_test
