#pragma once

#include "kelui/Export.h"
#include "kelui/inkpad/Supplier.h"
#include "kelui/inkpad/Surface.h"

namespace kelui::inkpad {

// The drawing context handed to every drawing function: a supplier and a surface, owning neither.
class KELUI_API Inkpad {
 public:
  Inkpad(SupplierInterface* supplier, SurfaceInterface* surface) noexcept : supplier_(supplier), surface_(surface) {}
  virtual ~Inkpad();

  SupplierInterface* GetSupplier() const noexcept { return supplier_; }
  SurfaceInterface* GetSurface() const noexcept { return surface_; }

 private:
  SupplierInterface* supplier_;
  SurfaceInterface* surface_;
};

}  // namespace kelui::inkpad
