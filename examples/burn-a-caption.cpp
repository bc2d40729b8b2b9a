// Burning a subtitle into video, as a host does it:
//   1. build a caption model from scratch,
//   2. draw it with RenderOpenCaptions into a caption layer cleared to transparent,
//   3. composite that layer over each video frame while the subtitle shows.
// The layer is drawn once and reused: drawing text costs far more than compositing it.
//
// Build it against an installed kelcaptioningui (README.md, "Hosts"):
//   g++ -o burn-a-caption burn-a-caption.cpp $(pkg-config --cflags --libs kelcaptioningui)
// or with CMake through find_package(kelcaptioningui), as examples/CMakeLists.txt does.
//
// It checks what it made: where the layer is clear the video is untouched, where it is opaque the
// frame shows the caption, and the caption changed enough pixels. It exits with 1 otherwise.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <kelcaptioningui/CaptionDisplaySettings.h>
#include <kelcaptioningui/CaptionLayer.h>
#include <kelcaptioningui/KelCaptioningUI.h>
#include <kelui/inkpad/Supplier.h>

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 360;
constexpr int kRowBytes = kWidth * 4;  // 32-bit premultiplied BGRA, rows packed
constexpr int kFrames = 3;

// One window of open captions (subtitles) holding one row with one span of text. The model's
// units are those of the caption draw area; making it the frame's size draws 1:1.
kelcaptioning::CaptioningRenderableModelPtr MakeSubtitle() {
  using namespace kelcaptioning;
  CaptioningRenderableModelPtr model(new CaptioningRenderableModel(kStreamFormat_OpenCaptions));

  CaptioningRenderableModelWindowPtr window(new CaptioningRenderableModelWindow());
  window->SetCaptionsAreaRatio(1.0f);  // the captions may use the whole frame
  window->SetCaptionDrawAreaSize({kWidth, kHeight});

  CaptioningRenderableOpenRowPtr row(new CaptioningRenderableOpenRow());
  row->SetHorizontalStart(40);  // top left of the row, in draw-area units
  row->SetVerticalStart(280);
  row->SetLineHeight(44);

  CaptioningRenderableOpenSpanPtr span(new CaptioningRenderableOpenSpan());
  span->SetText(kelcore::string::AsciiToUTF16("Burnt in by a host"));
  span->SetTextHeight(32, 44);  // font size and line height
  // White text by default, here on a box of black that lets the video show through.
  TextSpanAttributes look;
  look.SetBackgroundColor(CaptioningColor(0.0f, 0.0f, 0.0f, 0.6f));
  look.SetTextEdge(kTextEdge_RightDropShadow);
  span->SetTextSpanAttributes(look);

  row->SetOpenSpan(0, span);    // spans are drawn in key order
  window->SetOpenRow(0, row);   // rows likewise
  model->AddWindow(0, window);  // window number 0
  return model;
}

// Stands in for a decoded video frame: an opaque gradient that moves a little every frame.
std::vector<std::uint8_t> MakeVideoFrame(int frameNumber) {
  std::vector<std::uint8_t> frame(static_cast<std::size_t>(kRowBytes) * kHeight);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      std::uint8_t* pixel = &frame[static_cast<std::size_t>(y) * kRowBytes + static_cast<std::size_t>(x) * 4];
      pixel[0] = static_cast<std::uint8_t>(64 + (x + 8 * frameNumber) % 128);  // blue
      pixel[1] = static_cast<std::uint8_t>(64 + y % 128);                      // green
      pixel[2] = 96;                                                           // red
      pixel[3] = 255;                                                          // alpha
    }
  }
  return frame;
}

// A premultiplied layer pixel over a video pixel, channel by channel: the layer plus what of the
// video shows through it.
int Over(int layer, int video, int layerAlpha) { return layer + (video * (255 - layerAlpha) + 127) / 255; }

// What compositing did to one frame, pixel by pixel against the frame before it.
struct Changes {
  long caption = 0;  // pixels that changed
  long wrong = 0;    // pixels that are not the layer over the video (rounding aside)
};

Changes Compare(const std::vector<std::uint8_t>& before, const std::vector<std::uint8_t>& after,
                const std::vector<std::uint8_t>& layer) {
  Changes changes;
  for (std::size_t at = 0; at < before.size(); at += 4) {
    const int alpha = layer[at + 3];
    const int slack = alpha == 0 || alpha == 255 ? 0 : 1;  // clear and opaque pixels come out exact
    bool changed = false, wrong = false;
    for (std::size_t c = 0; c < 4; ++c) {
      changed = changed || after[at + c] != before[at + c];
      wrong = wrong || std::abs(after[at + c] - Over(layer[at + c], before[at + c], alpha)) > slack;
    }
    changes.caption += changed ? 1 : 0;
    changes.wrong += wrong ? 1 : 0;
  }
  return changes;
}

}  // namespace

int main() {
  // The viewer's display settings override what the caption says, as on a TV's caption menu: here
  // a more opaque box. The host's model stays as it is; the restyled one is a copy.
  kelcaptioningui::CaptionDisplaySettings viewer;
  viewer.background.opacity = 0.8f;
  const kelcaptioning::CaptioningRenderableModelPtr subtitle =
      kelcaptioningui::ApplyCaptionDisplaySettings(MakeSubtitle(), viewer, nullptr);

  // The caption layer: the frame's size, cleared to transparent. RenderOpenCaptions replaces the
  // pixels of what it fills instead of blending, so it must not draw into the video itself.
  std::vector<std::uint8_t> layer(static_cast<std::size_t>(kRowBytes) * kHeight, 0);
  const kelcore::RectT<int> frameRect{0, 0, kWidth, kHeight};
  const bool drawn = kelcaptioningui::RenderOpenCaptions(
      subtitle, frameRect, kelmediatypes::PixelAspectRatio(1, 1), reinterpret_cast<char*>(layer.data()), kRowBytes,
      frameRect, /*layoutRect=*/frameRect, kWidth, kHeight, /*flipVertical=*/false, /*scale=*/1.0f);
  if (!drawn) {
    std::fprintf(stderr, "burn-a-caption: RenderOpenCaptions drew nothing\n");
    return 1;
  }

  // Only the box around the layer's ink needs compositing; find it once per layer.
  const kelcore::RectT<int> ink = kelcaptioningui::FindCaptionLayerInk(layer.data(), kRowBytes, kWidth, kHeight);
  if (ink.width <= 0 || ink.height <= 0) {
    std::fprintf(stderr, "burn-a-caption: the caption layer holds no ink\n");
    return 1;
  }

  int failures = 0;
  for (int n = 0; n < kFrames; ++n) {
    std::vector<std::uint8_t> frame = MakeVideoFrame(n);
    const std::vector<std::uint8_t> video = frame;  // kept only for the check below
    kelcaptioningui::CompositeCaptionLayer(layer.data(), kRowBytes, frame.data(), kRowBytes, kWidth, kHeight, &ink);

    const Changes changes = Compare(video, frame, layer);
    const bool good = changes.caption > 1000 && changes.wrong == 0;
    failures += good ? 0 : 1;
    std::printf("frame %d: %ld pixels of caption in the %dx%d box at (%d, %d), %ld wrong%s\n", n, changes.caption,
                ink.width, ink.height, ink.x, ink.y, changes.wrong, good ? "" : "  <- WRONG");
  }

  // The fonts stay loaded for the next caption; a host that is done with captions frees them.
  kelui::inkpad::ReleaseFontCaches();
  return failures == 0 ? 0 : 1;
}
