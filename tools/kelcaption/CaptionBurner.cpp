#include "kelcaption/CaptionBurner.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "kelcaption/RollUpScroll.h"
#include "kelcaptioningui/KelCaptioningUI.h"

namespace kelcaption {

namespace {

bool IsEmpty(const Frame::InkBox& box) { return box.first >= box.last || box.left >= box.right; }

Frame::InkBox Union(const Frame::InkBox& a, const Frame::InkBox& b) {
  if (IsEmpty(a)) return b;
  if (IsEmpty(b)) return a;
  return {std::min(a.first, b.first), std::max(a.last, b.last), std::min(a.left, b.left), std::max(a.right, b.right)};
}

}  // namespace

struct CaptionBurner::StateLayer {
  StateLayer(int width, int height) : frame(width, height) {}
  Frame frame;
  kelcaptioning::CaptioningRenderableModelPtr model;
  bool drawn = false;
  Frame::InkBox ink;  // a new frame holds zeros only
};

CaptionBurner::CaptionBurner(int frameWidth, int frameHeight)
    : CaptionBurner(frameWidth, frameHeight, Layout{frameWidth, frameHeight}) {}

CaptionBurner::CaptionBurner(int frameWidth, int frameHeight, const Layout& layout)
    : layer_(frameWidth, frameHeight), layout_(layout), ink_{0, frameHeight, 0, frameWidth} {}

CaptionBurner::~CaptionBurner() = default;

void CaptionBurner::Draw(Frame& frame, Frame::InkBox& ink,
                         const kelcaptioning::CaptioningRenderableModelPtr& model) const {
  frame.Clear(ink);  // all that the last state drew
  if (model) {
    const kelcore::RectT<int> layout{0, 0, layout_.layoutWidth, layout_.layoutHeight};
    kelcaptioningui::RenderOpenCaptions(model, layout, layout_.pixelAspectRatio,
                                        reinterpret_cast<char*>(frame.Bytes().data()), frame.Width() * 4, layout,
                                        layout, layout_.layoutWidth, layout_.layoutHeight, layout_.flip, layout_.scale);
  }
  ink = frame.FindInk();  // once per change of captions, not per frame
}

bool CaptionBurner::Show(const kelcaptioning::CaptioningRenderableModelPtr& model) {
  if (drawn_ && model == shown_ && offset_ < 0) return false;
  drawn_ = true;
  shown_ = model;
  offset_ = -1;
  Draw(layer_, ink_, model);
  return true;
}

bool CaptionBurner::ShowAt(const kelcaptionfiles::CaptionTimeline& timeline, kelmediatypes::TickTime time) {
  const kelcaptionfiles::TimedModel* state = timeline.At(time);
  if (smoothRollUp_) {
    if (const std::optional<RollUpScroll> scroll = RollUpScrollAt(timeline, time))
      return ShowScrolling(state->model, *scroll);
  }
  return Show(state ? state->model : nullptr);
}

void CaptionBurner::Keep(std::unique_ptr<StateLayer>& layer, const kelcaptioning::CaptioningRenderableModelPtr& model) {
  if (!layer) layer = std::make_unique<StateLayer>(layer_.Width(), layer_.Height());
  if (layer->drawn && layer->model == model) return;
  Draw(layer->frame, layer->ink, model);
  layer->model = model;
  layer->drawn = true;
}

CaptionBurner::Band CaptionBurner::BandOf(const kelcaptioning::CaptioningRenderableModelPtr& model,
                                          const RollUpScroll& scroll) const {
  const kelcore::RectT<int> layout{0, 0, layout_.layoutWidth, layout_.layoutHeight};
  const kelcore::RectT<float> rows = kelcaptioningui::GetCaptionRowsRect(
      model, 0, scroll.firstRow, scroll.rowCount,  // a line-21 state is one window, number 0
      {0, 0, static_cast<float>(layout_.layoutWidth), static_cast<float>(layout_.layoutHeight)});
  // Into the layer's pixels as RenderOpenCaptions draws, and snapped as the cells' backgrounds are.
  kelcore::MatrixT<float> toPixels;
  kelcaptioningui::GetVideoFrameInverseMatrix(layout, layout, layout_.scale, {1, 1}, toPixels);
  const float top = toPixels.Map({rows.x, rows.y}).y, bottom = toPixels.Map({rows.x, rows.y + rows.height}).y;
  const int drawnRows = static_cast<int>(static_cast<float>(layout_.layoutHeight) * layout_.scale);
  const auto snap = [&](float y) { return std::clamp(static_cast<int>(std::floor(y + 0.5f)), 0, drawnRows); };
  return {snap(top), snap(bottom), (bottom - top) / static_cast<float>(scroll.rowCount)};
}

bool CaptionBurner::ShowScrolling(const kelcaptioning::CaptioningRenderableModelPtr& model,
                                  const RollUpScroll& scroll) {
  const Band band = BandOf(model, scroll);
  if (band.bottom <= band.top || !(band.pitch >= 1.0f)) return Show(model);
  // How far below their place the rows stand: a row at the carriage return, none at the end.
  const int offset =
      std::clamp(static_cast<int>(std::lround((1.0 - scroll.progress) * band.pitch)), 0, band.bottom - band.top);
  if (offset == 0) return Show(model);
  if (drawn_ && offset == offset_ && model == shown_ && band == band_ && before_->model == scroll.before) return false;
  Keep(before_, scroll.before);
  Keep(after_, model);
  layer_.Clear(ink_);
  Compose(band, offset);
  drawn_ = true;
  shown_ = model;
  band_ = band;
  offset_ = offset;
  return true;
}

void CaptionBurner::Compose(const Band& band, int offset) {
  // A drawing row's row in the layer: with flip the drawing starts at the last row it covers.
  const int drawnRows = static_cast<int>(static_cast<float>(layout_.layoutHeight) * layout_.scale);
  const auto stored = [&](int y) { return layout_.flip ? drawnRows - 1 - y : y; };
  const int pitch = static_cast<int>(std::lround(band.pitch));
  const Frame::InkBox columns = Union(after_->ink, before_->ink);
  const Frame::InkBox bandBox{std::min(stored(band.top), stored(band.bottom - 1)),
                              std::max(stored(band.top), stored(band.bottom - 1)) + 1, columns.left, columns.right};
  ink_ = Union(after_->ink, IsEmpty(columns) ? Frame::InkBox{} : bandBox);
  const auto bytes = static_cast<std::size_t>(ink_.right - ink_.left) * 4;
  // Where a row's part within the box starts, in any of the layers: they are all of one size.
  const auto width = static_cast<std::size_t>(layer_.Width()), left = static_cast<std::size_t>(ink_.left);
  const auto at = [&](int row) { return (static_cast<std::size_t>(row) * width + left) * 4; };
  for (int row = ink_.first; row < ink_.last; ++row) {
    const int y = stored(row);
    const Frame* from = &after_->frame;
    int fromY = y;
    if (y >= band.top && y < band.bottom) {
      // Within the window the new rows stand `offset` below their place; above them stands what
      // is left of the old top row, moved up by the rest of a row.
      const bool oldTopRow = y < band.top + offset;
      if (oldTopRow) from = &before_->frame;
      fromY = oldTopRow ? y + pitch - offset : y - offset;
      if (fromY < band.top || fromY >= band.bottom) continue;  // nothing comes in from outside the window
    }
    std::memcpy(layer_.Bytes().data() + at(row), from->Bytes().data() + at(stored(fromY)), bytes);
  }
}

void CaptionBurner::Over(Frame& frame) const {
  if (shown_) frame.Composite(layer_, ink_);
}

}  // namespace kelcaption
