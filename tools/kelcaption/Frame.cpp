#include "kelcaption/Frame.h"

#include "kelcaption/Output.h"
#include "kelcaptioningui/CaptionLayer.h"

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

Frame::InkBox Frame::FindInk() const {
  const kelcore::RectT<int> ink = kelcaptioningui::FindCaptionLayerInk(bytes_.data(), width_ * 4, width_, height_);
  if (ink.width == 0) return {};
  return {ink.y, ink.y + ink.height, ink.x, ink.x + ink.width};
}

void Frame::Composite(const Frame& layer, const InkBox& box) {
  if (layer.width_ != width_ || layer.height_ != height_) return;
  const kelcore::RectT<int> area{box.left, box.first, box.right - box.left, box.last - box.first};
  kelcaptioningui::CompositeCaptionLayer(layer.bytes_.data(), width_ * 4, bytes_.data(), width_ * 4, width_, height_,
                                         &area);
}

std::string Frame::EncodePng(const InkBox& box) const {
  std::string png;
  std::uint8_t* corner = const_cast<std::uint8_t*>(bytes_.data()) +
                         (static_cast<std::size_t>(box.first) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(box.left)) * 4;
  cairo_surface_t* image = cairo_image_surface_create_for_data(corner, CAIRO_FORMAT_ARGB32, box.right - box.left,
                                                               box.last - box.first, width_ * 4);
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
