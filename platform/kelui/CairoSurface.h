#pragma once

#include <cairo.h>

#include <vector>

#include "gdiplus/GdiPlus.h"
#include "kelui/inkpad/Surface.h"

namespace kelui::inkpad {

// An OS surface that draws with Cairo straight into caller memory, and hands out a GDI+
// graphics over the same pixels and transform.
//
// Render modes: 0 draws rectangle and path fills and strokes without anti-aliasing (edges snap
// to whole pixels); any other value anti-aliases them. Text is always grayscale anti-aliased and
// unhinted. New surfaces start at mode 1; offscreen rendering uses 2, which behaves as 1.
//
// Compositing: the GDI+ graphics' compositing mode governs rectangle fills, the fills that
// stand for a whole area (window, cell and span backgrounds). With source copy the colour
// replaces the pixels, alpha included (anti-aliased edges lerp by their coverage); with source
// over it blends. Path fills, strokes and text are laid over what lies beneath them in either
// mode: a glyph, an underline or a part of the caption symbol in a transparent colour leaves the
// pixels under it as they were, and one in a translucent colour blends with them. The mode is
// GDI+ state, not drawing state: saving and restoring the drawing state leaves it as it is. The
// GDI+ calls made on the graphics (outlined text) follow the mode, as GDI+ does.
//
// Bounds: whatever a caption model holds, no single number in it (a size, a width, a position,
// a transform) makes one drawing call cost more than the following allow.
// - Geometry kFarInDevice (2^22) pixels or more from the device origin is not drawn; a rectangle
//   fill is cut to the surface first.
// - Text of 32768 device pixels per em or more is not drawn. Up to 256 pixels per em glyphs come
//   from glyph images that Cairo rasterises once and keeps; larger text is filled as outlines,
//   which Cairo clips to the surface.
// - A glyph is skipped when no outline of its face (its bounding box, in ems) can reach the
//   surface from the glyph's origin: text off the surface costs a transform per glyph.
// - Pens are at most 4096 device pixels wide; a wider pen is drawn at that width.
// - Outlined text (the GDI+ paths) is laid from per-glyph coverage masks of at most 1024 x 1024
//   pixels, cached within 64 MiB and fetched 16 glyphs at a time; a glyph that needs a larger
//   mask is filled or stroked straight, clipped to the surface. A translucent colour blended over
//   goes through a union mask of those 16 glyphs, of at most the surface's size.
// - Shaping results are kept for texts of up to 1024 code units (2048 of them); longer texts
//   are shaped at each drawing.
// A frame therefore costs time and memory in proportion to the glyphs, cells, spans and path
// elements of its model, each drawing of them touching at most the surface's pixels.
//
// Transforms: SetTransform composes with the transform in force (the new matrix maps into the
// current drawing coordinates), so a frame transform set first stays in effect. A singular or
// non-finite matrix makes the surface draw nothing until the matching RestoreState.
class CairoSurface final : public OSSurfaceInterface {
 public:
  // Null when the request cannot be served (see CreateSurface of the supplier).
  static CairoSurface* Create(int width, int height, int rowBytes, int format, void* firstRow);

  void Destroy() override;
  void SaveState() override;
  void RestoreState() override;
  void FillRect(const Color& color, const kelcore::RectT<float>& rect) override;
  // Option 1 fills by the non-zero winding rule, any other value by even-odd.
  void FillPath(const PathP& path, const BrushP& brush, int option) override;
  // Butt caps and miter joins, the width in drawing units; at render mode 0 at least one pixel.
  void StrokePath(const PathP& path, const PenP& pen) override;
  void SetTransform(const kelcore::MatrixT<float>& matrix) override;
  // `alignment` 0 starts the text at the point, 1 centres it there, 2 ends it there; `flags`
  // and `tracking` are not used.
  void DrawString(const BrushP& brush, const FontP& font, const kelcore::UTF16String& text,
                  const kelcore::PointT<float>& baseline, int flags, int alignment, float tracking) override;
  // Option 1 centres the text horizontally in `rect`; other values start it at the left edge.
  // Either way the baseline lies one font size below the rectangle's top. Not clipped.
  void DrawStringInRect(const BrushP& brush, const FontP& font, const kelcore::UTF16String& text,
                        const kelcore::RectT<float>& rect, int option) override;
  float MeasureStringWidth(const FontP& font, const char16_t* text, int length) override;
  void SetRenderMode(int mode) override { renderMode_ = mode; }
  int GetRenderMode() const override { return renderMode_; }
  Gdiplus::Graphics* GetOutputGraphics() override { return &graphics_; }

 private:
  CairoSurface(cairo_surface_t* target, cairo_t* context);
  ~CairoSurface() override;

  // What a drawing operation paints: only rectangles follow the compositing mode, and text keeps
  // its own anti-aliasing.
  enum class Paint { kRectangle, kShape, kText };
  // Prepares the context for one drawing operation; false when nothing may be drawn.
  bool BeginPaint(const Color& color, Paint paint);
  void DrawText(const BrushP& brush, const FontP& font, std::u16string_view text, double x, double baseline,
                int alignment);

  cairo_surface_t* target_;
  cairo_t* context_;
  Gdiplus::Graphics graphics_;
  int renderMode_ = 1;
  bool collapsed_ = false;
  std::vector<bool> savedCollapsed_;
};

}  // namespace kelui::inkpad
