#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "kelui/inkpad/Supplier.h"

typedef struct _cairo_surface cairo_surface_t;
#include "kelui/inkpad/Surface.h"

namespace kel_test {

// One pixel as it lies in memory: B, G, R, A, premultiplied.
struct Bgra {
  std::uint8_t b = 0, g = 0, r = 0, a = 0;
  friend bool operator==(const Bgra&, const Bgra&) = default;
};

// A caller-owned 32-bit BGRA frame and an OS surface drawing into it.
class PixelBuffer {
 public:
  PixelBuffer(int width, int height);
  ~PixelBuffer();
  PixelBuffer(const PixelBuffer&) = delete;
  PixelBuffer& operator=(const PixelBuffer&) = delete;

  kelui::inkpad::SupplierInterface* supplier() const { return supplier_; }
  kelui::inkpad::OSSurfaceInterface* surface() const { return surface_; }

  // Pixel at buffer row `row` (memory order, top row first) and column `x`.
  Bgra At(int x, int row) const;
  // The bounding box of pixels with any alpha, in buffer rows: {left, top, right, bottom}
  // inclusive; all -1 when nothing was drawn.
  std::vector<int> InkBounds() const;
  const std::vector<std::uint8_t>& bytes() const { return bytes_; }

  // Compares with tests/golden/<name>.png: a pixel matches when each channel is within
  // `channelTolerance`; the image matches when at most `maxMismatchFraction` of its pixels do
  // not. KEL_UPDATE_GOLDEN=1 in the environment rewrites the golden instead. Returns an empty
  // string on a match, else what differed.
  std::string CompareWithGolden(const std::string& name, int channelTolerance = 4,
                                double maxMismatchFraction = 0.001) const;

 private:
  int width_;
  int height_;
  std::vector<std::uint8_t> bytes_;
  kelui::inkpad::SupplierInterface* supplier_;
  kelui::inkpad::OSSurfaceInterface* surface_ = nullptr;
};

// The same comparison for an image made elsewhere: a PNG file, or a cairo image surface.
std::string ComparePngWithGolden(const std::string& png, const std::string& name, int channelTolerance,
                                 double maxMismatchFraction);
std::string CompareImageWithGolden(cairo_surface_t* image, const std::string& name, int channelTolerance,
                                   double maxMismatchFraction);

kelcore::UTF16String U16(const char* utf8);

}  // namespace kel_test
