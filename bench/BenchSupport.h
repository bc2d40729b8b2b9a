#pragma once

// What the benchmark programs share: running with a fixture that outlives every benchmark but
// not the text engine, and measuring the heap.

#include <benchmark/benchmark.h>
#include <malloc.h>

#include "kelui/inkpad/Supplier.h"

namespace kel_bench {

// Every benchmark draws into 1080p BGRA frames.
inline constexpr int kFrameWidth = 1920;
inline constexpr int kFrameHeight = 1080;
inline constexpr int kRowBytes = kFrameWidth * 4;

// Makes the fixture, points `current` at it while the benchmarks run, and releases the fonts and
// Cairo's static data last, after every surface and model of the fixture has ended.
template <class Fixture>
int RunWithFixture(int argc, char** argv, Fixture*& current) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  {
    Fixture fixture;
    current = &fixture;
    benchmark::RunSpecifiedBenchmarks();
    current = nullptr;
  }
  benchmark::Shutdown();
  kelui::inkpad::ReleaseFontCaches();
  return 0;
}

// Reports how much the heap in use grew since `before`, in all and per `units`: uordblks counts
// chunks handed out from the arenas, hblkhd chunks big enough to get their own mapping.
inline void ReportHeapGrowth(benchmark::State& state, const struct mallinfo2& before, double units,
                             const char* perName) {
  const struct mallinfo2 after = mallinfo2();
  const double growth = static_cast<double>(after.uordblks) - static_cast<double>(before.uordblks);
  state.counters["heap_growth_bytes"] = growth;
  state.counters[perName] = growth / units;
  state.counters["mmapped_growth_bytes"] = static_cast<double>(after.hblkhd) - static_cast<double>(before.hblkhd);
  state.counters["heap_in_use_bytes"] = static_cast<double>(after.uordblks);
}

}  // namespace kel_bench
