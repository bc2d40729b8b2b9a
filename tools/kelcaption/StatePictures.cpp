#include "kelcaption/StatePictures.h"

#include <algorithm>
#include <cmath>

namespace kelcaption {

namespace {

CaptionBurner::Layout ScaledLayout(int frameWidth, int frameHeight, int pictureWidth, int pictureHeight) {
  CaptionBurner::Layout layout{frameWidth, frameHeight};
  // The smaller of the two, so that the scaled frame stays inside the picture.
  layout.scale = std::min(static_cast<float>(pictureWidth) / static_cast<float>(frameWidth),
                          static_cast<float>(pictureHeight) / static_cast<float>(frameHeight));
  return layout;
}

}  // namespace

int StatePictures::PictureHeight(int frameWidth, int frameHeight, int pictureWidth) {
  return std::max(1, static_cast<int>(std::lround(static_cast<double>(pictureWidth) * frameHeight / frameWidth)));
}

StatePictures::StatePictures(int frameWidth, int frameHeight, int pictureWidth)
    : burner_(pictureWidth, PictureHeight(frameWidth, frameHeight, pictureWidth),
              ScaledLayout(frameWidth, frameHeight, pictureWidth, PictureHeight(frameWidth, frameHeight, pictureWidth))),
      picture_(pictureWidth, PictureHeight(frameWidth, frameHeight, pictureWidth)) {}

StatePictures::Picture StatePictures::Draw(const kelcaptioning::CaptioningRenderableModelPtr& model,
                                           const Frame* background) {
  burner_.Show(model);
  if (background == nullptr) {
    const Frame::InkBox& ink = burner_.Ink();
    if (!burner_.Showing() || ink.first == ink.last) return {};
    return {burner_.Layer().EncodePng(ink), ink.left, ink.first, ink.right - ink.left, ink.last - ink.first};
  }
  std::copy(background->Bytes().begin(), background->Bytes().end(), picture_.Bytes().begin());
  burner_.Over(picture_);
  return {picture_.EncodePng(), 0, 0, picture_.Width(), picture_.Height()};
}

}  // namespace kelcaption
