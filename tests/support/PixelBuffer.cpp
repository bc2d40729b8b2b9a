#include "support/PixelBuffer.h"

#include <cairo.h>

#include "support/GoldenImage.h"

#include "kelcore/String.h"

namespace kel_test {

PixelBuffer::PixelBuffer(int width, int height)
    : width_(width), height_(height), bytes_(static_cast<std::size_t>(width) * height * 4, 0),
      supplier_(kelui::inkpad::NewOSSupplier()) {
  const std::uintptr_t none = 0;
  auto* surface = supplier_->CreateSurface(width, height, width * 4, kelui::inkpad::kSurfaceFormat_BGRA32Premultiplied,
                                           bytes_.data(), none);
  surface_ = dynamic_cast<kelui::inkpad::OSSurfaceInterface*>(surface);
}

PixelBuffer::~PixelBuffer() {
  if (surface_) surface_->Destroy();
  supplier_->Destroy();
}

Bgra PixelBuffer::At(int x, int row) const {
  const std::uint8_t* p = bytes_.data() + (static_cast<std::size_t>(row) * width_ + x) * 4;
  return {p[0], p[1], p[2], p[3]};
}

std::vector<int> PixelBuffer::InkBounds() const {
  std::vector<int> box{-1, -1, -1, -1};
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) {
      if (At(x, y).a == 0) continue;
      if (box[0] < 0 || x < box[0]) box[0] = x;
      if (box[1] < 0) box[1] = y;
      if (x > box[2]) box[2] = x;
      box[3] = y;
    }
  }
  return box;
}

std::string PixelBuffer::CompareWithGolden(const std::string& name, int channelTolerance,
                                           double maxMismatchFraction) const {
  return kel_test::CompareWithGolden(bytes_.data(), width_, height_, width_ * 4, name, channelTolerance,
                                     maxMismatchFraction);
}

std::string ComparePngWithGolden(const std::string& png, const std::string& name, int channelTolerance,
                                 double maxMismatchFraction) {
  cairo_surface_t* image = cairo_image_surface_create_from_png(png.c_str());
  std::string problem = cairo_surface_status(image) == CAIRO_STATUS_SUCCESS
                            ? CompareImageWithGolden(image, name, channelTolerance, maxMismatchFraction)
                            : "cannot read " + png;
  cairo_surface_destroy(image);
  return problem;
}

std::string CompareImageWithGolden(cairo_surface_t* image, const std::string& name, int channelTolerance,
                                   double maxMismatchFraction) {
  cairo_surface_flush(image);
  return kel_test::CompareWithGolden(cairo_image_surface_get_data(image), cairo_image_surface_get_width(image),
                                     cairo_image_surface_get_height(image), cairo_image_surface_get_stride(image),
                                     name, channelTolerance, maxMismatchFraction);
}

kelcore::UTF16String U16(const char* utf8) { return kelcore::string::UTF8ToUTF16(utf8); }

}  // namespace kel_test
