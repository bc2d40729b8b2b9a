#include <algorithm>
#include <cstdint>
#include <memory>

#include "kelcaptioningui/KelCaptioningUI.h"
#include "kelui/inkpad/Supplier.h"
#include "kelui/inkpad/Surface.h"
#include "paint/Rounding.h"

namespace kelcaptioningui {

using kelcore::RectT;

namespace {

// Owners that end the supplier and the surface on every way out, exceptions included.
struct SupplierEnd {
  void operator()(kelui::inkpad::SupplierInterface* supplier) const { supplier->Destroy(); }
};
struct SurfaceEnd {
  void operator()(kelui::inkpad::SurfaceInterface* surface) const { surface->Destroy(); }
};

}  // namespace

bool RenderOpenCaptions(const kelcaptioning::CaptioningRenderableModelPtr& model, const RectT<int>& pixelFrameRect,
                        const kelmediatypes::PixelAspectRatio& /*pixelAspectRatio*/, char* pixels, int rowBytes,
                        const RectT<int>& frameRect, const RectT<int>& layoutRect, int width, int height,
                        bool flipVertical, float scale) {
  const int surfaceWidth = TruncToInt(static_cast<float>(width) * scale);
  const int surfaceHeight = TruncToInt(static_cast<float>(height) * scale);
  if (pixels == nullptr || rowBytes < 1 || !model) return false;

  char* firstRow = pixels;
  int step = rowBytes;
  if (flipVertical && surfaceHeight > 0) {
    // Bottom-up: the surface's first row is the block's last.
    firstRow = pixels + static_cast<std::ptrdiff_t>(surfaceHeight - 1) * rowBytes;
    step = -rowBytes;
  }

  const std::unique_ptr<kelui::inkpad::SupplierInterface, SupplierEnd> supplier(kelui::inkpad::NewOSSupplier());
  const std::uintptr_t noPlatformValue = 0;
  const std::unique_ptr<kelui::inkpad::SurfaceInterface, SurfaceEnd> surface(
      supplier->CreateSurface(surfaceWidth, surfaceHeight, step, kelui::inkpad::kSurfaceFormat_BGRA32Premultiplied,
                              firstRow, noPlatformValue));
  // A block the drawing layer cannot draw into (a size of 0 or less, rows too short): nothing drawn.
  if (!surface) return false;
  surface->SetRenderMode(2);

  kelcore::MatrixT<float> matrix;
  if (GetVideoFrameInverseMatrix(pixelFrameRect, layoutRect, scale, kelmediatypes::PixelAspectRatio(1, 1), matrix)) {
    surface->SetTransform(matrix);
  }
  kelui::inkpad::Inkpad inkpad(supplier.get(), surface.get());
  DrawCaption(model, &inkpad,
              RectT<float>{static_cast<float>(frameRect.x), static_cast<float>(frameRect.y),
                           static_cast<float>(frameRect.width), static_cast<float>(frameRect.height)});
  return true;
}

bool GetVideoFrameInverseMatrix(const RectT<int>& pixelFrameRect, const RectT<int>& layoutRect, float scale,
                                const kelmediatypes::PixelAspectRatio& pixelAspectRatio,
                                kelcore::MatrixT<float>& matrix) {
  const int scaledWidth = TruncToInt(static_cast<float>(pixelFrameRect.width) * scale + 0.5f);
  const int scaledHeight = TruncToInt(static_cast<float>(pixelFrameRect.height) * scale + 0.5f);
  matrix = kelcore::MatrixT<float>{};
  if (scaledWidth == layoutRect.width && scaledHeight == layoutRect.height && pixelAspectRatio.IsSquare() &&
      layoutRect.y == 0 && layoutRect.x == 0) {
    return false;
  }
  const float sx = static_cast<float>(scaledWidth) / static_cast<float>(layoutRect.width);
  const float sy = static_cast<float>(scaledHeight) / static_cast<float>(layoutRect.height);
  const float k = static_cast<float>(pixelAspectRatio.GetDenominator()) / static_cast<float>(pixelAspectRatio.GetNumerator());
  kelcore::MatrixT<float> translation;
  translation.m6 = static_cast<float>(pixelFrameRect.x) / sx - static_cast<float>(layoutRect.x);
  translation.m7 = static_cast<float>(pixelFrameRect.y) / sy - static_cast<float>(layoutRect.y);
  matrix.MultiplyMatrix(translation);
  matrix.ScaleMatrixAbout(k * sx, sy, 0.0f, 0.0f);
  return true;
}

void GetPARAdjustedRect(const kelmediatypes::PixelAspectRatio& pixelAspectRatio, RectT<float>& rect) {
  if (pixelAspectRatio.IsSquare()) return;
  const float f = static_cast<float>(pixelAspectRatio.GetNumerator()) / static_cast<float>(pixelAspectRatio.GetDenominator());
  const float x1 = rect.x * f, x2 = (rect.x + rect.width) * f;
  const float y1 = rect.y, y2 = rect.y + rect.height;
  const float left = std::min(x1, x2), top = std::min(y1, y2);
  rect = {left, top, std::max(x1, x2) - left, std::max(y1, y2) - top};
}

}  // namespace kelcaptioningui
