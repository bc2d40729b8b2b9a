// Per-frame cost of burning a two-line outlined subtitle into a 1920x1080 BGRA frame through
// RenderOpenCaptions, next to libass doing the same job in the same run, and whether repeated
// frames grow the heap. Run with --benchmark_min_time=<seconds> for steadier figures.

#include <benchmark/benchmark.h>

#include "BenchSupport.h"
#include <malloc.h>

#include <algorithm>
#include <array>
#include <cstdarg>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "kelcaptioningui/KelCaptioningUI.h"
#include "keltext/FontLibrary.h"
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
// The sample's window is 0.9 of the frame, centred; new events may run wider than the sample.
constexpr int kWindowLeft = kFrameWidth / 20;
constexpr int kWindowRight = kFrameWidth - kWindowLeft;
constexpr int kHeapFrames = 1000;

// Each byte of `p` times `k` / 255, rounded, two bytes at a time in 16-bit lanes; branch-free so
// that the blend loops vectorise, as a host's compositor would.
inline std::uint32_t Scale(std::uint32_t p, unsigned k) {
  std::uint32_t rb = (p & 0x00FF00FFu) * k + 0x00800080u;
  std::uint32_t ag = ((p >> 8) & 0x00FF00FFu) * k + 0x00800080u;
  rb = ((rb + ((rb >> 8) & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
  ag = (ag + ((ag >> 8) & 0x00FF00FFu)) & 0xFF00FF00u;
  return rb | ag;
}

// Premultiplied 'over'.
inline std::uint32_t Over(std::uint32_t src, std::uint32_t dst) { return src + Scale(dst, 255u - (src >> 24)); }

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

struct Band {
  int top, bottom;  // rows [top, bottom) of the frame
};

// The caption layer over the frame in rows `band` of the window's width: the part of the layer a
// host would composite.
void BlendLayer(const std::uint32_t* layer, std::uint32_t* frame, Band band) {
  for (int y = band.top; y < band.bottom; ++y) {
    const std::size_t row = static_cast<std::size_t>(y) * kFrameWidth;
    for (int x = kWindowLeft; x < kWindowRight; ++x) frame[row + x] = Over(layer[row + x], frame[row + x]);
  }
}

using kel_bench::ReportHeapGrowth;

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

// Each coverage bitmap in its colour over the frame; the colour's low byte is its transparency.
void BlendAssImages(const ASS_Image* image, std::uint32_t* frame) {
  for (; image != nullptr; image = image->next) {
    const std::uint32_t bgra = 0xFF000000u | (image->color >> 8);
    const std::uint32_t colour = Scale(bgra, 255u - (image->color & 0xFFu));  // premultiplied
    const int width = image->w;  // read once: the frame's stores could alias it, which stops vectorising
    for (int y = 0; y < image->h; ++y) {
      const unsigned char* coverage = image->bitmap + static_cast<std::ptrdiff_t>(y) * image->stride;
      std::uint32_t* dst = frame + static_cast<std::size_t>(image->dst_y + y) * kFrameWidth + image->dst_x;
      for (int x = 0; x < width; ++x) dst[x] = Over(Scale(colour, coverage[x]), dst[x]);
    }
  }
}
#endif

// The frames, the models and the libass state; all of it has to end before the text engine does.
struct Fixture {
  std::unique_ptr<std::uint32_t[]> frame = std::make_unique<std::uint32_t[]>(kFramePixels);  // pages touched now
  std::unique_ptr<std::uint32_t[]> layer = std::make_unique<std::uint32_t[]>(kFramePixels);
  CaptioningRenderableModelPtr subtitle = kelcaption::MakeSubtitleSample();
  Band band{kFrameHeight, 0};
#ifdef KEL_BENCH_HAVE_LIBASS
  ASS_Library* assLibrary = ass_library_init();
  ASS_Renderer* assRenderer = nullptr;
  ASS_Track* assSteady = nullptr;
  ASS_Track* assEvents = nullptr;
#endif

  Fixture() {
    // The caption rows' band, from one frame of the sample; new events use the same rows.
    Burn(subtitle, layer.get());
    for (int y = 0; y < kFrameHeight; ++y) {
      const std::uint32_t* row = layer.get() + static_cast<std::size_t>(y) * kFrameWidth;
      const bool inked = std::any_of(row, row + kFrameWidth, [](std::uint32_t p) { return (p >> 24) != 0; });
      if (inked) band = {std::min(band.top, y), y + 1};
    }
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
#ifdef KEL_BENCH_HAVE_LIBASS
    if (assEvents != nullptr) ass_free_track(assEvents);
    if (assSteady != nullptr) ass_free_track(assSteady);
    if (assRenderer != nullptr) ass_renderer_done(assRenderer);
    if (assLibrary != nullptr) ass_library_done(assLibrary);
#endif
  }

  void PaintVideo() const { std::fill(frame.get(), frame.get() + kFramePixels, kVideoGrey); }
};

Fixture* g_fixture = nullptr;
// Events are numbered across all runs of a benchmark, so no run sees text an earlier one drew.
std::uint32_t g_kelEvent = 0;

// Frames of the sample (steady) or of events never drawn before (new), drawn straight into the
// video frame or into the caption layer that is then composited. A new event's model is made
// untimed, as a decoder has it ready before the frame is due.
void KelFrames(benchmark::State& state, bool throughLayer, bool newEvents) {
  Fixture& f = *g_fixture;
  f.PaintVideo();
  std::uint32_t* target = throughLayer ? f.layer.get() : f.frame.get();
  CaptioningRenderableModelPtr model = f.subtitle;
  // The first frame opens fonts and fills the glyph caches, as a video's first does.
  if (!Burn(model, target)) {
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
    Burn(model, target);
    if (throughLayer) BlendLayer(f.layer.get(), f.frame.get(), f.band);
    benchmark::ClobberMemory();
  }
  model = nullptr;
  if (newEvents)
    ReportHeapGrowth(state, before, static_cast<double>(state.iterations()), "heap_growth_per_event_bytes");
}

void BM_KelBurnInSteady(benchmark::State& state, bool throughLayer) { KelFrames(state, throughLayer, false); }
void BM_KelBurnInNewEvent(benchmark::State& state, bool throughLayer) { KelFrames(state, throughLayer, true); }
BENCHMARK_CAPTURE(BM_KelBurnInSteady, into_frame, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_KelBurnInSteady, layer_blend, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_KelBurnInNewEvent, into_frame, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_KelBurnInNewEvent, layer_blend, true)->Unit(benchmark::kMillisecond);

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

bool AssReady(benchmark::State& state, const Fixture& f) {
  const bool ready = f.assRenderer != nullptr && f.assSteady != nullptr && f.assEvents != nullptr;
  if (!ready) state.SkipWithError("libass could not be set up");
  return ready;
}

// The same moment every frame: libass hands back its cached images and they are blended again.
void BM_LibassSteady(benchmark::State& state) {
  Fixture& f = *g_fixture;
  if (!AssReady(state, f)) return;
  f.PaintVideo();
  int changed = 0;
  BlendAssImages(ass_render_frame(f.assRenderer, f.assSteady, 250, &changed), f.frame.get());
  for (auto _ : state) {
    BlendAssImages(ass_render_frame(f.assRenderer, f.assSteady, 250, &changed), f.frame.get());
    benchmark::ClobberMemory();
  }
  state.counters["changed"] = changed;
}
BENCHMARK(BM_LibassSteady)->Unit(benchmark::kMillisecond);

// A new event every frame, the only one in the track, rendered at its first moment.
void BM_LibassNewEvent(benchmark::State& state) {
  Fixture& f = *g_fixture;
  if (!AssReady(state, f)) return;
  f.PaintVideo();
  int changed = 0;
  int unchanged = 0;
  const struct mallinfo2 before = mallinfo2();
  for (auto _ : state) {
    state.PauseTiming();
    const std::uint32_t n = g_assEvent++;
    const std::array<std::string, 2> text = EventLines(n);
    std::string dialogue = AssDialogue(n, text[0], text[1]);
    ass_flush_events(f.assEvents);
    ass_process_data(f.assEvents, dialogue.data(), static_cast<int>(dialogue.size()));
    state.ResumeTiming();
    BlendAssImages(ass_render_frame(f.assRenderer, f.assEvents, static_cast<long long>(n) * 1000 + 250, &changed),
                   f.frame.get());
    benchmark::ClobberMemory();
    unchanged += changed == 0 ? 1 : 0;
  }
  state.counters["unchanged_frames"] = unchanged;
  ReportHeapGrowth(state, before, static_cast<double>(state.iterations()), "heap_growth_per_event_bytes");
}
BENCHMARK(BM_LibassNewEvent)->Unit(benchmark::kMillisecond);
#endif

}  // namespace

int main(int argc, char** argv) { return kel_bench::RunWithFixture(argc, argv, g_fixture); }
