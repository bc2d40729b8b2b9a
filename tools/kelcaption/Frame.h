#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "kelui/inkpad/Inkpad.h"
#include "kelui/inkpad/Supplier.h"
#include "kelui/inkpad/Surface.h"

namespace kelcaption {

// A premultiplied BGRA frame in memory with a drawing surface over it.
class Frame {
 public:
  // Throws std::runtime_error when the drawing layer refuses the size.
  Frame(int width, int height);
  ~Frame();
  Frame(const Frame&) = delete;
  Frame& operator=(const Frame&) = delete;

  int Width() const noexcept { return width_; }
  int Height() const noexcept { return height_; }
  std::vector<std::uint8_t>& Bytes() noexcept { return bytes_; }
  const std::vector<std::uint8_t>& Bytes() const noexcept { return bytes_; }
  kelui::inkpad::Inkpad& Inkpad() noexcept { return inkpad_; }
  kelui::inkpad::SurfaceInterface& Surface() noexcept { return *surface_; }

  void Clear();
  // The rows [first, last) and columns [left, right) that hold every pixel that is not all
  // zeros (for premultiplied pixels: every one that is not transparent); empty (first == last)
  // when there is none.
  struct InkBox {
    int first = 0, last = 0, left = 0, right = 0;
  };
  InkBox FindInk() const;
  // Clears `box` only: after FindInk's box, the whole frame is clear again.
  void Clear(const InkBox& box);
  // Lays `layer` (same size, premultiplied) over this frame, within `box` of the layer's ink.
  void Composite(const Frame& layer, const InkBox& box);
  void Composite(const Frame& layer) { Composite(layer, layer.FindInk()); }
  std::string EncodePng() const { return EncodePng({0, height_, 0, width_}); }
  // The pixels of `box` alone (not empty, inside the frame).
  std::string EncodePng(const InkBox& box) const;
  // Writes a PNG to standard output ("-") or through a temporary file renamed into place, so no
  // half-written file is left.
  void WritePng(const std::string& path) const;
  // Reads a PNG of exactly this size into the frame; throws std::runtime_error otherwise.
  void ReadPng(const std::string& path);

 private:
  int width_;
  int height_;
  std::vector<std::uint8_t> bytes_;
  kelui::inkpad::SupplierInterface* supplier_;
  kelui::inkpad::SurfaceInterface* surface_;
  kelui::inkpad::Inkpad inkpad_;
};

}  // namespace kelcaption
