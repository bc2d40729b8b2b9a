#pragma once

#include <memory>

#include "kelcaption/Frame.h"
#include "kelcaptionfiles/CaptionTimeline.h"
#include "kelcaptioning/RenderableModel.h"
#include "kelmediatypes/PixelShape.h"

namespace kelcaption {

struct RollUpScroll;

// The one way the tool turns a caption state into pixels: the state is drawn into a cleared
// caption layer through RenderOpenCaptions, as a host burns captions, and the layer is laid
// over each frame. The layer is drawn again only when another state shows, or while a roll-up
// scrolls.
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
  ~CaptionBurner();

  // The layer, also for measuring text before anything shows.
  Frame& Layer() noexcept { return layer_; }
  // Draws `model` (null: nothing) into the layer, unless the layer holds it already; true when the
  // layer was drawn again.
  bool Show(const kelcaptioning::CaptioningRenderableModelPtr& model);
  // Roll-ups scroll smoothly in ShowAt (see RollUpScrollAt) instead of jumping a row.
  void SetSmoothRollUp(bool smooth) noexcept { smoothRollUp_ = smooth; }
  // Shows what `timeline` shows at `time`, as Show does.
  bool ShowAt(const kelcaptionfiles::CaptionTimeline& timeline, kelmediatypes::TickTime time);
  // Whether anything shows, and the box of the layer that holds it.
  bool Showing() const noexcept { return shown_ != nullptr; }
  const Frame::InkBox& Ink() const noexcept { return ink_; }
  // Lays what shows over `frame`, of the layer's size.
  void Over(Frame& frame) const;

 private:
  // A state drawn on a layer of its own, for a scroll to take rows from.
  struct StateLayer;
  // The rows of the layer that a scroll moves, top first, and the height of one in pixels.
  struct Band {
    int top = 0, bottom = 0;
    float pitch = 0.0f;
    friend bool operator==(const Band&, const Band&) = default;
  };

  void Draw(Frame& frame, Frame::InkBox& ink, const kelcaptioning::CaptioningRenderableModelPtr& model) const;
  void Keep(std::unique_ptr<StateLayer>& layer, const kelcaptioning::CaptioningRenderableModelPtr& model);
  bool ShowScrolling(const kelcaptioning::CaptioningRenderableModelPtr& model, const RollUpScroll& scroll);
  Band BandOf(const kelcaptioning::CaptioningRenderableModelPtr& model, const RollUpScroll& scroll) const;
  void Compose(const Band& band, int offset);

  Frame layer_;
  Layout layout_;
  kelcaptioning::CaptioningRenderableModelPtr shown_;
  bool drawn_ = false;
  // What the layer may hold besides zeros: all of it at first, since text may be measured on it.
  Frame::InkBox ink_;
  bool smoothRollUp_ = false;
  // While a roll-up scrolls: the states it moves between, and how far below their place the rows
  // stand in the layer (-1 when the layer holds a state as it is).
  std::unique_ptr<StateLayer> before_, after_;
  Band band_;
  int offset_ = -1;
};

}  // namespace kelcaption
