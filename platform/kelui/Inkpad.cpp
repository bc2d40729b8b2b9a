#include "kelui/inkpad/Inkpad.h"

#include "kelui/inkpad/Objects.h"
#include "kelui/inkpad/Supplier.h"
#include "kelui/inkpad/Surface.h"

namespace kelui::inkpad {

// Out of line so that the interfaces' vtables live in this library.
Inkpad::~Inkpad() = default;
FontInterface::~FontInterface() = default;
PenInterface::~PenInterface() = default;
BrushInterface::~BrushInterface() = default;
PathInterface::~PathInterface() = default;
SupplierInterface::~SupplierInterface() = default;
SurfaceInterface::~SurfaceInterface() = default;
OSSurfaceInterface::~OSSurfaceInterface() = default;

}  // namespace kelui::inkpad
