#pragma once

#include "kelcaption/Frame.h"
#include "kelcaptioning/RenderableModel.h"
#include "kelmediatypes/PixelShape.h"

namespace kelcaption {

// The one way the tool turns a caption state into pixels: the state is drawn into a cleared
// caption layer through RenderOpenCaptions, as a host burns captions, and the layer is laid
// over each frame. The layer is drawn again only when another state shows.
class CaptionBurner {
 public:
  // How the captions meet the frame's pixels. Captions are laid out for a frame of
  // `layoutWidth` x `layoutHeight` and drawn `scale` times larger.
  struct Layout {
    int layoutWidth = 0;
    int layoutHeight = 0;
    float scale = 1.0f;
    bool flip = false;  // frames are stored bottom row first
    kelmediatypes::PixelAspectRatio pixelAspectRatio{1, 1};
  };

  // A layer of the frame's size, captions laid out for the whole frame.
  CaptionBurner(int frameWidth, int frameHeight);
  CaptionBurner(int frameWidth, int frameHeight, const Layout& layout);

  // The layer, also for measuring text before anything shows.
  Frame& Layer() noexcept { return layer_; }
  // Draws `model` (null: nothing) into the layer, unless the layer holds it already; true when the
  // layer was drawn again.
  bool Show(const kelcaptioning::CaptioningRenderableModelPtr& model);
  // Whether anything shows, and the box of the layer that holds it.
  bool Showing() const noexcept { return shown_ != nullptr; }
  const Frame::InkBox& Ink() const noexcept { return ink_; }
  // Lays what shows over `frame`, of the layer's size.
  void Over(Frame& frame) const;

 private:
  Frame layer_;
  Layout layout_;
  kelcaptioning::CaptioningRenderableModelPtr shown_;
  bool drawn_ = false;
  // What the layer may hold besides zeros: all of it at first, since text may be measured on it.
  Frame::InkBox ink_;
};

}  // namespace kelcaption
