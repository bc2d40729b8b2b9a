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

std::string StatePictures::Png(const kelcaptioning::CaptioningRenderableModelPtr& model, const Frame* background) {
  if (background != nullptr) {
    std::copy(background->Bytes().begin(), background->Bytes().end(), picture_.Bytes().begin());
  } else {
    for (std::size_t i = 0; i < picture_.Bytes().size(); i += 4) {
      picture_.Bytes()[i] = picture_.Bytes()[i + 1] = picture_.Bytes()[i + 2] = 0x5A;
      picture_.Bytes()[i + 3] = 0xFF;
    }
  }
  burner_.Show(model);
  burner_.Over(picture_);
  return picture_.EncodePng();
}

}  // namespace kelcaption
