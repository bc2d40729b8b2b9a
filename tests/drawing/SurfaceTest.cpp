#include <gtest/gtest.h>

#include <vector>

#include "gdiplus/GdiPlus.h"
#include "kelui/inkpad/Handles.h"
#include "kelui/inkpad/Supplier.h"
#include "kelui/inkpad/Surface.h"
#include "support/PixelBuffer.h"

namespace {

using kel_test::Bgra;
using kel_test::PixelBuffer;

void SetCompositing(kelui::inkpad::OSSurfaceInterface* surface, Gdiplus::CompositingMode mode) {
  ASSERT_EQ(Gdiplus::GdipSetCompositingMode(surface->GetOutputGraphics()->nativeGraphics, mode), Gdiplus::Ok);
}

TEST(CairoSurface, RefusesRequestsItCannotServeAndWritesNothing) {
  std::vector<std::uint8_t> bytes(64 * 16 * 4 + 4, 0xAB);
  kelui::inkpad::SupplierInterface* supplier = kelui::inkpad::NewOSSupplier();
  const std::uintptr_t none = 0, some = 1;
  struct Request { int width, height, rowBytes, format; void* first; const std::uintptr_t& platform; };
  const Request refused[] = {
      {64, 16, 256, 6, bytes.data(), none},       // unknown format
      {64, 16, -252, 7, bytes.data(), none},      // bottom-up row step shorter than a row
      {64, 16, 256, 7, bytes.data() + 1, none},   // misaligned pixels
      {64, 16, 256, 7, bytes.data(), some},       // reserved platform value
  };
  for (const Request& r : refused) {
    EXPECT_EQ(supplier->CreateSurface(r.width, r.height, r.rowBytes, r.format, r.first, r.platform), nullptr)
        << r.width << "x" << r.height << " step " << r.rowBytes << " format " << r.format;
  }
  for (std::uint8_t b : bytes) ASSERT_EQ(b, 0xAB);

  // A row step longer than the row is fine; the gap between rows is left alone.
  kelui::inkpad::SurfaceInterface* surface = supplier->CreateSurface(60, 16, 256, 7, bytes.data(), none);
  ASSERT_NE(surface, nullptr);
  surface->FillRect({0, 0, 0, 1}, {0, 0, 60, 16});
  surface->Destroy();
  EXPECT_EQ(bytes[3], 0xFF);
  EXPECT_EQ(bytes[60 * 4], 0xAB);
  supplier->Destroy();
}

TEST(CairoSurface, CompositingModeOutlastsRestoreOfDrawingState) {
  PixelBuffer buffer(2, 1);
  auto* surface = buffer.surface();
  surface->FillRect({1, 1, 1, 1}, {0, 0, 2, 1});
  surface->SaveState();
  SetCompositing(surface, Gdiplus::CompositingModeSourceCopy);
  surface->RestoreState();
  surface->FillRect({0, 0, 0, 0}, {0, 0, 1, 1});  // transparent: clears with source copy
  EXPECT_EQ(buffer.At(0, 0), Bgra{});
  EXPECT_EQ(buffer.At(1, 0), (Bgra{255, 255, 255, 255}));
}

// Under source copy a rectangle fill replaces the pixels, alpha included; a path fill and a
// stroke in the same half-transparent colour are laid over them.
TEST(CairoSurface, UnderSourceCopyOnlyRectangleFillsReplace) {
  PixelBuffer buffer(3, 1);
  auto* surface = buffer.surface();
  surface->FillRect({0, 0, 1, 1}, {0, 0, 3, 1});
  SetCompositing(surface, Gdiplus::CompositingModeSourceCopy);
  const kelui::inkpad::Color halfRed{1, 0, 0, 0.5f};
  surface->FillRect(halfRed, {0, 0, 1, 1});
  kelui::inkpad::PathP square(buffer.supplier());
  square->MoveTo({1, 0});
  square->LineTo({2, 0});
  square->LineTo({2, 1});
  square->LineTo({1, 1});
  square->CloseFigure();
  surface->FillPath(square, kelui::inkpad::BrushP(buffer.supplier(), halfRed), 1);
  kelui::inkpad::PathP line(buffer.supplier());
  line->MoveTo({2.5f, 0});
  line->LineTo({2.5f, 1});
  surface->StrokePath(line, kelui::inkpad::PenP(buffer.supplier(), halfRed, 1.0f));
  EXPECT_EQ(buffer.At(0, 0), (Bgra{0, 0, 128, 128}));
  EXPECT_EQ(buffer.At(1, 0), (Bgra{127, 0, 128, 255}));
  EXPECT_EQ(buffer.At(2, 0), (Bgra{127, 0, 128, 255}));
}

TEST(CairoSurface, RenderModeZeroSnapsEdgesOtherModesAntiAlias) {
  PixelBuffer buffer(8, 2);
  auto* surface = buffer.surface();
  surface->FillRect({0, 0, 0, 1}, {0.0f, 0.0f, 2.25f, 1.0f});
  EXPECT_EQ(buffer.At(2, 0).a, 64);  // a quarter covered

  surface->SetRenderMode(0);
  surface->FillRect({0, 0, 0, 1}, {4.0f, 1.0f, 2.25f, 1.0f});
  EXPECT_EQ(buffer.At(5, 1).a, 255);
  EXPECT_EQ(buffer.At(6, 1).a, 0);
}

TEST(CairoSurface, TransformsComposeAndRestoreUndoesThem) {
  PixelBuffer buffer(32, 1);
  auto* surface = buffer.surface();
  kelcore::MatrixT<float> shift;
  shift.m6 = 10;
  surface->SetTransform(shift);
  surface->SaveState();
  surface->SetTransform({2, 0, 0, 0, 2, 0, 0, 0, 1});
  surface->FillRect({0, 0, 0, 1}, {1, 0, 1, 1});  // lands at 10 + 2 .. 10 + 4
  surface->RestoreState();
  surface->FillRect({0, 0, 0, 1}, {20, 0, 1, 1});  // only the shift again: 30
  for (int x = 0; x < 32; ++x) {
    const bool inked = x == 12 || x == 13 || x == 30;
    EXPECT_EQ(buffer.At(x, 0).a, inked ? 255 : 0) << x;
  }
}

TEST(CairoSurface, SingularTransformDrawsNothingUntilRestore) {
  PixelBuffer buffer(4, 1);
  auto* surface = buffer.surface();
  surface->SaveState();
  kelcore::MatrixT<float> flat;
  flat.m4 = 0;
  surface->SetTransform(flat);
  surface->FillRect({0, 0, 0, 1}, {0, 0, 4, 1});
  EXPECT_EQ(buffer.At(0, 0).a, 0);
  surface->RestoreState();
  surface->FillRect({0, 0, 0, 1}, {0, 0, 1, 1});
  EXPECT_EQ(buffer.At(0, 0).a, 255);
  EXPECT_EQ(buffer.At(1, 0).a, 0);
}

}  // namespace
