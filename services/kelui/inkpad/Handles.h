#pragma once

#include <boost/intrusive_ptr.hpp>

#include "kelcore/String.h"
#include "kelui/inkpad/Objects.h"
#include "kelui/inkpad/Supplier.h"

namespace kelui::inkpad {

// Shared handles of the objects a supplier makes: copies share the object, the last one releases
// it. A handle made with a null supplier stays empty.

class FontP : public boost::intrusive_ptr<FontInterface> {
 public:
  FontP() = default;
  explicit FontP(FontInterface* font) : boost::intrusive_ptr<FontInterface>(font) {}
  FontP(SupplierInterface* supplier, const kelcore::UTF16String& face, const kelcore::UTF16String& style, float size)
      : FontP(supplier ? supplier->CreateFont(face, style, size) : nullptr) {}
};

class PenP : public boost::intrusive_ptr<PenInterface> {
 public:
  PenP() = default;
  explicit PenP(PenInterface* pen) : boost::intrusive_ptr<PenInterface>(pen) {}
  PenP(SupplierInterface* supplier, const Color& color, float width)
      : PenP(supplier ? supplier->CreatePen(color, width) : nullptr) {}
};

class BrushP : public boost::intrusive_ptr<BrushInterface> {
 public:
  BrushP() = default;
  explicit BrushP(BrushInterface* brush) : boost::intrusive_ptr<BrushInterface>(brush) {}
  BrushP(SupplierInterface* supplier, const Color& color)
      : BrushP(supplier ? supplier->CreateSolidBrush(color) : nullptr) {}
};

class PathP : public boost::intrusive_ptr<PathInterface> {
 public:
  PathP() = default;
  explicit PathP(PathInterface* path) : boost::intrusive_ptr<PathInterface>(path) {}
  explicit PathP(SupplierInterface* supplier) : PathP(supplier ? supplier->CreatePath() : nullptr) {}
};

}  // namespace kelui::inkpad
