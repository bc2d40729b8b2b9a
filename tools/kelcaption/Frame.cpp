#include "kelcaption/Frame.h"

#include "kelcaption/Output.h"

#include <cairo.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <stdexcept>

namespace kelcaption {

namespace {

kelui::inkpad::SurfaceInterface* NewSurface(kelui::inkpad::SupplierInterface* supplier, int width, int height,
                                            std::vector<std::uint8_t>& bytes) {
  const std::uintptr_t none = 0;
  auto* surface = supplier->CreateSurface(width, height, width * 4, kelui::inkpad::kSurfaceFormat_BGRA32Premultiplied,
                                          bytes.data(), none);
  if (surface == nullptr) {
    supplier->Destroy();
    throw std::runtime_error("cannot draw a frame of " + std::to_string(width) + "x" + std::to_string(height));
  }
  return surface;
}

std::size_t FrameBytes(int width, int height) {
  if (width <= 0 || height <= 0 || width > 16384 || height > 16384) {
    throw std::runtime_error("frame size " + std::to_string(width) + "x" + std::to_string(height) +
                             " is out of range (1 to 16384 each way)");
  }
  return static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4;
}

}  // namespace

Frame::Frame(int width, int height)
    : width_(width),
      height_(height),
      bytes_(FrameBytes(width, height), 0),
      supplier_(kelui::inkpad::NewOSSupplier()),
      surface_(NewSurface(supplier_, width, height, bytes_)),
      inkpad_(supplier_, surface_) {}

Frame::~Frame() {
  surface_->Destroy();
  supplier_->Destroy();
}

void Frame::Clear() { std::fill(bytes_.begin(), bytes_.end(), std::uint8_t{0}); }

void Frame::Clear(const InkBox& box) {
  for (int y = box.first; y < box.last; ++y) {
    std::uint8_t* row = bytes_.data() + (static_cast<std::size_t>(y) * width_ + box.left) * 4;
    std::memset(row, 0, static_cast<std::size_t>(box.right - box.left) * 4);
  }
}

namespace {

// Whether the eight pixels from `pixels` are all zeros.
bool EightClear(const std::uint8_t* pixels) {
  std::uint64_t words[4];
  std::memcpy(words, pixels, sizeof words);
  return (words[0] | words[1] | words[2] | words[3]) == 0;
}

bool HasInk(const std::uint8_t* pixel) {
  std::uint32_t word = 0;
  std::memcpy(&word, pixel, 4);
  return word != 0;
}

// The first pixel in [from, to) of a row that is not all zeros, or `to`; eight pixels a step
// where the row is clear.
int FirstInk(const std::uint8_t* row, int from, int to) {
  int x = from;
  while (x + 8 <= to && EightClear(row + static_cast<std::size_t>(x) * 4)) x += 8;
  for (; x < to; ++x)
    if (HasInk(row + static_cast<std::size_t>(x) * 4)) return x;
  return to;
}

// One past the last pixel in [from, to) that is not all zeros, or `from`.
int LastInkEnd(const std::uint8_t* row, int from, int to) {
  int x = to;
  while (x - 8 >= from && EightClear(row + static_cast<std::size_t>(x - 8) * 4)) x -= 8;
  for (; x > from; --x)
    if (HasInk(row + static_cast<std::size_t>(x - 1) * 4)) return x;
  return from;
}

// out = src + dst * (255 - a) / 255 over `n` bytes; branch-free so that the compiler vectorises it.
void OverBytes(const std::uint8_t* src, std::uint8_t* dst, std::size_t n) {
  for (std::size_t i = 0; i < n; i += 4) {
    const unsigned keep = 255u - src[i + 3];
    for (std::size_t c = 0; c < 4; ++c) {
      const unsigned t = dst[i + c] * keep + 128u;
      dst[i + c] = static_cast<std::uint8_t>(src[i + c] + ((t + (t >> 8)) >> 8));
    }
  }
}

}  // namespace

Frame::InkBox Frame::FindInk() const {
  InkBox box{height_, 0, width_, 0};
  for (int y = 0; y < height_; ++y) {
    const std::uint8_t* row = bytes_.data() + static_cast<std::size_t>(y) * width_ * 4;
    const int first = FirstInk(row, 0, width_);
    if (first == width_) continue;
    box.first = std::min(box.first, y);
    box.last = y + 1;
    box.left = std::min(box.left, first);
    // Only what lies right of the box so far can widen it.
    box.right = std::max(box.right, LastInkEnd(row, std::max(first, box.right), width_));
  }
  if (box.last == 0) return {};
  return box;
}

void Frame::Composite(const Frame& layer, const InkBox& box) {
  if (layer.width_ != width_ || layer.height_ != height_) return;
  // A caption layer is mostly clear or opaque: runs of pixels that are wholly one or the other
  // are skipped or copied (the same bytes the blend gives, the layer being premultiplied).
  constexpr std::size_t kRunBytes = 16 * 4;
  for (int y = box.first; y < box.last; ++y) {
    const std::size_t offset = (static_cast<std::size_t>(y) * width_ + box.left) * 4;
    const std::uint8_t* src = layer.bytes_.data() + offset;
    std::uint8_t* dst = bytes_.data() + offset;
    const std::size_t n = static_cast<std::size_t>(box.right - box.left) * 4;
    std::size_t i = 0;
    for (; i + kRunBytes <= n; i += kRunBytes) {
      unsigned any = 0, all = 255;
      for (std::size_t a = i + 3; a < i + kRunBytes; a += 4) any |= src[a], all &= src[a];
      if (any == 0) continue;
      if (all == 255) {
        std::memcpy(dst + i, src + i, kRunBytes);
      } else {
        OverBytes(src + i, dst + i, kRunBytes);
      }
    }
    OverBytes(src + i, dst + i, n - i);
  }
}

std::string Frame::EncodePng() const {
  std::string png;
  cairo_surface_t* image = cairo_image_surface_create_for_data(const_cast<std::uint8_t*>(bytes_.data()),
                                                               CAIRO_FORMAT_ARGB32, width_, height_, width_ * 4);
  const cairo_status_t status = cairo_surface_write_to_png_stream(
      image,
      [](void* closure, const unsigned char* data, unsigned int length) {
        static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
        return CAIRO_STATUS_SUCCESS;
      },
      &png);
  cairo_surface_destroy(image);
  if (status != CAIRO_STATUS_SUCCESS) throw std::runtime_error("cannot encode a PNG of the frame");
  return png;
}

void Frame::WritePng(const std::string& path) const { WriteOutput(EncodePng(), path); }

void Frame::ReadPng(const std::string& path) {
  cairo_surface_t* png = cairo_image_surface_create_from_png(path.c_str());
  if (cairo_surface_status(png) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(png);
    throw std::runtime_error("cannot read the PNG " + path);
  }
  if (cairo_image_surface_get_width(png) != width_ || cairo_image_surface_get_height(png) != height_) {
    cairo_surface_destroy(png);
    throw std::runtime_error(path + " is not " + std::to_string(width_) + "x" + std::to_string(height_));
  }
  cairo_surface_t* target =
      cairo_image_surface_create_for_data(bytes_.data(), CAIRO_FORMAT_ARGB32, width_, height_, width_ * 4);
  cairo_t* cr = cairo_create(target);
  cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
  cairo_set_source_surface(cr, png, 0, 0);
  cairo_paint(cr);
  cairo_destroy(cr);
  cairo_surface_destroy(target);
  cairo_surface_destroy(png);
}

}  // namespace kelcaption
