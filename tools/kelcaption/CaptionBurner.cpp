#include "kelcaption/CaptionBurner.h"

#include "kelcaptioningui/KelCaptioningUI.h"

namespace kelcaption {

CaptionBurner::CaptionBurner(int frameWidth, int frameHeight)
    : CaptionBurner(frameWidth, frameHeight, Layout{frameWidth, frameHeight}) {}

CaptionBurner::CaptionBurner(int frameWidth, int frameHeight, const Layout& layout)
    : layer_(frameWidth, frameHeight), layout_(layout), ink_{0, frameHeight, 0, frameWidth} {}

bool CaptionBurner::Show(const kelcaptioning::CaptioningRenderableModelPtr& model) {
  if (drawn_ && model == shown_) return false;
  drawn_ = true;
  shown_ = model;
  layer_.Clear(ink_);  // all that the last state drew
  if (shown_) {
    const kelcore::RectT<int> layout{0, 0, layout_.layoutWidth, layout_.layoutHeight};
    kelcaptioningui::RenderOpenCaptions(shown_, layout, layout_.pixelAspectRatio,
                                        reinterpret_cast<char*>(layer_.Bytes().data()), layer_.Width() * 4, layout,
                                        layout, layout_.layoutWidth, layout_.layoutHeight, layout_.flip, layout_.scale);
  }
  ink_ = layer_.FindInk();  // once per change of captions, not per frame
  return true;
}

void CaptionBurner::Over(Frame& frame) const {
  if (shown_) frame.Composite(layer_, ink_);
}

}  // namespace kelcaption
