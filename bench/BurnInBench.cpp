// Per-frame cost of burning a two-line outlined subtitle into a 1920x1080 BGRA frame: through
// RenderOpenCaptions into a layer of the captions' box that is composited over the video, and
// straight into the frame; next to libass doing the same job in the same run, with a compositor
// of the same arithmetic; and whether repeated frames grow the heap. Run with
// --benchmark_min_time=<seconds> for steadier figures.

#include <benchmark/benchmark.h>

#include "BenchSupport.h"
#include <malloc.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdarg>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "kelcaptioningui/CaptionLayer.h"
#include "kelcaptioningui/KelCaptioningUI.h"
#include "kelui/inkpad/PremultipliedOver.h"
#include "kelui/inkpad/Supplier.h"
#include "samples/SampleModels.h"

#ifdef KEL_BENCH_HAVE_LIBASS
#include <ass/ass.h>
#endif

namespace {

using kelcaptioning::CaptioningRenderableModelPtr;

using kel_bench::kFrameHeight;
using kel_bench::kFrameWidth;
using kel_bench::kRowBytes;
constexpr std::size_t kFramePixels = static_cast<std::size_t>(kFrameWidth) * kFrameHeight;
constexpr kelcore::RectT<int> kPixelRect{0, 0, kFrameWidth, kFrameHeight};
constexpr std::uint32_t kVideoGrey = 0xFF808080u;  // opaque, so premultiplied as it stands
constexpr int kHeapFrames = 1000;
constexpr std::uintptr_t kNoPlatformValue = 0;

// The text of event `n`: two lines of about 40 characters drawn from common words, so the glyphs
// are mostly ones seen before while the strings are new, as with real subtitles. The counter
// keeps every event's text distinct.
std::array<std::string, 2> EventLines(std::uint32_t n) {
  static constexpr std::array<const char*, 32> kWords{
      "the",      "frame", "of",     "this",    "clip",  "carries", "its",   "text", "drawn",  "with", "an",
      "outline",  "burnt", "into",   "pixels",  "every", "word",    "keeps", "pace", "spoken", "line", "stays",
      "readable", "over",  "moving", "picture", "and",   "then",    "some",  "more", "light",  "night"};
  std::uint32_t seed = n * 2654435761u + 12345u;
  std::array<std::string, 2> lines{std::to_string(n) + ".", ""};
  for (std::string& line : lines) {
    while (line.size() < 36) {
      seed = seed * 1664525u + 1013904223u;
      if (!line.empty()) line += ' ';
      line += kWords[(seed >> 16) % kWords.size()];
    }
  }
  lines[1] += '.';
  return lines;
}

// The sample's look and layout with event `n`'s text.
CaptioningRenderableModelPtr MakeEventModel(std::uint32_t n) {
  const auto outlined =
      kelcaption::SpanStyle(kelcaptioning::kCaptioningColor_White, kelcaptioning::kCaptioningColor_Transparent,
                            kelcaptioning::kTextEdge_Uniform, 4.0f);
  const std::array<std::string, 2> text = EventLines(n);
  return kelcaption::MakeOpenModel({{{{text[0], outlined}}, 380, 860}, {{{text[1], outlined}}, 380, 940}},
                                   {kFrameWidth, kFrameHeight}, 0.9f);
}

bool Burn(const CaptioningRenderableModelPtr& model, std::uint32_t* pixels) {
  return kelcaptioningui::RenderOpenCaptions(model, kPixelRect, kelmediatypes::PixelAspectRatio(1, 1),
                                             reinterpret_cast<char*>(pixels), kRowBytes, kPixelRect, kPixelRect,
                                             kFrameWidth, kFrameHeight, false, 1.0f);
}

using kel_bench::ReportHeapGrowth;

// The smallest box of whole pixels around the rectangles that the captions cover; empty when none.
kelcore::RectT<int> BoxAround(const kelcaptioningui::CaptionRectList& rects) {
  if (rects.empty()) return {0, 0, 0, 0};
  float left = rects.front().x, top = rects.front().y, right = left, bottom = top;
  for (const auto& r : rects) {
    left = std::min(left, r.x);
    top = std::min(top, r.y);
    right = std::max(right, r.x + r.width);
    bottom = std::max(bottom, r.y + r.height);
  }
  const int x = std::max(0, static_cast<int>(std::floor(left)));
  const int y = std::max(0, static_cast<int>(std::floor(top)));
  const int r = std::min(kFrameWidth, static_cast<int>(std::ceil(right)));
  const int b = std::min(kFrameHeight, static_cast<int>(std::ceil(bottom)));
  return {x, y, std::max(0, r - x), std::max(0, b - y)};
}

// A small layer of the box's size over `box` of the frame: the captions are drawn into it with
// the layout shifted by the box's corner, then laid over that box alone.
void BlendBox(const std::uint32_t* layer, std::uint32_t* frame, const kelcore::RectT<int>& box) {
  kelcaptioningui::CompositeCaptionLayer(reinterpret_cast<const std::uint8_t*>(layer), box.width * 4,
                                         reinterpret_cast<std::uint8_t*>(frame + static_cast<std::size_t>(box.y) *
                                                                                     kFrameWidth + box.x),
                                         kRowBytes, box.width, box.height);
}

#ifdef KEL_BENCH_HAVE_LIBASS
// The same look as the sample: Arial 60, white, a black outline of 4, no shadow, bottom centre.
constexpr char kAssHeader[] =
    "[Script Info]\nScriptType: v4.00+\nPlayResX: 1920\nPlayResY: 1080\nScaledBorderAndShadow: yes\n"
    "WrapStyle: 2\n\n[V4+ Styles]\nFormat: Name, Fontname, Fontsize, PrimaryColour, SecondaryColour, "
    "OutlineColour, BackColour, Bold, Italic, Underline, StrikeOut, ScaleX, ScaleY, Spacing, Angle, "
    "BorderStyle, Outline, Shadow, Alignment, MarginL, MarginR, MarginV, Encoding\n"
    "Style: Default,Arial,60,&H00FFFFFF,&H00FFFFFF,&H00000000,&H00000000,0,0,0,0,100,100,0,0,1,4,0,2,0,0,108,1\n\n"
    "[Events]\nFormat: Layer, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text\n";

// A Dialogue line shown from `startSeconds` for half a second.
std::string AssDialogue(std::uint32_t startSeconds, const std::string& line1, const std::string& line2) {
  std::array<char, 32> clock{};
  const std::uint32_t s = startSeconds;
  std::snprintf(clock.data(), clock.size(), "%u:%02u:%02u", s / 3600, s / 60 % 60, s % 60);
  const std::string start(clock.data());  // ends before the next second, so events never overlap
  return "Dialogue: 0," + start + ".00," + start + ".50,Default,,0,0,0,," + line1 + "\\N" + line2 + "\n";
}

// What a host's compositor does with libass's images, with the arithmetic and the AVX2 of the
// library's own: coverage comes in runs of empty and solid, so a run of `kGroups` x 8 pixels at
// a time it skips empty runs, stores solid ones and blends the rest without branching per pixel.
// Short runs win where the pattern repeats from frame to frame (the branches are then
// predicted), long runs where it is new; libass is measured with both. Our layer goes through
// the library's CompositeCaptionLayer, which works the same way on runs of sixteen pixels.
enum class Runs { kShort = 1, kLong = 2 };  // groups of eight pixels per run

// `colour` (premultiplied) through `n` coverage bytes over `n` pixels.
void OverCoverageRowPlain(std::uint32_t colour, const std::uint8_t* coverage, std::uint32_t* dst, int n) {
  for (int i = 0; i < n; ++i) dst[i] = kelui::inkpad::OverPixel(kelui::inkpad::ScalePixel(colour, coverage[i]), dst[i]);
}

#ifdef KELUI_HAVE_AVX2_LANES
template <int kGroups>
__attribute__((target("avx2"))) void OverCoverageRowAvx2(std::uint32_t colour, const std::uint8_t* coverage,
                                                         std::uint32_t* dst, int n) {
  using kelui::inkpad::MulDiv255Lanes;
  const __m256i zero = _mm256_setzero_si256();
  const __m256i solid = _mm256_set1_epi32(static_cast<int>(colour));
  const __m256i colourLanes = _mm256_unpacklo_epi8(solid, zero);
  const __m256i alphaLanes = _mm256_set1_epi16(static_cast<short>(colour >> 24));
  const bool opaque = (colour >> 24) == 0xFFu;
  int i = 0;
  for (; i + 8 * kGroups <= n; i += 8 * kGroups) {
    std::uint64_t groups[kGroups];
    std::memcpy(groups, coverage + i, sizeof groups);
    std::uint64_t any = 0, all = ~std::uint64_t{0};
    for (std::uint64_t g : groups) any |= g, all &= g;
    if (any == 0) continue;
    __m256i* out = reinterpret_cast<__m256i*>(dst + i);
    const bool solidRun = opaque && all == ~std::uint64_t{0};
    for (int k = 0; k < kGroups; ++k) {
      const kelui::inkpad::CoverageLanes m = kelui::inkpad::SpreadEightCoverages(groups[k]);
      const __m256i d = _mm256_loadu_si256(out + k);
      const __m256i low = kelui::inkpad::OverLanes(MulDiv255Lanes(colourLanes, m.low),
                                                   MulDiv255Lanes(alphaLanes, m.low), _mm256_unpacklo_epi8(d, zero));
      const __m256i high = kelui::inkpad::OverLanes(MulDiv255Lanes(colourLanes, m.high),
                                                    MulDiv255Lanes(alphaLanes, m.high), _mm256_unpackhi_epi8(d, zero));
      _mm256_storeu_si256(out + k, solidRun ? solid : _mm256_packus_epi16(low, high));
    }
  }
  OverCoverageRowPlain(colour, coverage + i, dst + i, n - i);
}
#endif

// Each coverage bitmap in its colour over the frame; the colour's low byte is its transparency.
void BlendAssImages(const ASS_Image* image, std::uint32_t* frame, Runs runs) {
  auto over = OverCoverageRowPlain;
#ifdef KELUI_HAVE_AVX2_LANES
  if (kelui::inkpad::HasAvx2()) over = runs == Runs::kShort ? OverCoverageRowAvx2<1> : OverCoverageRowAvx2<2>;
#endif
  for (; image != nullptr; image = image->next) {
    // libass's colour is R, G, B and a transparency, a byte each from the top.
    const std::uint32_t colour =
        kelui::inkpad::ScalePixel(0xFF000000u | (image->color >> 8), 255u - (image->color & 0xFFu));
    for (int y = 0; y < image->h; ++y) {
      const unsigned char* coverage = image->bitmap + static_cast<std::ptrdiff_t>(y) * image->stride;
      over(colour, coverage, frame + static_cast<std::size_t>(image->dst_y + y) * kFrameWidth + image->dst_x, image->w);
    }
  }
}
#endif

// The frames, the models and the libass state; all of it has to end before the text engine does.
struct Fixture {
  std::unique_ptr<std::uint32_t[]> frame = std::make_unique<std::uint32_t[]>(kFramePixels);  // pages touched now
  std::unique_ptr<std::uint32_t[]> layer = std::make_unique<std::uint32_t[]>(kFramePixels);
  CaptioningRenderableModelPtr subtitle = kelcaption::MakeSubtitleSample();
  std::unique_ptr<std::uint32_t[]> boxLayer = std::make_unique<std::uint32_t[]>(kFramePixels);
  // Measures text for GetCaptionRects; draws nothing.
  kelui::inkpad::SupplierInterface* measuringSupplier = kelui::inkpad::NewOSSupplier();
  std::uint32_t measuringPixel = 0;
  kelui::inkpad::SurfaceInterface* measuringSurface = measuringSupplier->CreateSurface(
      1, 1, 4, kelui::inkpad::kSurfaceFormat_BGRA32Premultiplied, &measuringPixel, kNoPlatformValue);
  kelui::inkpad::Inkpad measuring{measuringSupplier, measuringSurface};
  bool inkInsideBox = true;
#ifdef KEL_BENCH_HAVE_LIBASS
  ASS_Library* assLibrary = ass_library_init();
  ASS_Renderer* assRenderer = nullptr;
  ASS_Track* assSteady = nullptr;
  ASS_Track* assEvents = nullptr;
#endif

  Fixture() {
    // Drawing through the box must lose no ink: every inked pixel of a full layer lies in it.
    Burn(subtitle, layer.get());
    const kelcore::RectT<int> box = CaptionBox(subtitle);
    for (int y = 0; y < kFrameHeight; ++y)
      for (int x = 0; x < kFrameWidth; ++x)
        if ((layer[static_cast<std::size_t>(y) * kFrameWidth + x] >> 24) != 0 &&
            (x < box.x || y < box.y || x >= box.x + box.width || y >= box.y + box.height))
          inkInsideBox = false;
#ifdef KEL_BENCH_HAVE_LIBASS
    if (assLibrary == nullptr) return;
    // Errors only; libass is chatty about font matching.
    ass_set_message_cb(
        assLibrary,
        [](int level, const char* format, va_list args, void*) {
          if (level <= 1) std::vfprintf(stderr, format, args);
        },
        nullptr);
    assRenderer = ass_renderer_init(assLibrary);
    if (assRenderer == nullptr) return;
    ass_set_frame_size(assRenderer, kFrameWidth, kFrameHeight);
    ass_set_fonts(assRenderer, nullptr, "sans-serif", ASS_FONTPROVIDER_AUTODETECT, nullptr, 1);
    std::string script = std::string(kAssHeader) + AssDialogue(0, "Every frame of this clip carries its text",
                                                               "drawn with an outline, burnt into pixels.");
    assSteady = ass_read_memory(assLibrary, script.data(), script.size(), nullptr);
    std::string header = kAssHeader;
    assEvents = ass_read_memory(assLibrary, header.data(), header.size(), nullptr);
#endif
  }
  ~Fixture() {
    measuringSurface->Destroy();
    measuringSupplier->Destroy();
#ifdef KEL_BENCH_HAVE_LIBASS
    if (assEvents != nullptr) ass_free_track(assEvents);
    if (assSteady != nullptr) ass_free_track(assSteady);
    if (assRenderer != nullptr) ass_renderer_done(assRenderer);
    if (assLibrary != nullptr) ass_library_done(assLibrary);
#endif
  }

  kelcore::RectT<int> CaptionBox(const CaptioningRenderableModelPtr& model) {
    kelcaptioningui::CaptionRectList rects;
    kelcaptioningui::GetCaptionRects(model, &measuring, {0.0f, 0.0f, kFrameWidth, kFrameHeight}, rects);
    return BoxAround(rects);
  }

  // What a host does per frame: find the box, clear a layer of its size, draw the captions into
  // it and lay it over the frame.
  bool BurnThroughBox(const CaptioningRenderableModelPtr& model) {
    const kelcore::RectT<int> box = CaptionBox(model);
    if (box.width == 0 || box.height == 0) return true;
    std::fill(boxLayer.get(), boxLayer.get() + static_cast<std::size_t>(box.width) * box.height, 0u);
    const bool drawn = kelcaptioningui::RenderOpenCaptions(
        model, kPixelRect, kelmediatypes::PixelAspectRatio(1, 1), reinterpret_cast<char*>(boxLayer.get()),
        box.width * 4, kPixelRect, {box.x, box.y, kFrameWidth, kFrameHeight}, box.width, box.height, false, 1.0f);
    BlendBox(boxLayer.get(), frame.get(), box);
    return drawn;
  }

  void PaintVideo() const { std::fill(frame.get(), frame.get() + kFramePixels, kVideoGrey); }
};

Fixture* g_fixture = nullptr;
// Events are numbered across all runs of a benchmark, so no run sees text an earlier one drew.
std::uint32_t g_kelEvent = 0;

// Frames of the sample (steady) or of events never drawn before (new), drawn by RenderOpenCaptions
// straight into the video frame. The sample's window is transparent and is filled with source
// copy, so this clears the window's area of the frame: it is the library's own cost of a frame,
// not a burn that keeps the picture. A new event's model is made untimed, as a decoder has it
// ready before the frame is due.
void BM_KelIntoFrame(benchmark::State& state, bool newEvents) {
  Fixture& f = *g_fixture;
  f.PaintVideo();
  CaptioningRenderableModelPtr model = f.subtitle;
  // The first frame opens fonts and fills the glyph caches, as a video's first does.
  if (!Burn(model, f.frame.get())) {
    state.SkipWithError("RenderOpenCaptions drew nothing");
    return;
  }
  const struct mallinfo2 before = mallinfo2();
  for (auto _ : state) {
    if (newEvents) {
      state.PauseTiming();
      model = MakeEventModel(g_kelEvent++);
      state.ResumeTiming();
    }
    Burn(model, f.frame.get());
    benchmark::ClobberMemory();
  }
  model = nullptr;
  if (newEvents)
    ReportHeapGrowth(state, before, static_cast<double>(state.iterations()), "heap_growth_per_event_bytes");
}
BENCHMARK_CAPTURE(BM_KelIntoFrame, steady, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_KelIntoFrame, new_event, true)->Unit(benchmark::kMillisecond);

enum class BoxFrames { kSteadyRedrawn, kSteadyKept, kNewEvent };

// A real burn: the captions drawn into a layer of their box (GetCaptionRects) and composited
// over the video. Steady frames either draw the layer again every frame or keep the layer of the
// last change and only composite it, as `kelcaption burn` does and as libass keeps its images.
void BM_KelThroughCaptionBox(benchmark::State& state, BoxFrames frames) {
  Fixture& f = *g_fixture;
  f.PaintVideo();
  if (!f.inkInsideBox) {
    state.SkipWithError("ink falls outside the caption rectangles");
    return;
  }
  CaptioningRenderableModelPtr model = f.subtitle;
  if (!f.BurnThroughBox(model)) {
    state.SkipWithError("RenderOpenCaptions drew nothing");
    return;
  }
  const kelcore::RectT<int> keptBox = f.CaptionBox(model);
  for (auto _ : state) {
    if (frames == BoxFrames::kNewEvent) {
      state.PauseTiming();
      model = MakeEventModel(g_kelEvent++);
      state.ResumeTiming();
    }
    if (frames == BoxFrames::kSteadyKept) {
      BlendBox(f.boxLayer.get(), f.frame.get(), keptBox);
    } else {
      f.BurnThroughBox(model);
    }
    benchmark::ClobberMemory();
  }
}
BENCHMARK_CAPTURE(BM_KelThroughCaptionBox, steady_redrawn, BoxFrames::kSteadyRedrawn)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_KelThroughCaptionBox, steady_kept, BoxFrames::kSteadyKept)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_KelThroughCaptionBox, new_event, BoxFrames::kNewEvent)->Unit(benchmark::kMillisecond);

// Heap in use before and after 1,000 steady frames, after one warm-up frame; anything per frame
// that is not given back shows up here as a steady growth.
void BM_KelBurnInHeapGrowthOver1000Frames(benchmark::State& state) {
  Fixture& f = *g_fixture;
  Burn(f.subtitle, f.frame.get());
  for (auto _ : state) {
    const struct mallinfo2 before = mallinfo2();
    for (int i = 0; i < kHeapFrames; ++i) Burn(f.subtitle, f.frame.get());
    benchmark::ClobberMemory();
    ReportHeapGrowth(state, before, kHeapFrames, "heap_growth_per_frame_bytes");
  }
}
BENCHMARK(BM_KelBurnInHeapGrowthOver1000Frames)->Iterations(1)->Unit(benchmark::kMillisecond);

#ifdef KEL_BENCH_HAVE_LIBASS
std::uint32_t g_assEvent = 0;

// Makes event `n` the only one of the events track; answers the time to render it at, its first
// moment.
long long LoadAssEvent(Fixture& f, std::uint32_t n) {
  const std::array<std::string, 2> text = EventLines(n);
  std::string dialogue = AssDialogue(n, text[0], text[1]);
  ass_flush_events(f.assEvents);
  ass_process_data(f.assEvents, dialogue.data(), static_cast<int>(dialogue.size()));
  return static_cast<long long>(n) * 1000 + 250;
}

bool AssReady(benchmark::State& state, const Fixture& f) {
  const bool ready = f.assRenderer != nullptr && f.assSteady != nullptr && f.assEvents != nullptr;
  if (!ready) state.SkipWithError("libass could not be set up");
  return ready;
}

// The same moment every frame: libass hands back its cached images and they are blended again.
void BM_LibassSteady(benchmark::State& state, Runs runs) {
  Fixture& f = *g_fixture;
  if (!AssReady(state, f)) return;
  f.PaintVideo();
  int changed = 0;
  BlendAssImages(ass_render_frame(f.assRenderer, f.assSteady, 250, &changed), f.frame.get(), runs);
  for (auto _ : state) {
    BlendAssImages(ass_render_frame(f.assRenderer, f.assSteady, 250, &changed), f.frame.get(), runs);
    benchmark::ClobberMemory();
  }
  state.counters["changed"] = changed;
}
BENCHMARK_CAPTURE(BM_LibassSteady, short_runs, Runs::kShort)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LibassSteady, long_runs, Runs::kLong)->Unit(benchmark::kMillisecond);

// A new event every frame, the only one in the track, rendered at its first moment.
void BM_LibassNewEvent(benchmark::State& state, Runs runs) {
  Fixture& f = *g_fixture;
  if (!AssReady(state, f)) return;
  f.PaintVideo();
  int changed = 0;
  int unchanged = 0;
  const struct mallinfo2 before = mallinfo2();
  for (auto _ : state) {
    state.PauseTiming();
    const long long at = LoadAssEvent(f, g_assEvent++);
    state.ResumeTiming();
    BlendAssImages(ass_render_frame(f.assRenderer, f.assEvents, at, &changed), f.frame.get(), runs);
    benchmark::ClobberMemory();
    unchanged += changed == 0 ? 1 : 0;
  }
  state.counters["unchanged_frames"] = unchanged;
  ReportHeapGrowth(state, before, static_cast<double>(state.iterations()), "heap_growth_per_event_bytes");
}
BENCHMARK_CAPTURE(BM_LibassNewEvent, short_runs, Runs::kShort)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LibassNewEvent, long_runs, Runs::kLong)->Unit(benchmark::kMillisecond);

// New events for both libraries in one loop, taking turns, each variant timed on its own: the
// machine's speed drifts over seconds, and side-by-side frames see the same drift, so this
// ratio is steadier than one of two separately run benchmarks. Every frame gets text never
// drawn before, by either side.
void BM_NewEventsTakingTurns(benchmark::State& state) {
  Fixture& f = *g_fixture;
  if (!AssReady(state, f)) return;
  f.PaintVideo();
  f.BurnThroughBox(f.subtitle);
  // Ours takes two of the four turns, so that each side follows itself as often as the other
  // does (a turn after one's own finds its caches warmer).
  constexpr int kVariants = 4;  // ours, ours, libass with short runs, libass with long runs
  std::array<double, kVariants> seconds{};
  std::uint32_t turn = 0;
  int changed = 0;
  for (auto _ : state) {
    for (int k = 0; k < kVariants; ++k) {
      const int variant = static_cast<int>((turn + static_cast<std::uint32_t>(k)) % kVariants);
      if (variant < 2) {
        CaptioningRenderableModelPtr model = MakeEventModel(g_kelEvent++);
        const auto start = std::chrono::steady_clock::now();
        f.BurnThroughBox(model);
        seconds[variant] += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
      } else {
        const Runs runs = variant == 2 ? Runs::kShort : Runs::kLong;
        const long long at = LoadAssEvent(f, g_assEvent++);
        const auto start = std::chrono::steady_clock::now();
        BlendAssImages(ass_render_frame(f.assRenderer, f.assEvents, at, &changed), f.frame.get(), runs);
        seconds[variant] += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
      }
      benchmark::ClobberMemory();
    }
    ++turn;
  }
  const double frames = static_cast<double>(state.iterations());
  const auto ms = [&](int v) { return seconds[v] / frames * 1e3; };
  state.counters["kel_ms"] = (ms(0) + ms(1)) / 2;
  state.counters["libass_short_ms"] = ms(2);
  state.counters["libass_long_ms"] = ms(3);
  state.counters["libass_over_kel"] = std::min(ms(2), ms(3)) / ((ms(0) + ms(1)) / 2);
}
BENCHMARK(BM_NewEventsTakingTurns)->Unit(benchmark::kMillisecond);
#endif

}  // namespace

int main(int argc, char** argv) { return kel_bench::RunWithFixture(argc, argv, g_fixture); }
