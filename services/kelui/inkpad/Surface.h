#pragma once

#include "kelcore/Geometry.h"
#include "kelcore/String.h"
#include "kelui/Export.h"
#include "kelui/inkpad/Handles.h"

namespace Gdiplus {
class Graphics;
}

namespace kelui::inkpad {

// A drawing target. The operations keep this order.
class KELUI_API SurfaceInterface {
 public:
  virtual void Destroy() = 0;
  // Save and restore the drawing state; a restore undoes a transform set since the save.
  virtual void SaveState() = 0;
  virtual void RestoreState() = 0;
  virtual void FillRect(const Color& color, const kelcore::RectT<float>& rect) = 0;
  virtual void FillPath(const PathP& path, const BrushP& brush, int option) = 0;
  virtual void StrokePath(const PathP& path, const PenP& pen) = 0;
  virtual void SetTransform(const kelcore::MatrixT<float>& matrix) = 0;
  // Text with its baseline starting at `baseline`.
  virtual void DrawString(const BrushP& brush, const FontP& font, const kelcore::UTF16String& text,
                          const kelcore::PointT<float>& baseline, int flags, int alignment, float tracking) = 0;
  // Text placed in `rect` as `option` says.
  virtual void DrawStringInRect(const BrushP& brush, const FontP& font, const kelcore::UTF16String& text,
                                const kelcore::RectT<float>& rect, int option) = 0;
  // Advance width of the first `length` code units of `text` (-1: up to the terminating NUL).
  virtual float MeasureStringWidth(const FontP& font, const char16_t* text, int length) = 0;
  virtual void SetRenderMode(int mode) = 0;
  virtual int GetRenderMode() const = 0;

 protected:
  virtual ~SurfaceInterface();
};

// A surface backed by GDI+; its graphics draws into the same pixels.
class KELUI_API OSSurfaceInterface : public SurfaceInterface {
 public:
  virtual Gdiplus::Graphics* GetOutputGraphics() = 0;

 protected:
  ~OSSurfaceInterface() override;
};

}  // namespace kelui::inkpad
