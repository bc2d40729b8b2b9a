#include "support/PixelBuffer.h"

#include <cairo.h>

#include <cstdlib>
#include <sstream>

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
  // Cairo's PNG writer wants its own stride; copy row by row.
  cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width_, height_);
  cairo_surface_flush(image);
  unsigned char* data = cairo_image_surface_get_data(image);
  const int stride = cairo_image_surface_get_stride(image);
  for (int y = 0; y < height_; ++y) {
    std::copy_n(bytes_.data() + static_cast<std::size_t>(y) * width_ * 4, width_ * 4, data + y * stride);
  }
  cairo_surface_mark_dirty(image);
  const std::string problem = CompareImageWithGolden(image, name, channelTolerance, maxMismatchFraction);
  cairo_surface_destroy(image);
  return problem;
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
  const std::string path = std::string(KEL_GOLDEN_DIR) + "/" + name + ".png";
  const int width = cairo_image_surface_get_width(image), height = cairo_image_surface_get_height(image);
  const char* update = std::getenv("KEL_UPDATE_GOLDEN");
  if (update && std::string(update) == "1") {
    cairo_surface_write_to_png(image, path.c_str());
    return {};
  }
  cairo_surface_flush(image);
  const unsigned char* data = cairo_image_surface_get_data(image);
  const int stride = cairo_image_surface_get_stride(image);
  cairo_surface_t* golden = cairo_image_surface_create_from_png(path.c_str());
  std::ostringstream problem;
  if (cairo_surface_status(golden) != CAIRO_STATUS_SUCCESS) {
    problem << "cannot read " << path;
  } else if (cairo_image_surface_get_width(golden) != width || cairo_image_surface_get_height(golden) != height) {
    problem << path << " is " << cairo_image_surface_get_width(golden) << "x" << cairo_image_surface_get_height(golden);
  } else {
    const unsigned char* g = cairo_image_surface_get_data(golden);
    const int goldenStride = cairo_image_surface_get_stride(golden);
    long mismatches = 0;
    int worst = 0;
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width * 4; x += 4) {
        int pixelWorst = 0;
        for (int c = 0; c < 4; ++c) pixelWorst = std::max(pixelWorst, std::abs(data[y * stride + x + c] - g[y * goldenStride + x + c]));
        worst = std::max(worst, pixelWorst);
        if (pixelWorst > channelTolerance) ++mismatches;
      }
    }
    const double fraction = static_cast<double>(mismatches) / (static_cast<double>(width) * height);
    if (fraction > maxMismatchFraction) {
      problem << name << ": " << mismatches << " pixels differ by more than " << channelTolerance
              << " (largest difference " << worst << ")";
    }
  }
  cairo_surface_destroy(golden);
  return problem.str();
}

kelcore::UTF16String U16(const char* utf8) { return kelcore::string::UTF8ToUTF16(utf8); }

}  // namespace kel_test
