#include <cmath>
#include <utility>

#include "CairoObjects.h"
#include "CairoSurface.h"
#include "keltext/FontLibrary.h"
#include "kelui/inkpad/Supplier.h"

namespace kelui::inkpad {

namespace {

// Makes Cairo surfaces over caller memory and the objects drawn on them. Fonts come from the
// text engine, which keeps every face it has opened: a font for a face already seen is a cache
// lookup and a small allocation.
class CairoSupplier final : public SupplierInterface {
 public:
  void Destroy() override { delete this; }

  // Refused: a format other than 7, a size of 0 or less, a row step smaller than the row or not
  // a multiple of 4, a null or misaligned pointer, or a non-zero platform value (reserved).
  SurfaceInterface* CreateSurface(int width, int height, int rowBytes, int format, void* firstRow,
                                  const std::uintptr_t& platformContext) override {
    if (platformContext != 0) return nullptr;
    return CairoSurface::Create(width, height, rowBytes, format, firstRow);
  }

  PenInterface* CreatePen(const Color& color, float width) override {
    if (!std::isfinite(width) || width < 0.0f) return nullptr;
    return new CairoPen(color, width);
  }

  BrushInterface* CreateSolidBrush(const Color& color) override { return new CairoBrush(color); }

  // An unknown face falls back to an installed one; a size that is negative or not finite
  // becomes 0 (the font then draws nothing). Null only when no font is installed at all.
  FontInterface* CreateFont(const kelcore::UTF16String& face, const kelcore::UTF16String& style,
                            float size) override {
    const keltext::FaceMatch match = keltext::FontLibrary::Instance().Match(
        std::u16string_view(face.data(), face.size()), std::u16string_view(style.data(), style.size()));
    if (match.face == nullptr) return nullptr;
    return new CairoFont(*match.face, std::isfinite(size) && size > 0.0f ? size : 0.0f);
  }

  PathInterface* CreatePath() override { return new CairoPath(); }
};

}  // namespace

SupplierInterface* NewOSSupplier() { return new CairoSupplier(); }

std::vector<FontSubstitution> TakeFontSubstitutions() {
  std::vector<FontSubstitution> taken;
  for (keltext::FaceSubstitution& s : keltext::FontLibrary::Instance().TakeSubstitutions()) {
    taken.push_back({std::move(s.asked), std::move(s.drawn)});
  }
  return taken;
}

void ReleaseFontCaches() { keltext::ReleaseTextEngine(); }

}  // namespace kelui::inkpad
