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
  for (const GlyphRun& run : text.runs) {
    if (run.glyphs.empty()) continue;
    SelectRunFont(cr, run, size);
    std::vector<cairo_glyph_t> glyphs = PlaceRun(run, size, x, baseline);
    std::erase_if(glyphs, [cr](const cairo_glyph_t& glyph) { return !IsNearInDevice(cr, glyph.x, glyph.y); });
    if (glyphs.empty()) continue;
    cairo_show_glyphs(cr, glyphs.data(), static_cast<int>(glyphs.size()));
  }
}

}  // namespace keltext
