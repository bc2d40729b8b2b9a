#include "gdiplus/GdiPlus.h"

#include <new>

namespace Gdiplus {

struct GpGraphics {
  CompositingMode compositingMode = CompositingModeSourceOver;
};

namespace {

bool IsCompositingMode(CompositingMode mode) {
  return mode == CompositingModeSourceOver || mode == CompositingModeSourceCopy;
}

}  // namespace

Status GdipSetCompositingMode(GpGraphics* graphics, CompositingMode mode) {
  if (graphics == nullptr || !IsCompositingMode(mode)) return InvalidParameter;
  graphics->compositingMode = mode;
  return Ok;
}

Status GdipGetCompositingMode(GpGraphics* graphics, CompositingMode* mode) {
  if (graphics == nullptr || mode == nullptr) return InvalidParameter;
  *mode = graphics->compositingMode;
  return Ok;
}

Status GdipCreateDetachedGraphics(GpGraphics** graphics) {
  if (graphics == nullptr) return InvalidParameter;
  *graphics = new (std::nothrow) GpGraphics();
  return *graphics ? Ok : OutOfMemory;
}

Status GdipDeleteGraphics(GpGraphics* graphics) {
  if (graphics == nullptr) return InvalidParameter;
  delete graphics;
  return Ok;
}

}  // namespace Gdiplus
