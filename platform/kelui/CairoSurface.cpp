#include "CairoSurface.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "CairoObjects.h"
#include "gdiplus/GdiPlusCairo.h"
#include "keltext/GlyphDrawing.h"
#include "keltext/ShapedText.h"

namespace kelui::inkpad {

namespace {

Gdiplus::GpGraphics* GraphicsFor(cairo_t* context) {
  Gdiplus::GpGraphics* graphics = nullptr;
  Gdiplus::GdipCreateFromCairoContext(context, &graphics);
  return graphics;
}

double Component(float value) { return std::isfinite(value) ? value : 0.0; }

}  // namespace

CairoSurface* CairoSurface::Create(int width, int height, int rowBytes, int format, void* firstRow) {
  if (format != kSurfaceFormat_BGRA32Premultiplied || width <= 0 || height <= 0 || firstRow == nullptr) return nullptr;
  const std::int64_t step = std::llabs(static_cast<std::int64_t>(rowBytes));
  // Cairo wants whole 32-bit pixels at 32-bit aligned rows.
  if (step < static_cast<std::int64_t>(width) * 4 || step % 4 != 0 ||
      reinterpret_cast<std::uintptr_t>(firstRow) % 4 != 0 || width > 32767 || height > 32767) {
    return nullptr;
  }
  cairo_surface_t* target = cairo_image_surface_create_for_data(static_cast<unsigned char*>(firstRow),
                                                                CAIRO_FORMAT_ARGB32, width, height, rowBytes);
  if (cairo_surface_status(target) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(target);
    return nullptr;
  }
  cairo_t* context = cairo_create(target);
  if (cairo_status(context) != CAIRO_STATUS_SUCCESS) {
    cairo_destroy(context);
    cairo_surface_destroy(target);
    return nullptr;
  }
  keltext::ApplyCaptionFontOptions(context);
  try {
    return new CairoSurface(target, context);
  } catch (...) {
    // The Cairo objects are not owned by anything yet.
    cairo_destroy(context);
    cairo_surface_destroy(target);
    throw;
  }
}

CairoSurface::CairoSurface(cairo_surface_t* target, cairo_t* context)
    : target_(target), context_(context), graphics_(GraphicsFor(context)) {}

CairoSurface::~CairoSurface() {
  cairo_surface_flush(target_);
  cairo_destroy(context_);
  cairo_surface_destroy(target_);
}

void CairoSurface::Destroy() { delete this; }

void CairoSurface::SaveState() {
  // Recorded first: if that fails, Cairo has not saved either, and saves and restores stay paired.
  savedCollapsed_.push_back(collapsed_);
  cairo_save(context_);
}

void CairoSurface::RestoreState() {
  // A restore without a save would put the Cairo context into a permanent error state.
  if (savedCollapsed_.empty()) return;
  cairo_restore(context_);
  collapsed_ = savedCollapsed_.back();
  savedCollapsed_.pop_back();
}

bool CairoSurface::BeginPaint(const Color& color, Paint paint) {
  if (collapsed_) return false;
  bool copy = false;
  if (paint == Paint::kRectangle) {
    Gdiplus::CompositingMode mode = Gdiplus::CompositingModeSourceOver;
    Gdiplus::GdipGetCompositingMode(graphics_.nativeGraphics, &mode);
    // Copying lerps by coverage, which for an opaque colour is what blending over does; Cairo
    // blends straight into the target but copies through a mask that it makes for every call.
    copy = mode == Gdiplus::CompositingModeSourceCopy && !(Component(color.alpha) >= 1.0);
  }
  cairo_set_operator(context_, copy ? CAIRO_OPERATOR_SOURCE : CAIRO_OPERATOR_OVER);
  if (paint != Paint::kText) {
    cairo_set_antialias(context_, renderMode_ == 0 ? CAIRO_ANTIALIAS_NONE : CAIRO_ANTIALIAS_DEFAULT);
  }
  cairo_set_source_rgba(context_, Component(color.red), Component(color.green), Component(color.blue),
                        Component(color.alpha));
  return true;
}

void CairoSurface::FillRect(const Color& color, const kelcore::RectT<float>& rect) {
  if (!std::isfinite(rect.x) || !std::isfinite(rect.y) || !std::isfinite(rect.width) || !std::isfinite(rect.height) ||
      rect.width <= 0.0f || rect.height <= 0.0f) {
    return;
  }
  // Cairo holds device coordinates in 24.8 fixed point, which wraps past 2^23: a rectangle
  // reaching that far would be filled in the wrong place. It is cut down to the part that lies
  // over the surface (and a pixel around it) first.
  double x0 = rect.x, y0 = rect.y;
  double x1 = x0 + static_cast<double>(rect.width), y1 = y0 + static_cast<double>(rect.height);
  double device[4];
  keltext::MappedBox(context_, false, x0, y0, x1, y1, device);
  const double width = cairo_image_surface_get_width(target_), height = cairo_image_surface_get_height(target_);
  if (!(device[2] > 0.0 && device[0] < width && device[3] > 0.0 && device[1] < height)) return;
  const double limit = keltext::kFarInDevice;
  if (!(device[0] > -limit && device[2] < limit && device[1] > -limit && device[3] < limit)) {
    double over[4];
    keltext::MappedBox(context_, true, -1.0, -1.0, width + 1.0, height + 1.0, over);
    x0 = std::max(x0, over[0]);
    y0 = std::max(y0, over[1]);
    x1 = std::min(x1, over[2]);
    y1 = std::min(y1, over[3]);
    if (!(x1 > x0 && y1 > y0)) return;
  }
  cairo_save(context_);
  if (BeginPaint(color, Paint::kRectangle)) {
    cairo_rectangle(context_, x0, y0, x1 - x0, y1 - y0);
    cairo_fill(context_);
  }
  cairo_restore(context_);
}

void CairoSurface::FillPath(const PathP& path, const BrushP& brush, int option) {
  const auto* cairoPath = dynamic_cast<const CairoPath*>(path.get());
  const auto* cairoBrush = dynamic_cast<const CairoBrush*>(brush.get());
  if (!cairoPath || !cairoBrush) return;
  cairo_save(context_);
  if (BeginPaint(cairoBrush->color, Paint::kShape)) {
    cairo_set_fill_rule(context_, option == 1 ? CAIRO_FILL_RULE_WINDING : CAIRO_FILL_RULE_EVEN_ODD);
    cairoPath->Replay(context_);
    cairo_fill(context_);
  }
  cairo_restore(context_);
}

void CairoSurface::StrokePath(const PathP& path, const PenP& pen) {
  const auto* cairoPath = dynamic_cast<const CairoPath*>(path.get());
  const auto* cairoPen = dynamic_cast<const CairoPen*>(pen.get());
  if (!cairoPath || !cairoPen || !(cairoPen->width > 0.0f) || !std::isfinite(cairoPen->width)) return;
  cairo_save(context_);
  if (BeginPaint(cairoPen->color, Paint::kShape)) {
    double width = cairoPen->width;
    cairo_matrix_t m;
    cairo_get_matrix(context_, &m);
    if (renderMode_ == 0) {
      // Aliased lines never get thinner than a pixel, or a scaled-down underline would vanish
      // between pixel centres.
      const double scale = std::sqrt(std::fabs(m.xx * m.yy - m.xy * m.yx));
      if (scale > 0.0 && width * scale < 1.0) width = 1.0 / scale;
    }
    const double stretch = keltext::Stretch(m);
    if (width * stretch > keltext::kWidestPenInDevice) width = keltext::kWidestPenInDevice / stretch;
    cairo_set_line_width(context_, width);
    cairo_set_line_cap(context_, CAIRO_LINE_CAP_BUTT);
    cairo_set_line_join(context_, CAIRO_LINE_JOIN_MITER);
    cairoPath->Replay(context_);
    cairo_stroke(context_);
  }
  cairo_restore(context_);
}

void CairoSurface::SetTransform(const kelcore::MatrixT<float>& m) {
  cairo_matrix_t matrix;
  cairo_matrix_init(&matrix, m.m0, m.m1, m.m3, m.m4, m.m6, m.m7);
  cairo_matrix_t inverse = matrix;
  const bool finite = std::isfinite(m.m0) && std::isfinite(m.m1) && std::isfinite(m.m3) && std::isfinite(m.m4) &&
                      std::isfinite(m.m6) && std::isfinite(m.m7);
  if (!finite || cairo_matrix_invert(&inverse) != CAIRO_STATUS_SUCCESS) {
    collapsed_ = true;
    return;
  }
  cairo_transform(context_, &matrix);
  // Cairo refuses a product that has become singular in double precision.
  if (cairo_status(context_) != CAIRO_STATUS_SUCCESS) collapsed_ = true;
}

void CairoSurface::DrawText(const BrushP& brush, const FontP& font, std::u16string_view text, double x,
                            double baseline, int alignment) {
  const auto* cairoBrush = dynamic_cast<const CairoBrush*>(brush.get());
  const auto* cairoFont = dynamic_cast<const CairoFont*>(font.get());
  if (!cairoBrush || !cairoFont || text.empty() || !std::isfinite(x) || !std::isfinite(baseline) ||
      !(cairoFont->Size() > 0.0f)) {
    return;
  }
  const auto shaped = keltext::ShapeText(cairoFont->Face(), text);
  const double size = cairoFont->Size();
  if (alignment == 1) x -= shaped->advance * size * 0.5;
  if (alignment == 2) x -= shaped->advance * size;
  cairo_save(context_);
  if (BeginPaint(cairoBrush->color, Paint::kText)) keltext::ShowShapedText(context_, *shaped, size, x, baseline);
  cairo_restore(context_);
}

namespace {

// Drawn text is a NUL-terminated string, as measured text with length -1 is: it ends at the first
// NUL, so that what is drawn is what was measured.
std::u16string_view UpToNul(const kelcore::UTF16String& text) { return std::u16string_view(text.c_str()); }

}  // namespace

void CairoSurface::DrawString(const BrushP& brush, const FontP& font, const kelcore::UTF16String& text,
                              const kelcore::PointT<float>& baseline, int, int alignment, float) {
  DrawText(brush, font, UpToNul(text), baseline.x, baseline.y, alignment);
}

void CairoSurface::DrawStringInRect(const BrushP& brush, const FontP& font, const kelcore::UTF16String& text,
                                    const kelcore::RectT<float>& rect, int option) {
  const auto* cairoFont = dynamic_cast<const CairoFont*>(font.get());
  if (!cairoFont) return;
  const double baseline = static_cast<double>(rect.y) + cairoFont->Size();
  if (option == 1) {
    DrawText(brush, font, UpToNul(text), rect.x + rect.width * 0.5, baseline, 1);
  } else {
    DrawText(brush, font, UpToNul(text), rect.x, baseline, 0);
  }
}

float CairoSurface::MeasureStringWidth(const FontP& font, const char16_t* text, int length) {
  const auto* cairoFont = dynamic_cast<const CairoFont*>(font.get());
  if (!cairoFont || text == nullptr || length < -1) return 0.0f;
  const std::u16string_view view =
      length == -1 ? std::u16string_view(text) : std::u16string_view(text, static_cast<std::size_t>(length));
  if (view.empty()) return 0.0f;
  return static_cast<float>(keltext::ShapeText(cairoFont->Face(), view)->advance * cairoFont->Size());
}

}  // namespace kelui::inkpad
