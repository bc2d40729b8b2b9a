// What a host does first: build a one-line open caption and burn it into a frame buffer.
#include <cstdio>
#include <vector>

#include <kelcaptioningui/KelCaptioningUI.h>

int main() {
  using namespace kelcaptioning;
  CaptioningRenderableModelPtr model(new CaptioningRenderableModel(kStreamFormat_OpenCaptions));
  CaptioningRenderableModelWindowPtr window(new CaptioningRenderableModelWindow());
  window->SetCaptionsAreaRatio(1.0f);
  window->SetCaptionDrawAreaSize({320, 180});
  CaptioningRenderableOpenRowPtr row(new CaptioningRenderableOpenRow());
  row->SetHorizontalStart(20);
  row->SetVerticalStart(120);
  row->SetLineHeight(30);
  CaptioningRenderableOpenSpanPtr span(new CaptioningRenderableOpenSpan());
  span->SetText(kelcore::string::AsciiToUTF16("Hello, host"));
  span->SetTextHeight(24, 30);
  TextSpanAttributes attributes;
  attributes.SetBackgroundColor(kCaptioningColor_Black);
  span->SetTextSpanAttributes(attributes);
  row->SetOpenSpan(0, span);
  window->SetOpenRow(0, row);
  model->AddWindow(0, window);

  std::vector<char> pixels(320 * 180 * 4, 0);
  if (!kelcaptioningui::RenderOpenCaptions(model, {0, 0, 320, 180}, {1, 1}, pixels.data(), 320 * 4, {0, 0, 320, 180},
                                           {0, 0, 320, 180}, 320, 180, false, 1.0f)) {
    return 1;
  }
  long inked = 0;
  for (std::size_t i = 3; i < pixels.size(); i += 4) inked += pixels[i] != 0;
  std::printf("inked %ld pixels\n", inked);
  return inked > 100 ? 0 : 1;
}
