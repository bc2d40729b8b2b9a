#pragma once

#include <string>

#include "kelcaption/CaptionBurner.h"
#include "kelcaption/Frame.h"

namespace kelcaption {

// Small pictures of caption states for a page: each state drawn once through the CaptionBurner,
// laid out for the whole frame and scaled down to the picture, over a video picture or a neutral
// grey, as PNG.
class StatePictures {
 public:
  // Pictures `pictureWidth` wide of a `frameWidth` x `frameHeight` frame.
  StatePictures(int frameWidth, int frameHeight, int pictureWidth);

  int Width() const noexcept { return picture_.Width(); }
  int Height() const noexcept { return picture_.Height(); }
  // `model` drawn over `background` (a picture of this size) or, when it is null, the grey.
  std::string Png(const kelcaptioning::CaptioningRenderableModelPtr& model, const Frame* background);

 private:
  static int PictureHeight(int frameWidth, int frameHeight, int pictureWidth);
  CaptionBurner burner_;
  Frame picture_;
};

}  // namespace kelcaption
