// Per-frame costs of the Cairo-backed drawing layer: fonts, text, GDI+ outlines and full-frame
// fills. Run with --benchmark_min_time=<seconds> for steadier figures.

#include <benchmark/benchmark.h>

#include "BenchSupport.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "gdiplus/GdiPlus.h"
#include "kelcore/String.h"
#include "kelui/inkpad/Handles.h"
#include "kelui/inkpad/Supplier.h"
#include "kelui/inkpad/Surface.h"

namespace {

using kelui::inkpad::BrushP;
using kelui::inkpad::Color;
using kelui::inkpad::FontP;
using kelui::inkpad::OSSurfaceInterface;
using kelui::inkpad::SupplierInterface;

using kel_bench::kFrameHeight;
using kel_bench::kFrameWidth;
using kel_bench::kRowBytes;
constexpr std::size_t kFrameBytes = static_cast<std::size_t>(kRowBytes) * kFrameHeight;
// Enough frames (about 66 MB) that the pool does not sit in the last-level cache, as frames of a
// running video do not.
constexpr std::size_t kPoolFrames = 8;
constexpr float kCaptionSize = 54.0f;

// Two caption lines of 40 characters each, a full-width line of a 32-column grid and then some.
constexpr char kLine1[] = "Captions keep pace with the spoken word.";
constexpr char kLine2[] = "And stay readable over any moving frame.";
static_assert(sizeof(kLine1) - 1 == 40 && sizeof(kLine2) - 1 == 40);

// A frame buffer with a surface drawing into it.
struct Frame {
  std::unique_ptr<std::uint32_t[]> pixels;
  OSSurfaceInterface* surface = nullptr;
};

Frame NewFrame(SupplierInterface* supplier) {
  Frame frame;
  frame.pixels = std::make_unique<std::uint32_t[]>(kFrameBytes / 4);  // zeroed: pages are touched now
  const std::uintptr_t noPlatformContext = 0;
  frame.surface = dynamic_cast<OSSurfaceInterface*>(
      supplier->CreateSurface(kFrameWidth, kFrameHeight, kRowBytes, kelui::inkpad::kSurfaceFormat_BGRA32Premultiplied,
                              frame.pixels.get(), noPlatformContext));
  return frame;
}

// Everything the benchmarks share; it has to go before the text engine is released.
struct Fixture {
  SupplierInterface* supplier = kelui::inkpad::NewOSSupplier();
  kelcore::UTF16String face = kelcore::string::AsciiToUTF16("Arial");
  kelcore::UTF16String style;
  kelcore::UTF16String line1 = kelcore::string::AsciiToUTF16(kLine1);
  kelcore::UTF16String line2 = kelcore::string::AsciiToUTF16(kLine2);
  Frame scratch = NewFrame(supplier);
  std::vector<Frame> pool;  // made on first use; only the fill benchmarks need it

  ~Fixture() {
    for (Frame& frame : pool) {
      if (frame.surface) frame.surface->Destroy();
    }
    if (scratch.surface) scratch.surface->Destroy();
    supplier->Destroy();
  }

  // False when a surface could not be made.
  bool EnsurePool() {
    if (pool.empty()) {
      for (std::size_t i = 0; i < kPoolFrames; ++i) {
        pool.push_back(NewFrame(supplier));
        if (pool.back().surface == nullptr) return false;
        Gdiplus::Graphics* graphics = pool.back().surface->GetOutputGraphics();
        if (graphics == nullptr ||
            Gdiplus::GdipSetCompositingMode(graphics->nativeGraphics, Gdiplus::CompositingModeSourceCopy) !=
                Gdiplus::Ok) {
          return false;
        }
      }
    }
    return true;
  }
};

Fixture* g_fixture = nullptr;

void BM_CreateFontSeenFace(benchmark::State& state) {
  Fixture& f = *g_fixture;
  // The first request opens the face; only the repeated ones are timed.
  FontP first(f.supplier, f.face, f.style, kCaptionSize);
  if (!first) {
    state.SkipWithError("no font");
    return;
  }
  for (auto _ : state) {
    FontP font(f.supplier, f.face, f.style, kCaptionSize);
    benchmark::DoNotOptimize(font.get());
  }
}
BENCHMARK(BM_CreateFontSeenFace);

void BM_MeasureLine40(benchmark::State& state) {
  Fixture& f = *g_fixture;
  const FontP font(f.supplier, f.face, f.style, kCaptionSize);
  if (!font || f.scratch.surface == nullptr) {
    state.SkipWithError("no font or surface");
    return;
  }
  for (auto _ : state) {
    float width = f.scratch.surface->MeasureStringWidth(font, f.line1.c_str(), -1);
    benchmark::DoNotOptimize(width);
  }
}
BENCHMARK(BM_MeasureLine40);

void BM_DrawLine40(benchmark::State& state) {
  Fixture& f = *g_fixture;
  const FontP font(f.supplier, f.face, f.style, kCaptionSize);
  const BrushP brush(f.supplier, Color{1.0f, 1.0f, 1.0f, 1.0f});
  OSSurfaceInterface* surface = f.scratch.surface;
  if (!font || !brush || surface == nullptr) {
    state.SkipWithError("no font, brush or surface");
    return;
  }
  const kelcore::PointT<float> baseline{96.0f, 960.0f};
  surface->DrawString(brush, font, f.line1, baseline, 0, 0, 0.0f);  // glyphs rendered once untimed
  for (auto _ : state) {
    surface->DrawString(brush, font, f.line1, baseline, 0, 0, 0.0f);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_DrawLine40);

// One line outlined and filled through GDI+, with every object made and deleted as the caption
// library does for each line of each frame.
bool OutlineLine(Gdiplus::GpGraphics* graphics, const kelcore::UTF16String& text, int x, int y) {
  using namespace Gdiplus;
  GpFontFamily* family = nullptr;
  if (GdipCreateFontFamilyFromName(u"Arial", nullptr, &family) != Ok) return false;
  GpPath* path = nullptr;
  GpStringFormat* format = nullptr;
  GpPen* pen = nullptr;
  GpSolidFill* brush = nullptr;
  const Rect layout{x, y, 0, 0};
  const bool ok = GdipCreatePath(FillModeAlternate, &path) == Ok && GdipCreateStringFormat(0, 0, &format) == Ok &&
                  GdipAddPathStringI(path, text.c_str(), static_cast<INT>(text.size()), family, FontStyleRegular,
                                     kCaptionSize, &layout, format) == Ok &&
                  GdipCreatePen1(0xFF000000u, 4.0f, UnitWorld, &pen) == Ok && GdipDrawPath(graphics, pen, path) == Ok &&
                  GdipCreateSolidFill(0xFFFFFFFFu, &brush) == Ok && GdipFillPath(graphics, brush, path) == Ok;
  if (brush) GdipDeleteBrush(brush);
  if (pen) GdipDeletePen(pen);
  if (format) GdipDeleteStringFormat(format);
  if (path) GdipDeletePath(path);
  GdipDeleteFontFamily(family);
  return ok;
}

void BM_OutlinedTwoLines(benchmark::State& state) {
  Fixture& f = *g_fixture;
  Gdiplus::Graphics* graphics = f.scratch.surface ? f.scratch.surface->GetOutputGraphics() : nullptr;
  if (graphics == nullptr ||
      Gdiplus::GdipSetSmoothingMode(graphics->nativeGraphics, Gdiplus::SmoothingModeAntiAlias) != Gdiplus::Ok) {
    state.SkipWithError("no graphics");
    return;
  }
  const auto frame = [&] {
    return OutlineLine(graphics->nativeGraphics, f.line1, 96, 840) &&
           OutlineLine(graphics->nativeGraphics, f.line2, 96, 920);
  };
  // The first frame loads the outlines of the glyphs; the steady state is what a video sees.
  if (!frame()) {
    state.SkipWithError("GDI+ outline failed");
    return;
  }
  for (auto _ : state) {
    if (!frame()) {
      state.SkipWithError("GDI+ outline failed");
      break;
    }
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_OutlinedTwoLines);

// Clearing a whole frame with a window colour, as a caption pass starts; memset of the same
// bytes below is the bound it is compared to.
void BM_FullFrameSourceCopyFill(benchmark::State& state) {
  Fixture& f = *g_fixture;
  if (!f.EnsurePool()) {
    state.SkipWithError("frame pool could not be made");
    return;
  }
  const Color fill{0.08f, 0.08f, 0.08f, 0.75f};
  const kelcore::RectT<float> whole{0.0f, 0.0f, static_cast<float>(kFrameWidth), static_cast<float>(kFrameHeight)};
  std::size_t next = 0;
  for (auto _ : state) {
    f.pool[next].surface->FillRect(fill, whole);
    benchmark::ClobberMemory();
    next = (next + 1) % kPoolFrames;
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(kFrameBytes));
}
BENCHMARK(BM_FullFrameSourceCopyFill);

void BM_FullFrameMemset(benchmark::State& state) {
  Fixture& f = *g_fixture;
  if (!f.EnsurePool()) {
    state.SkipWithError("frame pool could not be made");
    return;
  }
  std::size_t next = 0;
  for (auto _ : state) {
    void* pixels = f.pool[next].pixels.get();
    benchmark::DoNotOptimize(pixels);
    std::memset(pixels, 0x40, kFrameBytes);
    benchmark::ClobberMemory();
    next = (next + 1) % kPoolFrames;
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(kFrameBytes));
}
BENCHMARK(BM_FullFrameMemset);

}  // namespace

int main(int argc, char** argv) { return kel_bench::RunWithFixture(argc, argv, g_fixture); }
