#include <new>

#include "GpObjects.h"
#include "gdiplus/GdiPlusCairo.h"

namespace Gdiplus {

namespace {

bool IsCompositingMode(CompositingMode mode) {
  return mode == CompositingModeSourceOver || mode == CompositingModeSourceCopy;
}

}  // namespace

Status GdipCreateFromCairoContext(cairo_t* context, GpGraphics** graphics) {
  if (context == nullptr || graphics == nullptr) return InvalidParameter;
  *graphics = new (std::nothrow) GpGraphics();
  if (*graphics == nullptr) return OutOfMemory;
  (*graphics)->context = cairo_reference(context);
  return Ok;
}

Status GdipCreateDetachedGraphics(GpGraphics** graphics) {
  if (graphics == nullptr) return InvalidParameter;
  *graphics = new (std::nothrow) GpGraphics();
  return *graphics ? Ok : OutOfMemory;
}

Status GdipDeleteGraphics(GpGraphics* graphics) {
  if (graphics == nullptr) return InvalidParameter;
  if (graphics->context) cairo_destroy(graphics->context);
  delete graphics;
  return Ok;
}

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

Status GdipSetSmoothingMode(GpGraphics* graphics, SmoothingMode mode) {
  if (graphics == nullptr || mode < SmoothingModeDefault || mode > SmoothingModeAntiAlias8x8) return InvalidParameter;
  graphics->smoothingMode = mode;
  return Ok;
}

Status GdipGetSmoothingMode(GpGraphics* graphics, SmoothingMode* mode) {
  if (graphics == nullptr || mode == nullptr) return InvalidParameter;
  *mode = graphics->smoothingMode;
  return Ok;
}

Status GdipSetInterpolationMode(GpGraphics* graphics, InterpolationMode mode) {
  if (graphics == nullptr || mode < InterpolationModeDefault || mode > InterpolationModeHighQualityBicubic) {
    return InvalidParameter;
  }
  graphics->interpolationMode = mode;
  return Ok;
}

Status GdipGetInterpolationMode(GpGraphics* graphics, InterpolationMode* mode) {
  if (graphics == nullptr || mode == nullptr) return InvalidParameter;
  *mode = graphics->interpolationMode;
  return Ok;
}

}  // namespace Gdiplus
