#include "keltext/GlyphDrawing.h"

#include <algorithm>
#include <cmath>

namespace keltext {

void ApplyCaptionFontOptions(cairo_t* cr) {
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  cairo_set_font_options(cr, options);
  cairo_font_options_destroy(options);
}

std::vector<cairo_glyph_t> PlaceRun(const GlyphRun& run, double size, double x, double baseline) {
  std::vector<cairo_glyph_t> glyphs;
  glyphs.reserve(run.glyphs.size());
  for (const PlacedGlyph& g : run.glyphs) glyphs.push_back({g.index, x + g.x * size, baseline + g.y * size});
  return glyphs;
}

void SelectRunFont(cairo_t* cr, const GlyphRun& run, double size) {
  cairo_set_font_face(cr, run.face->cairoFace);
  cairo_set_font_size(cr, size);
}

double Stretch(const cairo_matrix_t& m) { return std::hypot(std::hypot(m.xx, m.yx), std::hypot(m.xy, m.yy)); }

bool MayReachTarget(cairo_t* cr, double x, double y, double reach) {
  cairo_surface_t* target = cairo_get_target(cr);
  if (cairo_surface_get_type(target) != CAIRO_SURFACE_TYPE_IMAGE) return true;
  cairo_user_to_device(cr, &x, &y);
  return x + reach > 0.0 && x - reach < cairo_image_surface_get_width(target) && y + reach > 0.0 &&
         y - reach < cairo_image_surface_get_height(target);
}

bool IsRasterisableSize(const cairo_matrix_t& deviceMatrix, double size) {
  constexpr double kLargestPixelsPerEm = 32768.0;
  const double stretch =
      std::max(std::hypot(deviceMatrix.xx, deviceMatrix.yx), std::hypot(deviceMatrix.xy, deviceMatrix.yy));
  return std::isfinite(size) && std::fabs(size) * stretch < kLargestPixelsPerEm;
}

bool IsNearInDevice(cairo_t* cr, double x, double y) {
  cairo_user_to_device(cr, &x, &y);
  return std::fabs(x) < kFarInDevice && std::fabs(y) < kFarInDevice;
}

void MappedBox(cairo_t* cr, bool toUser, double x0, double y0, double x1, double y1, double box[4]) {
  double xs[4] = {x0, x1, x0, x1}, ys[4] = {y0, y0, y1, y1};
  box[0] = box[1] = HUGE_VAL;
  box[2] = box[3] = -HUGE_VAL;
  for (int i = 0; i < 4; ++i) {
    if (toUser) {
      cairo_device_to_user(cr, &xs[i], &ys[i]);
    } else {
      cairo_user_to_device(cr, &xs[i], &ys[i]);
    }
    box[0] = std::min(box[0], xs[i]);
    box[1] = std::min(box[1], ys[i]);
    box[2] = std::max(box[2], xs[i]);
    box[3] = std::max(box[3], ys[i]);
  }
}

void ShowShapedText(cairo_t* cr, const ShapedText& text, double size, double x, double baseline) {
  cairo_matrix_t device;
  cairo_get_matrix(cr, &device);
  if (!IsRasterisableSize(device, size)) return;
  const double pixelsPerEm = std::fabs(size) * Stretch(device);
  for (const GlyphRun& run : text.runs) {
    if (run.glyphs.empty()) continue;
    SelectRunFont(cr, run, size);
    std::vector<cairo_glyph_t> glyphs = PlaceRun(run, size, x, baseline);
    const double reach = run.face->reach * pixelsPerEm + 1.0;
    std::erase_if(glyphs, [cr, reach](const cairo_glyph_t& glyph) {
      return !IsNearInDevice(cr, glyph.x, glyph.y) || !MayReachTarget(cr, glyph.x, glyph.y, reach);
    });
    if (glyphs.empty()) continue;
    if (pixelsPerEm <= kLargestGlyphImageEm) {
      cairo_show_glyphs(cr, glyphs.data(), static_cast<int>(glyphs.size()));
      continue;
    }
    cairo_save(cr);
    cairo_new_path(cr);
    cairo_glyph_path(cr, glyphs.data(), static_cast<int>(glyphs.size()));
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    cairo_fill(cr);
    cairo_restore(cr);
  }
}

}  // namespace keltext
