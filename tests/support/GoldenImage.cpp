#include "support/GoldenImage.h"

#include <cairo.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>

namespace kel_test {

std::string CompareWithGolden(const std::uint8_t* bgra, int width, int height, int sourceStride,
                              const std::string& name, int channelTolerance, double maxMismatchFraction) {
  const std::string path = std::string(KEL_GOLDEN_DIR) + "/" + name + ".png";
  // Cairo's PNG writer wants its own stride; copy row by row.
  cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  cairo_surface_flush(image);
  unsigned char* data = cairo_image_surface_get_data(image);
  const int stride = cairo_image_surface_get_stride(image);
  for (int y = 0; y < height; ++y) {
    std::copy_n(bgra + static_cast<std::size_t>(y) * sourceStride, width * 4, data + y * stride);
  }
  cairo_surface_mark_dirty(image);

  const char* update = std::getenv("KEL_UPDATE_GOLDEN");
  if (update && std::string(update) == "1") {
    cairo_surface_write_to_png(image, path.c_str());
    cairo_surface_destroy(image);
    return {};
  }
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
  cairo_surface_destroy(image);
  return problem.str();
}

}  // namespace kel_test
