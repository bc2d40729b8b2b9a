#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "kelcore/String.h"
#include "kelui/Export.h"
#include "kelui/inkpad/Objects.h"

namespace kelui::inkpad {

class SurfaceInterface;

// Pixel format codes of surfaces over caller memory.
enum SurfaceFormat : int {
  // 32 bits a pixel, premultiplied alpha, bytes B, G, R, A in memory order.
  kSurfaceFormat_BGRA32Premultiplied = 7,
};

// Makes surfaces and the objects that are drawn with. The operations keep this order.
class KELUI_API SupplierInterface {
 public:
  // Ends the supplier; it must outlive every surface and object it made.
  virtual void Destroy() = 0;
  // A surface that draws straight into `firstRow`: `rowBytes` from one row to the next (negative
  // for a bottom-up buffer), `format` a SurfaceFormat code. `platformContext` is a value of the
  // platform's own; zero asks for none. Returns null when the request cannot be served; nothing is
  // written then. The caller ends the surface with its Destroy.
  virtual SurfaceInterface* CreateSurface(int width, int height, int rowBytes, int format, void* firstRow,
                                          const std::uintptr_t& platformContext) = 0;
  // New objects have no references yet; wrap them in their handle at once. Null when the request
  // cannot be served.
  virtual PenInterface* CreatePen(const Color& color, float width) = 0;
  virtual BrushInterface* CreateSolidBrush(const Color& color) = 0;
  virtual FontInterface* CreateFont(const kelcore::UTF16String& face, const kelcore::UTF16String& style,
                                    float size) = 0;
  virtual PathInterface* CreatePath() = 0;

 protected:
  virtual ~SupplierInterface();
};

// A new supplier that draws through the platform's rasteriser; the caller owns it.
KELUI_API SupplierInterface* NewOSSupplier();

// The fonts of every OS supplier share process-wide caches (faces, shaped text, glyph masks) and
// the font libraries' static data. This frees them all, for a leak checker at exit or to start
// afresh; no surface, font or path of an OS supplier may be alive. The next use loads again.
// Once a dialog window has started GTK in the process, fontconfig's and Cairo's static data
// are GTK's too and are left alone.
KELUI_API void ReleaseFontCaches();

// A face that fonts were asked for and that the machine lacks, drawn with the closest installed
// family instead (names in UTF-8). Faces drawn with a metric-compatible stand-in, such as
// Liberation Sans for Arial or Carlito for Calibri, are not substitutions in this sense.
struct FontSubstitution {
  std::string asked;
  std::string drawn;
};

// The substitutions that the fonts of OS suppliers made since the last call, each face once
// until ReleaseFontCaches: a host or tool can tell its user once which faces are not shown as
// asked.
KELUI_API std::vector<FontSubstitution> TakeFontSubstitutions();

}  // namespace kelui::inkpad
