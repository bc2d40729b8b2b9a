#pragma once

#include <cstdint>
#include <vector>

#include "kelcore/Geometry.h"

namespace kel_test::supplier_spy {

struct SurfaceRequest {
  int width, height, rowBytes, format;
  void* firstRow;
  std::uintptr_t platformContext;
};

// What the program asked of the drawing layer's OS suppliers since the last Reset. The test
// program that links SupplierSpy.cpp gets its NewOSSupplier: the real supplier, watched.
struct Seen {
  int suppliers = 0;
  std::vector<SurfaceRequest> surfaces;
  // Per surface call, in order: the render modes set and the transforms set.
  std::vector<int> renderModes;
  std::vector<kelcore::MatrixT<float>> transforms;
};

const Seen& Watched();
void Reset();

}  // namespace kel_test::supplier_spy
