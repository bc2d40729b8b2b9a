// Per-frame cost of drawing line-21 grid captions through DrawCaption onto a 1920x1080 frame, and
// whether repeated frames grow the heap. Run with --benchmark_min_time=<seconds> for steadier
// figures.

#include <benchmark/benchmark.h>

#include "BenchSupport.h"
#include <malloc.h>

#include <cstddef>
#include <cstdint>
#include <memory>

#include "kelcaptioningui/KelCaptioningUI.h"
#include "kelui/inkpad/Inkpad.h"
#include "kelui/inkpad/Supplier.h"
#include "kelui/inkpad/Surface.h"
#include "samples/SampleModels.h"

namespace {

using kelcaptioning::CaptioningRenderableModelPtr;
using kelui::inkpad::SupplierInterface;
using kelui::inkpad::SurfaceInterface;

using kel_bench::kFrameHeight;
using kel_bench::kFrameWidth;
using kel_bench::kRowBytes;
constexpr std::size_t kFramePixels = static_cast<std::size_t>(kFrameWidth) * kFrameHeight;
constexpr kelcore::RectT<float> kFrameRect{0.0f, 0.0f, static_cast<float>(kFrameWidth),
                                           static_cast<float>(kFrameHeight)};
constexpr int kHeapFrames = 1000;

// One frame buffer, its surface and the models; all of it has to end before the text engine does.
struct Fixture {
  SupplierInterface* supplier = kelui::inkpad::NewOSSupplier();
  std::unique_ptr<std::uint32_t[]> pixels = std::make_unique<std::uint32_t[]>(kFramePixels);  // pages touched now
  SurfaceInterface* surface = nullptr;
  CaptioningRenderableModelPtr typical = kelcaption::MakeTypicalGridFrame();
  CaptioningRenderableModelPtr fullEdged = kelcaption::MakeFullEdgedGrid();

  Fixture() {
    const std::uintptr_t noPlatformContext = 0;
    if (supplier != nullptr) {
      surface = supplier->CreateSurface(kFrameWidth, kFrameHeight, kRowBytes,
                                        kelui::inkpad::kSurfaceFormat_BGRA32Premultiplied, pixels.get(),
                                        noPlatformContext);
    }
  }
  ~Fixture() {
    if (surface != nullptr) surface->Destroy();
    if (supplier != nullptr) supplier->Destroy();
  }
  Fixture(const Fixture&) = delete;
  Fixture& operator=(const Fixture&) = delete;
};

Fixture* g_fixture = nullptr;

// Benchmarks are registered before the fixture exists, so they name their model by member.
using ModelMember = CaptioningRenderableModelPtr Fixture::*;

// Draws one frame of `model` with a fresh Inkpad, as a host does for each video frame.
void DrawFrame(const Fixture& f, const CaptioningRenderableModelPtr& model) {
  kelui::inkpad::Inkpad inkpad(f.supplier, f.surface);
  kelcaptioningui::DrawCaption(model, &inkpad, kFrameRect);
}

// The model, after one untimed frame that opens fonts and fills the glyph caches (the steady state
// is what a video sees); null, with the benchmark skipped, when there is nothing to draw.
const CaptioningRenderableModelPtr* WarmModel(benchmark::State& state, ModelMember which) {
  const Fixture& f = *g_fixture;
  const CaptioningRenderableModelPtr& model = f.*which;
  if (f.surface == nullptr || !model) {
    state.SkipWithError("no surface or model");
    return nullptr;
  }
  DrawFrame(f, model);
  return &model;
}

// Each frame is drawn over the previous one: the library paints over whatever is there, so no
// clearing is needed between frames.
void DrawLoop(benchmark::State& state, ModelMember which) {
  const CaptioningRenderableModelPtr* warm = WarmModel(state, which);
  if (warm == nullptr) return;
  const Fixture& f = *g_fixture;
  const CaptioningRenderableModelPtr& model = *warm;
  for (auto _ : state) {
    DrawFrame(f, model);
    benchmark::ClobberMemory();
  }
  state.counters["frames_per_s"] = benchmark::Counter(static_cast<double>(state.iterations()),
                                                      benchmark::Counter::kIsRate);
}

void BM_DrawTypicalGridFrame(benchmark::State& state) { DrawLoop(state, &Fixture::typical); }
BENCHMARK(BM_DrawTypicalGridFrame)->Unit(benchmark::kMillisecond);

void BM_DrawFullEdgedGrid(benchmark::State& state) { DrawLoop(state, &Fixture::fullEdged); }
BENCHMARK(BM_DrawFullEdgedGrid)->Unit(benchmark::kMillisecond);

// Heap in use before and after 1,000 frames, after one warm-up frame; anything per frame that is
// not given back shows up here as a steady growth.
void BM_HeapGrowthOver1000Frames(benchmark::State& state, ModelMember which) {
  const CaptioningRenderableModelPtr* warm = WarmModel(state, which);
  if (warm == nullptr) return;
  const Fixture& f = *g_fixture;
  const CaptioningRenderableModelPtr& model = *warm;
  for (auto _ : state) {
    const struct mallinfo2 before = mallinfo2();
    for (int i = 0; i < kHeapFrames; ++i) DrawFrame(f, model);
    benchmark::ClobberMemory();
    kel_bench::ReportHeapGrowth(state, before, kHeapFrames, "heap_growth_per_frame_bytes");
  }
}

BENCHMARK_CAPTURE(BM_HeapGrowthOver1000Frames, typical, &Fixture::typical)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_HeapGrowthOver1000Frames, full_edged, &Fixture::fullEdged)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return kel_bench::RunWithFixture(argc, argv, g_fixture); }
