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
  kelui::inkpad::Inkpad& Inkpad() noexcept { return inkpad_; }
  kelui::inkpad::SurfaceInterface& Surface() noexcept { return *surface_; }

  void Clear();
  // Lays `layer` (same size, premultiplied) over this frame.
  void Composite(const Frame& layer);
  // Writes a PNG through a temporary file renamed into place, so no half-written file is left.
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
