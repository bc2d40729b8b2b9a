#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "gdiplus/GdiPlus.h"
#include "kelcaptioningui/KelCaptioningUI.h"
#include "kelui/inkpad/Supplier.h"
#include "kelui/inkpad/Surface.h"
#include "open/SupplierSpy.h"
#include "samples/SampleModels.h"

namespace {

using kelcore::MatrixT, kelcore::RectT, kelmediatypes::PixelAspectRatio;

TEST(FrameTransform, InverseMatrixCases) {
  const auto inverse = [](RectT<int> pixels, RectT<int> layout, float scale, PixelAspectRatio ratio, bool transforms) {
    MatrixT<float> m;
    m.m0 = 5;  // always written
    EXPECT_EQ(kelcaptioningui::GetVideoFrameInverseMatrix(pixels, layout, scale, ratio, m), transforms);
    return m;
  };
  const RectT<int> hd{0, 0, 1920, 1080}, half{0, 0, 960, 540}, sd{0, 0, 720, 480};
  EXPECT_EQ(inverse(hd, half, 0.5f, {1, 1}, false), MatrixT<float>{});
  EXPECT_EQ(inverse(hd, half, 1.0f, {1, 1}, true), (MatrixT<float>{2, 0, 0, 0, 2, 0, 0, 0, 1}));
  EXPECT_EQ(inverse(sd, sd, 1.0f, {10, 11}, true), (MatrixT<float>{1.1f, 0, 0, 0, 1, 0, 0, 0, 1}));
  EXPECT_EQ(inverse(hd, {8, 0, 1920, 1080}, 1.0f, {1, 1}, true), (MatrixT<float>{1, 0, 0, 0, 1, 0, -8, 0, 1}));
  // The layout's corner (8, 10) lands on the pixel frame's corner (4, 6), at twice the size.
  EXPECT_EQ(inverse({4, 6, 1920, 1080}, {8, 10, 960, 540}, 1.0f, {1, 1}, true),
            (MatrixT<float>{2, 0, 0, 0, 2, 0, -12, -14, 1}));
  // 1919 x 0.5 + 0.5 truncates to 960: the same size as the layout, so nothing to do.
  EXPECT_EQ(inverse({0, 0, 1919, 1080}, half, 0.5f, {1, 1}, false), MatrixT<float>{});
}

TEST(FrameTransform, PixelAspectAdjustment) {
  RectT<float> r{10, 5, 100, 50};
  kelcaptioningui::GetPARAdjustedRect({2, 1}, r);
  EXPECT_EQ(r, (RectT<float>{20, 5, 200, 50}));
  RectT<float> negative{10, 5, -30, -10};
  kelcaptioningui::GetPARAdjustedRect({2, 1}, negative);
  EXPECT_EQ(negative, (RectT<float>{-40, -5, 60, 10}));
}

// A 64 x 32 frame with a window over its middle half, {16, 8, 32, 16}, drawn at s = 2: its one
// row is a solid red band along the window's top, 4 pixels high.
kelcaptioning::CaptioningRenderableModelPtr BandModel() {
  const auto red = kelcaption::SpanStyle(kelcaptioning::kCaptioningColor_Transparent, {1, 0, 0, 1});
  return kelcaption::MakeOpenModel({{{{"a", red, 6}, {"b", red, 6}, {"c", red, 6}}, 0, 0, 8, 2}}, {64, 32}, 0.5f);
}

struct Block {
  Block(int rows, int rowBytes, std::uint8_t fill) : bytes(static_cast<std::size_t>(rows) * rowBytes + 64, fill) {}
  std::vector<std::uint8_t> bytes;
  char* data() { return reinterpret_cast<char*>(bytes.data()); }
  std::uint32_t Pixel(int x, int row, int rowBytes) const {
    std::uint32_t p;
    std::memcpy(&p, bytes.data() + static_cast<std::size_t>(row) * rowBytes + x * 4, 4);
    return p;
  }
};

bool Render(const kelcaptioning::CaptioningRenderableModelPtr& model, Block& block, int rowBytes, int width,
            int height, bool flip, float scale) {
  const RectT<int> layout{0, 0, static_cast<int>(static_cast<float>(width) * scale),
                          static_cast<int>(static_cast<float>(height) * scale)};
  return kelcaptioningui::RenderOpenCaptions(model, {0, 0, width, height}, {1, 1}, block.data(), rowBytes,
                                             {0, 0, width, height}, layout, width, height, flip, scale);
}

TEST(RenderOpenCaptions, DrawsOverTheBlockAndFlipsBottomUpBlocks) {
  const int rowBytes = 64 * 4;
  for (bool flip : {false, true}) {
    Block block(32, rowBytes, 0x40);
    ASSERT_TRUE(Render(BandModel(), block, rowBytes, 64, 32, flip, 1.0f));
    // Row 0 of a bottom-up block is the bottom of the drawing.
    const auto at = [&](int x, int row) { return block.Pixel(x, flip ? 31 - row : row, rowBytes); };
    // Outside the window the block keeps its content; inside, the transparent window fill
    // replaced it (source copy), and the band lies on top.
    for (int row = 0; row < 32; ++row) {
      for (int x = 0; x < 64; ++x) {
        if (x < 16 || x >= 48 || row < 8 || row >= 24) {
          ASSERT_EQ(at(x, row), 0x40404040u) << x << "," << row;
        }
      }
    }
    EXPECT_EQ(at(16, 11), 0xFFFF0000u);  // BGRA bytes 00 00 FF FF
    EXPECT_EQ(at(16, 12), 0u);
    // No seam between the spans' bands and the insets: red from the window's left edge on.
    int x = 16;
    while (x < 48 && at(x, 9) == 0xFFFF0000u) ++x;
    EXPECT_GT(x, 16 + 6);
    for (; x < 48; ++x) ASSERT_EQ(at(x, 9), 0u) << x;
  }
}

// The captions are placed in the frame rectangle, not in the pixel frame: a frame of the block's
// top-left quarter puts the window at {8, 4, 16, 8}.
TEST(RenderOpenCaptions, CaptionsArePlacedInTheFrameRectangle) {
  const int rowBytes = 64 * 4;
  Block block(32, rowBytes, 0x40);
  ASSERT_TRUE(kelcaptioningui::RenderOpenCaptions(BandModel(), {0, 0, 64, 32}, {1, 1}, block.data(), rowBytes,
                                                  {0, 0, 32, 16}, {0, 0, 64, 32}, 64, 32, false, 1.0f));
  EXPECT_EQ(block.Pixel(8, 4, rowBytes), 0xFFFF0000u);
  EXPECT_EQ(block.Pixel(7, 4, rowBytes), 0x40404040u);
  EXPECT_EQ(block.Pixel(24, 4, rowBytes), 0x40404040u);
}

TEST(RenderOpenCaptions, ScaleMakesASmallerSurfaceAndNothingPastItIsTouched) {
  // 1920 x 1080 at 0.5: 540 rows of 960 pixels; the block has room after them.
  const int rowBytes = 960 * 4;
  Block block(540, rowBytes, 0x11);
  ASSERT_TRUE(kelcaptioningui::RenderOpenCaptions(kelcaption::MakeSubtitleSample(), {0, 0, 1920, 1080}, {1, 1},
                                                  block.data(), rowBytes, {0, 0, 1920, 1080}, {0, 0, 1920, 1080}, 1920,
                                                  1080, false, 0.5f));
  for (std::size_t i = 540u * rowBytes; i < block.bytes.size(); ++i) ASSERT_EQ(block.bytes[i], 0x11) << i;
  // The subtitle's opaque white glyphs, low in the window (rows 27 to 513 at this scale).
  int white = 0;
  for (int row = 400; row < 513; ++row) {
    for (int x = 0; x < 960; ++x) white += block.Pixel(x, row, rowBytes) == 0xFFFFFFFFu;
  }
  EXPECT_GT(white, 2000);
}

// Null pixels, a row step of 0 or less (bottom-up blocks ask for the flip instead) and an empty
// model are refused before any supplier or surface is made; the block is not touched.
TEST(RenderOpenCaptions, RefusesBadInputWithoutTouchingTheBlock) {
  Block block(4, 16, 0x22);
  const auto model = BandModel();
  const auto nothingToDraw = kelcaption::MakeOpenModel({}, {64, 32});
  kel_test::supplier_spy::Reset();
  EXPECT_FALSE(Render(model, block, 0, 4, 4, false, 1.0f));
  EXPECT_FALSE(Render(nullptr, block, 16, 4, 4, false, 1.0f));
  EXPECT_FALSE(Render(nothingToDraw, block, -16, 4, 4, false, 1.0f));
  for (const bool flip : {false, true}) {
    EXPECT_FALSE(kelcaptioningui::RenderOpenCaptions(nothingToDraw, {0, 0, 4, 4}, {1, 1}, nullptr, 16, {0, 0, 4, 4},
                                                     {0, 0, 4, 4}, 4, 4, flip, 1.0f));
  }
  EXPECT_EQ(kel_test::supplier_spy::Watched().suppliers, 0);
  EXPECT_FALSE(Render(model, block, 8, 4, 4, false, 1.0f));  // the drawing layer's check: too short for the width
  for (std::uint8_t b : block.bytes) ASSERT_EQ(b, 0x22);
}

// What the host's surface is left with: source-copy compositing, which saving and restoring the
// drawing state does not undo, so that a translucent fill after the call replaces the pixels.
TEST(DrawCaption, LeavesAnOsSurfaceInSourceCopyCompositing) {
  std::vector<std::uint32_t> pixels(64 * 32, 0xFF404040u);
  kelui::inkpad::SupplierInterface* supplier = kelui::inkpad::NewOSSupplier();
  const std::uintptr_t none = 0;
  auto* surface = dynamic_cast<kelui::inkpad::OSSurfaceInterface*>(supplier->CreateSurface(
      64, 32, 64 * 4, kelui::inkpad::kSurfaceFormat_BGRA32Premultiplied, pixels.data(), none));
  ASSERT_NE(surface, nullptr);
  kelui::inkpad::Inkpad inkpad(supplier, surface);
  EXPECT_EQ(surface->GetOutputGraphics()->GetCompositingMode(), Gdiplus::CompositingModeSourceOver);
  kelcaptioningui::DrawCaption(BandModel(), &inkpad, {0, 0, 64, 32});
  surface->SaveState();
  surface->RestoreState();
  EXPECT_EQ(surface->GetOutputGraphics()->GetCompositingMode(), Gdiplus::CompositingModeSourceCopy);
  EXPECT_EQ(pixels[0], 0xFF404040u);  // outside the window
  surface->FillRect({0, 0, 1, 0.5f}, {0, 0, 4, 4});
  EXPECT_EQ(pixels[0], 0x80000080u);  // half-transparent blue in place of the grey, not over it
  surface->Destroy();
  supplier->Destroy();
}

// 100 x 40 at scale 0.5, flipped: a 50 x 20 surface whose first row is the block's last, at
// render mode 2 for the whole drawing, under the frame transform from a pixel frame at (4, 2) to
// a 25 x 40 layout (sx 2, sy 0.5). The caller's pixel aspect ratio, 10:11, plays no part.
TEST(RenderOpenCaptions, DrawsOnTheBlockAtRenderModeTwoUnderTheFrameTransform) {
  const int rowBytes = 50 * 4 + 8;
  Block block(20, rowBytes, 0);
  kel_test::supplier_spy::Reset();
  ASSERT_TRUE(kelcaptioningui::RenderOpenCaptions(BandModel(), {4, 2, 100, 40}, {10, 11}, block.data(), rowBytes,
                                                  {0, 0, 100, 40}, {0, 0, 25, 40}, 100, 40, true, 0.5f));
  const auto& seen = kel_test::supplier_spy::Watched();
  EXPECT_EQ(seen.suppliers, 1);
  ASSERT_EQ(seen.surfaces.size(), 1u);
  const auto& surface = seen.surfaces[0];
  EXPECT_EQ(std::vector<int>({surface.width, surface.height, surface.rowBytes, surface.format}),
            std::vector<int>({50, 20, -rowBytes, 7}));
  EXPECT_EQ(surface.firstRow, block.data() + 19 * rowBytes);
  EXPECT_EQ(surface.platformContext, 0u);
  // Set first, and put back after each background pass.
  ASSERT_FALSE(seen.renderModes.empty());
  EXPECT_EQ(seen.renderModes.front(), 2);
  EXPECT_EQ(seen.renderModes.back(), 2);
  ASSERT_EQ(seen.transforms.size(), 1u);
  EXPECT_EQ(seen.transforms[0], (MatrixT<float>{2, 0, 0, 0, 0.5f, 0, 4, 2, 1}));

  // 101 x 41 at 0.5 is cut to 50 x 20, not rounded up to 51 x 21.
  kel_test::supplier_spy::Reset();
  ASSERT_TRUE(kelcaptioningui::RenderOpenCaptions(BandModel(), {0, 0, 101, 41}, {1, 1}, block.data(), rowBytes,
                                                  {0, 0, 101, 41}, {0, 0, 101, 41}, 101, 41, true, 0.5f));
  ASSERT_EQ(kel_test::supplier_spy::Watched().surfaces.size(), 1u);
  const auto& cut = kel_test::supplier_spy::Watched().surfaces[0];
  EXPECT_EQ(std::vector<int>({cut.width, cut.height}), std::vector<int>({50, 20}));
  EXPECT_EQ(cut.firstRow, block.data() + 19 * rowBytes);
}

}  // namespace
