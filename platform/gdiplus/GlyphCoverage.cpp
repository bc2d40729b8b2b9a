#include "GlyphCoverage.h"

#include <bit>
#include <cmath>
#include <mutex>
#include <unordered_map>

#include "keltext/GlyphDrawing.h"
#include "keltext/ReleaseHooks.h"

namespace Gdiplus {

namespace {

struct KeyHash {
  std::size_t operator()(const CoverageKey& k) const noexcept {
    std::size_t h = std::hash<const void*>()(k.face);
    auto mix = [&h](std::size_t v) { h ^= v + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2); };
    mix(k.glyph);
    // The bits themselves (std::hash<float> goes through a byte hash); both zeros hash alike
    // because they compare equal.
    for (float f : {k.emSize, k.penWidth, k.xx, k.yx, k.xy, k.yy})
      mix(f == 0.0f ? 0u : std::bit_cast<std::uint32_t>(f));
    mix(static_cast<std::size_t>(k.phaseX) | (static_cast<std::size_t>(k.phaseY) << 8) |
        (static_cast<std::size_t>(k.kind) << 16) | (static_cast<std::size_t>(k.antialias) << 24));
    return h;
  }
};

// Sets up `cr` so that user space is the glyph's, with its origin at (originX, originY) pixels.
void PrepareGlyphContext(cairo_t* cr, const CoverageKey& key, double originX, double originY) {
  cairo_matrix_t m;
  cairo_matrix_init(&m, key.xx, key.yx, key.xy, key.yy, originX, originY);
  cairo_set_matrix(cr, &m);
  keltext::ApplyCaptionFontOptions(cr);
  cairo_set_font_face(cr, key.face->cairoFace);
  cairo_set_font_size(cr, key.emSize);
  cairo_set_antialias(cr, key.antialias ? CAIRO_ANTIALIAS_DEFAULT : CAIRO_ANTIALIAS_NONE);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);  // GDI+'s default pen join
  cairo_set_miter_limit(cr, 10.0);
  cairo_set_fill_rule(cr, key.kind == kFillWinding ? CAIRO_FILL_RULE_WINDING : CAIRO_FILL_RULE_EVEN_ODD);
  cairo_new_path(cr);
  const cairo_glyph_t glyph{key.glyph, 0.0, 0.0};
  cairo_glyph_path(cr, &glyph, 1);
}

// Strokes or fills the current path; a hairline is one device pixel wide at any transform.
void Paint(cairo_t* cr, const CoverageKey& key) {
  if (key.kind != kStroke) {
    cairo_fill(cr);
    return;
  }
  if (key.penWidth < 0.0f) {
    cairo_identity_matrix(cr);
    cairo_set_line_width(cr, 1.0);
  } else {
    cairo_set_line_width(cr, key.penWidth);
  }
  cairo_stroke(cr);
}

// Device-space bounds of what Paint would cover, from a scratch context.
bool DeviceBounds(const CoverageKey& key, double originX, double originY, double bounds[4]) {
  cairo_surface_t* scratch = cairo_image_surface_create(CAIRO_FORMAT_A8, 1, 1);
  cairo_t* cr = cairo_create(scratch);
  PrepareGlyphContext(cr, key, originX, originY);
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  if (key.kind == kStroke) {
    if (key.penWidth < 0.0f) {
      cairo_identity_matrix(cr);
      cairo_set_line_width(cr, 1.0);
    } else {
      cairo_set_line_width(cr, key.penWidth);
    }
    cairo_stroke_extents(cr, &x1, &y1, &x2, &y2);
  } else {
    cairo_path_extents(cr, &x1, &y1, &x2, &y2);
  }
  // Extents come in the current user space.
  keltext::MappedBox(cr, false, x1, y1, x2, y2, bounds);
  const bool ok = cairo_status(cr) == CAIRO_STATUS_SUCCESS && x2 > x1 && y2 > y1;
  cairo_destroy(cr);
  cairo_surface_destroy(scratch);
  return ok;
}

std::shared_ptr<const Coverage> Render(const CoverageKey& key) {
  auto coverage = std::make_shared<Coverage>();
  // Even measuring a glyph sizes its font: a size that cannot be rasterised stays empty.
  cairo_matrix_t device;
  cairo_matrix_init(&device, key.xx, key.yx, key.xy, key.yy, 0.0, 0.0);
  if (!keltext::IsRasterisableSize(device, key.emSize)) return coverage;
  const double originX = static_cast<double>(key.phaseX) / kCoveragePhases;
  const double originY = static_cast<double>(key.phaseY) / kCoveragePhases;
  double b[4];
  if (!DeviceBounds(key, originX, originY, b)) return coverage;
  const double left = std::floor(b[0]) - 1.0, top = std::floor(b[1]) - 1.0;
  // Empty columns up to a multiple of eight let the blit take whole groups of eight pixels.
  const double width = std::ceil((std::ceil(b[2]) + 1.0 - left) / 8.0) * 8.0;
  const double height = std::ceil(b[3]) + 1.0 - top;
  if (width > kLargestCoverageSide || height > kLargestCoverageSide) {
    coverage->tooLarge = true;
    return coverage;
  }
  cairo_surface_t* mask = cairo_image_surface_create(CAIRO_FORMAT_A8, static_cast<int>(width), static_cast<int>(height));
  cairo_t* cr = cairo_create(mask);
  PrepareGlyphContext(cr, key, originX - left, originY - top);
  Paint(cr, key);
  cairo_destroy(cr);
  cairo_surface_flush(mask);
  coverage->mask = mask;
  coverage->width = cairo_image_surface_get_width(mask);
  coverage->height = cairo_image_surface_get_height(mask);
  unsigned char* pixels = cairo_image_surface_get_data(mask);
  coverage->pixels = pixels;
  coverage->stride = cairo_image_surface_get_stride(mask);
  coverage->image = pixman_image_create_bits(PIXMAN_a8, coverage->width, coverage->height,
                                             reinterpret_cast<std::uint32_t*>(pixels), coverage->stride);
  coverage->left = static_cast<int>(left);
  coverage->top = static_cast<int>(top);
  return coverage;
}

class CoverageCache {
 public:
  static CoverageCache& Instance() {
    static CoverageCache* cache = [] {
      keltext::RegisterReleaseHook([] { CoverageCache::Instance().Clear(); });
      return new CoverageCache();
    }();
    return *cache;
  }

  // Looks all of `keys` up under one lock, then renders the ones not seen before.
  void Get(const CoverageKey* keys, std::size_t count, std::shared_ptr<const Coverage>* out) {
    bool missing = false;
    {
      std::lock_guard lock(mutex_);
      for (std::size_t i = 0; i < count; ++i) {
        out[i] = Find(keys[i]);
        missing = missing || !out[i];
      }
    }
    if (!missing) return;
    for (std::size_t i = 0; i < count; ++i) {
      if (out[i]) continue;
      {
        // An earlier glyph of the same text may have rendered it since.
        std::lock_guard lock(mutex_);
        out[i] = Find(keys[i]);
      }
      if (!out[i]) out[i] = Insert(keys[i], Render(keys[i]));
    }
  }

  void Clear() {
    std::lock_guard lock(mutex_);
    entries_.clear();
    bytes_ = 0;
  }

 private:
  // With the lock held.
  std::shared_ptr<const Coverage> Find(const CoverageKey& key) const {
    const auto it = entries_.find(key);
    return it != entries_.end() ? it->second : nullptr;
  }

  std::shared_ptr<const Coverage> Insert(const CoverageKey& key, std::shared_ptr<const Coverage> made) {
    std::lock_guard lock(mutex_);
    // Every entry counts, an empty one too: transforms that keep changing make new keys.
    const std::size_t pixels =
        made->mask ? static_cast<std::size_t>(made->stride) * static_cast<std::size_t>(made->height) : 0;
    const std::size_t bytes = kEntryBytes + pixels;
    // Simple bound: start over once the cache has grown large.
    if (bytes_ + bytes > kByteBudget) {
      entries_.clear();
      bytes_ = 0;
    }
    auto [it, inserted] = entries_.emplace(key, std::move(made));
    if (inserted) bytes_ += bytes;
    return it->second;
  }

  static constexpr std::size_t kByteBudget = 64u << 20;
  // About what an entry costs besides its mask pixels: the node, the key, Cairo's and pixman's
  // image headers.
  static constexpr std::size_t kEntryBytes = 512;
  std::mutex mutex_;
  std::unordered_map<CoverageKey, std::shared_ptr<const Coverage>, KeyHash> entries_;
  std::size_t bytes_ = 0;
};

}  // namespace

void GlyphCoverages(const CoverageKey* keys, std::size_t count, std::shared_ptr<const Coverage>* coverages) {
  CoverageCache::Instance().Get(keys, count, coverages);
}

}  // namespace Gdiplus
