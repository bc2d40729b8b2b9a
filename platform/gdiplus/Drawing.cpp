#include <pixman.h>

#include <algorithm>
#include <cstddef>
#include <cmath>
#include <cstdint>
#include <new>
#include <memory>
#include <vector>

#include "CoverageBlit.h"
#include "GlyphCoverage.h"
#include "GpObjects.h"
#include "keltext/GlyphDrawing.h"

namespace Gdiplus {

namespace {

// Outlines reach past their glyph's box by at most half the miter limit (GDI+'s 10) times the
// pen's width.
constexpr double kMiterReach = 5.0;
// Coverages are fetched and laid this many glyphs at a time, so that the masks held at once stay
// within a few times the coverage cache's budget however long the text.
constexpr std::size_t kGlyphsPerBatch = 16;

// One glyph of a path: its coverage key, the device pixel that holds its origin, and its origin
// in user space, for drawing it straight when its coverage is too large for a mask.
struct PlacedGlyph {
  CoverageKey key;
  int pixelX = 0;
  int pixelY = 0;
  double x = 0.0;
  double y = 0.0;
};

struct PlacedCoverage {
  std::shared_ptr<const Coverage> coverage;
  int x = 0;
  int y = 0;
};

// The glyphs of a path whose outline, pen included, can reach the `width` x `height` target.
std::vector<PlacedGlyph> PlaceGlyphs(const GpPath& path, const cairo_matrix_t& ctm, CoverageKind kind, float penWidth,
                                     bool antialias, int width, int height) {
  const double stretch = keltext::Stretch(ctm);
  std::vector<PlacedGlyph> glyphs;
  for (const TextLine& line : path.lines) {
    for (const keltext::GlyphRun& run : line.shaped->runs) {
      const double reach =
          (run.face->reach * line.emSize + std::max(0.0f, penWidth) * kMiterReach) * stretch + 2.0;
      for (const keltext::PlacedGlyph& glyph : run.glyphs) {
        const double userX = line.x + glyph.x * line.emSize, userY = line.baseline + glyph.y * line.emSize;
        double x = userX, y = userY;
        cairo_matrix_transform_point(&ctm, &x, &y);
        // As for text drawn through Cairo: nothing that far can show on a surface.
        if (!(std::fabs(x) < keltext::kFarInDevice && std::fabs(y) < keltext::kFarInDevice)) continue;
        if (!(x + reach > 0.0 && x - reach < width && y + reach > 0.0 && y - reach < height)) continue;
        // The nearest quarter pixel: the origin is never more than an eighth of a pixel off.
        const double stepsX = std::floor(x * kCoveragePhases + 0.5), stepsY = std::floor(y * kCoveragePhases + 0.5);
        const double pixelX = std::floor(stepsX / kCoveragePhases), pixelY = std::floor(stepsY / kCoveragePhases);
        PlacedGlyph& placed = glyphs.emplace_back();
        CoverageKey& key = placed.key;
        key.face = run.face;
        key.glyph = glyph.index;
        key.emSize = static_cast<float>(line.emSize);
        key.penWidth = penWidth;
        key.xx = static_cast<float>(ctm.xx);
        key.yx = static_cast<float>(ctm.yx);
        key.xy = static_cast<float>(ctm.xy);
        key.yy = static_cast<float>(ctm.yy);
        key.phaseX = static_cast<std::uint8_t>(stepsX - pixelX * kCoveragePhases);
        key.phaseY = static_cast<std::uint8_t>(stepsY - pixelY * kCoveragePhases);
        key.kind = kind;
        key.antialias = antialias ? 1 : 0;
        placed.pixelX = static_cast<int>(pixelX);
        placed.pixelY = static_cast<int>(pixelY);
        placed.x = userX;
        placed.y = userY;
      }
    }
  }
  return glyphs;
}

pixman_color_t PremultipliedColor(ARGB color) {
  const unsigned a = (color >> 24) & 0xFF;
  auto channel = [a](unsigned c) { return static_cast<std::uint16_t>((c * a + 127) / 255 * 257); };
  return {channel((color >> 16) & 0xFF), channel((color >> 8) & 0xFF), channel(color & 0xFF),
          static_cast<std::uint16_t>(a * 257)};
}

// The union of the coverages as one A8 image over the part of the `width` x `height` target
// that they cover, for colours that must not be laid twice where glyphs overlap. Saturating
// addition stands in for the union. Null when they cover none of the target.
pixman_image_t* UnionMask(const std::vector<PlacedCoverage>& placed, int width, int height, int& left, int& top) {
  int right = 0, bottom = 0;
  left = width;
  top = height;
  for (const PlacedCoverage& p : placed) {
    left = std::min(left, p.x);
    top = std::min(top, p.y);
    right = std::max(right, p.x + p.coverage->width);
    bottom = std::max(bottom, p.y + p.coverage->height);
  }
  left = std::max(left, 0);
  top = std::max(top, 0);
  right = std::min(right, width);
  bottom = std::min(bottom, height);
  if (right <= left || bottom <= top) return nullptr;
  pixman_image_t* mask = pixman_image_create_bits(PIXMAN_a8, right - left, bottom - top, nullptr, 0);
  for (const PlacedCoverage& p : placed) {
    pixman_image_composite32(PIXMAN_OP_ADD, p.coverage->image, nullptr, mask, 0, 0, 0, 0, p.x - left, p.y - top,
                             p.coverage->width, p.coverage->height);
  }
  return mask;
}

// The pixels of the image that the coverages are laid on.
struct DestPixels {
  std::uint8_t* data;
  int width, height, stride;
};

// The opaque colour through the part of `coverage` at (x, y) that lies on `dest`; false when
// pixman has to do it instead.
bool BlendClipped(const DestPixels& dest, const Coverage& coverage, int x, int y, ARGB color) {
  const int left = std::max(0, -x), top = std::max(0, -y);
  const int right = std::min(coverage.width, dest.width - x), bottom = std::min(coverage.height, dest.height - y);
  if (right <= left || bottom <= top) return true;
  const std::uint8_t* mask = coverage.pixels + static_cast<std::ptrdiff_t>(top) * coverage.stride + left;
  std::uint8_t* pixels =
      dest.data + static_cast<std::ptrdiff_t>(y + top) * dest.stride + static_cast<std::ptrdiff_t>(x + left) * 4;
  return BlendOpaqueThroughMask(color, mask, coverage.stride, reinterpret_cast<std::uint32_t*>(pixels), dest.stride,
                                right - left, bottom - top);
}

// Composites the coverages onto the image behind the graphics with pixman. Source copy lerps
// by coverage, as Cairo's bounded source operator does: out = colour * m + dest * (1 - m).
// Done glyph by glyph this equals the union's result; so does source over with an opaque
// colour, which for an opaque colour is also what the copy gives. Only a translucent colour
// blended over needs the union mask.
void CompositeCoverages(pixman_image_t* dest, const std::vector<PlacedCoverage>& placed, ARGB color, bool copy) {
  const pixman_color_t premultiplied = PremultipliedColor(color);
  pixman_image_t* solid = pixman_image_create_solid_fill(&premultiplied);
  const bool opaque = (color >> 24) == 0xFF;
  // With an opaque colour the copy's lerp is exactly source over, which pixman has a fast path for.
  if (copy && !opaque) {
    for (const PlacedCoverage& p : placed) {
      const int w = p.coverage->width, h = p.coverage->height;
      pixman_image_composite32(PIXMAN_OP_OUT_REVERSE, p.coverage->image, nullptr, dest, 0, 0, 0, 0, p.x, p.y, w, h);
      pixman_image_composite32(PIXMAN_OP_ADD, solid, p.coverage->image, dest, 0, 0, 0, 0, p.x, p.y, w, h);
    }
  } else if (opaque) {
    const DestPixels pixels{reinterpret_cast<std::uint8_t*>(pixman_image_get_data(dest)), pixman_image_get_width(dest),
                            pixman_image_get_height(dest), pixman_image_get_stride(dest)};
    for (const PlacedCoverage& p : placed) {
      if (!BlendClipped(pixels, *p.coverage, p.x, p.y, color))
        pixman_image_composite32(PIXMAN_OP_OVER, solid, p.coverage->image, dest, 0, 0, 0, 0, p.x, p.y,
                                 p.coverage->width, p.coverage->height);
    }
  } else {
    int left = 0, top = 0;
    if (pixman_image_t* mask = UnionMask(placed, pixman_image_get_width(dest), pixman_image_get_height(dest), left, top)) {
      pixman_image_composite32(PIXMAN_OP_OVER, solid, mask, dest, 0, 0, 0, 0, left, top, pixman_image_get_width(mask),
                               pixman_image_get_height(mask));
      pixman_image_unref(mask);
    }
  }
  pixman_image_unref(solid);
}

// Fills or strokes the glyphs on the context itself, which clips them to its target: for glyphs
// whose coverage would not fit a mask.
void DrawStraight(cairo_t* cr, const std::vector<const PlacedGlyph*>& glyphs, CoverageKind kind, float penWidth,
                  ARGB color, bool copy, bool antialias) {
  cairo_save(cr);
  cairo_set_operator(cr, copy ? CAIRO_OPERATOR_SOURCE : CAIRO_OPERATOR_OVER);
  cairo_set_source_rgba(cr, ((color >> 16) & 0xFF) / 255.0, ((color >> 8) & 0xFF) / 255.0, (color & 0xFF) / 255.0,
                        (color >> 24) / 255.0);
  cairo_set_antialias(cr, antialias ? CAIRO_ANTIALIAS_DEFAULT : CAIRO_ANTIALIAS_NONE);
  keltext::ApplyCaptionFontOptions(cr);
  cairo_new_path(cr);
  for (const PlacedGlyph* glyph : glyphs) {
    cairo_set_font_face(cr, glyph->key.face->cairoFace);
    cairo_set_font_size(cr, glyph->key.emSize);
    const cairo_glyph_t outline{glyph->key.glyph, glyph->x, glyph->y};
    cairo_glyph_path(cr, &outline, 1);
  }
  if (kind == kStroke) {
    if (penWidth < 0.0f) {
      cairo_identity_matrix(cr);
      cairo_set_line_width(cr, 1.0);
    } else {
      cairo_set_line_width(cr, penWidth);
    }
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
    cairo_set_miter_limit(cr, 10.0);
    cairo_stroke(cr);
  } else {
    cairo_set_fill_rule(cr, kind == kFillWinding ? CAIRO_FILL_RULE_WINDING : CAIRO_FILL_RULE_EVEN_ODD);
    cairo_fill(cr);
  }
  cairo_restore(cr);
}

// Paints the path's glyph coverage in `color`: built from cached per-glyph masks, so a caption
// drawn again costs a few mask blits instead of a fresh stroke of every outline. Only glyphs
// that can reach the target are painted, a pen is at most kWidestPenInDevice wide, and glyphs
// too large for a mask are drawn straight.
Status PaintCoverage(GpGraphics* graphics, GpPath* path, ARGB color, CoverageKind kind, float penWidth) {
  cairo_t* cr = graphics->context;
  if (cr == nullptr || path->lines.empty()) return Ok;
  cairo_surface_t* target = cairo_get_target(cr);
  if (cairo_surface_get_type(target) != CAIRO_SURFACE_TYPE_IMAGE ||
      cairo_image_surface_get_format(target) != CAIRO_FORMAT_ARGB32) {
    return NotImplemented;
  }
  cairo_matrix_t ctm;
  cairo_get_matrix(cr, &ctm);
  const double stretch = keltext::Stretch(ctm);
  if (penWidth > 0.0f && penWidth * stretch > keltext::kWidestPenInDevice) {
    penWidth = static_cast<float>(keltext::kWidestPenInDevice / stretch);
  }
  const bool antialias = graphics->smoothingMode == SmoothingModeAntiAlias ||
                         graphics->smoothingMode == SmoothingModeAntiAlias8x8 ||
                         graphics->smoothingMode == SmoothingModeHighQuality;
  const int width = cairo_image_surface_get_width(target), height = cairo_image_surface_get_height(target);
  const std::vector<PlacedGlyph> glyphs = PlaceGlyphs(*path, ctm, kind, penWidth, antialias, width, height);
  if (glyphs.empty()) return Ok;
  const bool copy = graphics->compositingMode == CompositingModeSourceCopy;

  cairo_surface_flush(target);
  // Owned, so that an allocation failing below (keys, coverages) does not leak it.
  const std::unique_ptr<pixman_image_t, decltype(&pixman_image_unref)> ownedDest(
      pixman_image_create_bits(PIXMAN_a8r8g8b8, width, height,
                               reinterpret_cast<std::uint32_t*>(cairo_image_surface_get_data(target)),
                               cairo_image_surface_get_stride(target)),
      &pixman_image_unref);
  pixman_image_t* dest = ownedDest.get();
  if (dest == nullptr) return OutOfMemory;
  std::vector<CoverageKey> keys;
  std::vector<std::shared_ptr<const Coverage>> coverages;
  for (std::size_t first = 0; first < glyphs.size(); first += kGlyphsPerBatch) {
    const std::size_t count = std::min(kGlyphsPerBatch, glyphs.size() - first);
    keys.clear();
    for (std::size_t i = 0; i < count; ++i) keys.push_back(glyphs[first + i].key);
    coverages.assign(count, nullptr);
    GlyphCoverages(keys.data(), count, coverages.data());
    std::vector<PlacedCoverage> placed;
    std::vector<const PlacedGlyph*> straight;
    for (std::size_t i = 0; i < count; ++i) {
      const PlacedGlyph& glyph = glyphs[first + i];
      if (coverages[i]->tooLarge) straight.push_back(&glyph);
      if (!coverages[i]->mask) continue;
      const int x = glyph.pixelX + coverages[i]->left, y = glyph.pixelY + coverages[i]->top;
      placed.push_back({std::move(coverages[i]), x, y});
    }
    CompositeCoverages(dest, placed, color, copy);
    if (!straight.empty()) {
      cairo_surface_mark_dirty(target);
      DrawStraight(cr, straight, kind, penWidth, color, copy, antialias);
      cairo_surface_flush(target);
    }
  }
  cairo_surface_mark_dirty(target);
  return Ok;
}

}  // namespace

Status GdipCreatePen1(ARGB color, REAL width, GpUnit unit, GpPen** pen) {
  if (pen == nullptr) return InvalidParameter;
  *pen = nullptr;
  // World units only: the width scales with the graphics' transform.
  if (unit != UnitWorld || !std::isfinite(width) || width < 0.0f) return InvalidParameter;
  *pen = new (std::nothrow) GpPen{color, width};
  return *pen ? Ok : OutOfMemory;
}

Status GdipDeletePen(GpPen* pen) {
  if (pen == nullptr) return InvalidParameter;
  delete pen;
  return Ok;
}

Status GdipCreateSolidFill(ARGB color, GpSolidFill** brush) {
  if (brush == nullptr) return InvalidParameter;
  *brush = new (std::nothrow) GpSolidFill();
  if (*brush == nullptr) return OutOfMemory;
  (*brush)->color = color;
  return Ok;
}

Status GdipDeleteBrush(GpBrush* brush) {
  if (brush == nullptr) return InvalidParameter;
  delete static_cast<GpSolidFill*>(brush);
  return Ok;
}

Status GdipDrawPath(GpGraphics* graphics, GpPen* pen, GpPath* path) {
  if (graphics == nullptr || pen == nullptr || path == nullptr) return InvalidParameter;
  // A zero width is GDI+'s one-pixel pen.
  return ReportingOutOfMemory(
      [&] { return PaintCoverage(graphics, path, pen->color, kStroke, pen->width > 0.0f ? pen->width : -1.0f); });
}

Status GdipFillPath(GpGraphics* graphics, GpBrush* brush, GpPath* path) {
  if (graphics == nullptr || brush == nullptr || path == nullptr) return InvalidParameter;
  const CoverageKind kind = path->fillMode == FillModeWinding ? kFillWinding : kFillAlternate;
  return ReportingOutOfMemory([&] { return PaintCoverage(graphics, path, brush->color, kind, 0.0f); });
}

}  // namespace Gdiplus
