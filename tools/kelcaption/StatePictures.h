#pragma once

#include <string>

#include "kelcaption/CaptionBurner.h"
#include "kelcaption/Frame.h"

namespace kelcaption {

// Small pictures of caption states for a page: each state drawn once through the CaptionBurner,
// laid out for the whole frame and scaled down to the picture, over a video picture or alone,
// as PNG.
class StatePictures {
 public:
  // Pictures `pictureWidth` wide of a `frameWidth` x `frameHeight` frame.
  StatePictures(int frameWidth, int frameHeight, int pictureWidth);

  int Width() const noexcept { return picture_.Width(); }
  int Height() const noexcept { return picture_.Height(); }
  // A picture, or the part of one that holds anything, and where it lies in the whole (pixels).
  struct Picture {
    std::string png;  // empty when nothing shows
    int left = 0, top = 0, width = 0, height = 0;
  };
  // `model` drawn over `background` (a picture of this size). Without a background only the part
  // that the captions cover is kept, transparent around them, for the page to lay over its
  // grey: a tenth of the pixels to compress.
  Picture Draw(const kelcaptioning::CaptioningRenderableModelPtr& model, const Frame* background);

 private:
  static int PictureHeight(int frameWidth, int frameHeight, int pictureWidth);
  CaptionBurner burner_;
  Frame picture_;
};

}  // namespace kelcaption
