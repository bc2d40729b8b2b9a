// Draws a caption model decoded from the fuzz input with RenderOpenCaptions into a small block of
// memory, and lists its rectangles with GetCaptionRects. Everything the model holds comes from
// the input: windows, anchors (also out of range), area ratios, grid sizes, cells with any 32-bit
// character, open rows and spans with any UTF-16 text, sizes and edge widths, and the call's
// frame rectangles, scale (0, negative, NaN and infinities included) and flip.
//
// The block lies inside a larger buffer filled with a canary pattern. Cairo and pixman are not
// instrumented, so the harness itself checks that no byte outside the surface's pixel rows (row
// padding included) changes, and that a refused call changes nothing at all.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <vector>

#include "kelcaptioning/Formats.h"
#include "kelcaptioning/RenderableModel.h"
#include "kelcaptioningui/KelCaptioningUI.h"
#include "kelui/inkpad/Inkpad.h"
#include "kelui/inkpad/Supplier.h"
#include "kelui/inkpad/Surface.h"

namespace {

using namespace kelcaptioning;

// Reads the input front to back; past its end every value is 0.
class Input {
 public:
  Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  std::uint8_t U8() { return pos_ < size_ ? data_[pos_++] : 0; }
  std::uint32_t U32() {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v = (v << 8) | U8();
    return v;
  }
  bool Bool() { return (U8() & 1) != 0; }
  // Mostly small multiples of `step` around 0, sometimes anything.
  int Int(int smallRange, int step = 1) {
    const std::uint8_t pick = U8();
    if (pick < 200) return (static_cast<int>(pick % (2 * smallRange + 1)) - smallRange) * step;
    if (pick < 230) return static_cast<int>(U8()) * 16;
    return static_cast<int>(U32());
  }
  // Mostly within `range` of `centre`, sometimes anything.
  int Around(int centre, int range) {
    const std::uint8_t pick = U8();
    if (pick < 220) return centre + static_cast<int>(pick % (2 * range + 1)) - range;
    return static_cast<int>(U32());
  }
  // Ordinary values, the awkward ones, or any bit pattern.
  float Float(float typical) {
    static constexpr float kAwkward[] = {0.0f,
                                         -0.0f,
                                         -1.0f,
                                         1.0f,
                                         0.5f,
                                         1e-30f,
                                         1e30f,
                                         -1e30f,
                                         std::numeric_limits<float>::quiet_NaN(),
                                         std::numeric_limits<float>::infinity(),
                                         -std::numeric_limits<float>::infinity(),
                                         std::numeric_limits<float>::max(),
                                         std::numeric_limits<float>::denorm_min()};
    const std::uint8_t pick = U8();
    if (pick < 160) return typical * static_cast<float>(U8()) / 128.0f;
    if (pick < 230) return kAwkward[pick % (sizeof kAwkward / sizeof kAwkward[0])];
    const std::uint32_t bits = U32();
    float v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
  }
  CaptioningColor Color() {
    if (Bool()) return CaptioningColor::FromBytes(U8(), U8(), U8(), U8() & 0x80 ? 255 : U8());
    return {Float(1), Float(1), Float(1), Float(1)};
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

constexpr StreamFormat kFormats[] = {
    kStreamFormat_CEA608_CC1,      kStreamFormat_CEA708,   kStreamFormat_TeletextLevel10, kStreamFormat_OpenCaptions,
    kStreamFormat_OpenEBU,         kStreamFormat_Unknown,  kStreamFormat_CEA608_CC3,      kStreamFormat_TeletextLevel20,
};

char32_t Character(Input& in) {
  static constexpr char32_t kNotable[] = {U'A', U'g', U' ', U'\0', U'\n', U'\x263A', U'\xD800', U'\xDFFF',
                                          U'\xFFFD', U'\x05D0', U'\x0627', U'\x0301', U'\x4E2D', U'\x1F600',
                                          U'\x10FFFF', 0x110000, 0xFFFFFFFF, 0x7FFFFFFF};
  const std::uint8_t pick = in.U8();
  if (pick < 128) return static_cast<char32_t>(0x20 + pick % 0x5F);
  if (pick < 220) return kNotable[pick % (sizeof kNotable / sizeof kNotable[0])];
  return static_cast<char32_t>(in.U32());
}

kelcore::UTF16String Text(Input& in) {
  kelcore::UTF16String text;
  const int length = in.U8() % 12;
  for (int i = 0; i < length; ++i) {
    const std::uint8_t pick = in.U8();
    if (pick < 150) {
      text.push_back(static_cast<char16_t>(0x20 + pick % 0x5F));
    } else if (pick < 200) {
      // Lone or paired surrogates, marks, right-to-left and CJK text.
      static constexpr char16_t kNotable[] = {u'\xD83D', u'\xDE00', u'\xDC00', u'\x0301', u'\x05D0',
                                              u'\x0627', u'\x4E2D', u'\x263A', u'\x200D', u'\0'};
      text.push_back(kNotable[pick % (sizeof kNotable / sizeof kNotable[0])]);
    } else {
      text.push_back(static_cast<char16_t>(in.U8() << 8 | in.U8()));
    }
  }
  return text;
}

TextAttributes CellAttributes(Input& in) {
  TextAttributes a;
  a.SetForegroundColor(in.Color());
  a.SetBackgroundColor(in.Color());
  a.SetTextSize(static_cast<TextSize>(in.Int(3)));
  a.SetRowsUsed(in.Int(3));
  a.SetTextOffset(static_cast<TextOffset>(in.Int(3)));
  a.SetGenericFontFamilyID(static_cast<GenericFontFamilyID>(in.Int(8)));
  a.SetTextEdge(static_cast<TextEdge>(in.Int(6)));
  a.SetItalic(in.Bool());
  a.SetUnderlined(in.Bool());
  return a;
}

TextSpanAttributes SpanAttributes(Input& in) {
  static const char* const kFaces[] = {"", "Arial", "Times New Roman", "Courier New", "Comic Sans MS",
                                       "Segoe Script", "No Such Face"};
  TextSpanAttributes a;
  a.SetForegroundColor(in.Color());
  a.SetBackgroundColor(in.Color());
  a.SetForegroundEdgeColor(in.Color());
  a.SetTextEdge(static_cast<TextEdge>(in.Int(6)));
  a.SetTextEdgeWidth(in.Float(4));
  a.SetTextOffset(static_cast<TextOffset>(in.Int(3)));
  a.SetFontStyle(static_cast<FontStyle>(in.Int(4)));
  a.SetFontSize(in.Float(40));
  a.SetUnderlined(in.Bool());
  const std::uint8_t face = in.U8();
  if (face < 200) {
    a.SetFontName(kelcore::string::AsciiToUTF16(kFaces[face % (sizeof kFaces / sizeof kFaces[0])]));
  } else {
    a.SetFontName(Text(in));
  }
  return a;
}

void AddGridContent(Input& in, CaptioningRenderableModelWindow& window) {
  const int rows = in.U8() % 5;
  for (int r = 0; r < rows; ++r) {
    if (in.U8() < 20) {
      window.AppendRow(nullptr);
      continue;
    }
    CaptioningRenderableModelRowPtr row(new CaptioningRenderableModelRow());
    const int cells = in.U8() % 8;
    for (int c = 0; c < cells; ++c) {
      if (in.U8() < 20) {
        row->AppendCell(nullptr);
        continue;
      }
      const char32_t character = Character(in);
      row->AppendCell(CaptioningRenderableModelCellPtr(new CaptioningRenderableModelCell(character, CellAttributes(in))));
    }
    window.AppendRow(row);
  }
}

void AddOpenContent(Input& in, CaptioningRenderableModelWindow& window) {
  window.SetCaptionDrawAreaSize({in.Int(64, 32), in.Int(64, 32)});
  const int rows = in.U8() % 4;
  for (int r = 0; r < rows; ++r) {
    const std::uint64_t key = in.U8();
    if (in.U8() < 15) {
      window.SetOpenRow(key, nullptr);
      continue;
    }
    CaptioningRenderableOpenRowPtr row(new CaptioningRenderableOpenRow());
    row->SetHorizontalStart(in.Int(100, 8));
    row->SetVerticalStart(in.Int(100, 8));
    row->SetLineHeight(in.Int(100));
    row->SetHorizontalTextOffset(in.Int(20));
    row->SetRowWidth(in.Int(100, 8));
    const int spans = in.U8() % 4;
    for (int s = 0; s < spans; ++s) {
      const int spanKey = in.Int(4);
      if (in.U8() < 15) {
        row->SetOpenSpan(spanKey, nullptr);
        continue;
      }
      CaptioningRenderableOpenSpanPtr span(new CaptioningRenderableOpenSpan());
      span->SetText(Text(in));
      span->SetTextSpanAttributes(SpanAttributes(in));
      span->SetHorizontalStart(in.Int(100));
      span->SetVerticalStart(in.Int(100));
      span->SetTextWidth(in.Int(100, 4));
      span->SetTextHeight(in.Int(100), in.Int(100));
      row->SetOpenSpan(spanKey, span);
    }
    window.SetOpenRow(key, row);
  }
}

CaptioningRenderableModelPtr DecodeModel(Input& in) {
  CaptioningRenderableModelPtr model(new CaptioningRenderableModel(kFormats[in.U8() % 8]));
  if (in.U8() < 40) {
    model->SetMaxRows(in.Int(40));
    model->SetMaxColumns(in.Int(40));
  }
  const bool open = IsOpenCaptions(model->GetStreamFormat());
  const int windows = in.U8() % 4;
  for (int w = 0; w < windows; ++w) {
    CaptioningRenderableModelWindowPtr window(new CaptioningRenderableModelWindow());
    window->SetVisible(in.U8() >= 20);
    window->SetFillColor(in.Color());
    window->SetCaptionsAreaRatio(in.Float(1));
    window->SetAnchorID(static_cast<AnchorID>(in.Int(10)));
    window->SetRowCount(in.Int(16));
    window->SetColumnCount(in.Int(42));
    // Content of the other kind is there but not drawn, as a confused host might leave it.
    if (open || in.U8() < 10) AddOpenContent(in, *window);
    if (!open || in.U8() < 10) AddGridContent(in, *window);
    model->AddWindow(in.Int(8), window);
  }
  // Render orders may repeat numbers and name windows that are not there.
  std::vector<int> order;
  model->GetWindowRenderOrder(order);
  if (in.U8() < 40) order.push_back(in.Int(10));
  if (in.U8() < 20 && !order.empty()) order.push_back(order.front());
  model->SetWindowRenderOrder(order);
  return model;
}

kelcore::RectT<int> Rect(Input& in, int typical) {
  return {in.Int(8), in.Int(8), in.Around(typical, typical), in.Around(typical, typical)};
}

// The surface size RenderOpenCaptions computes: float product truncated toward zero, NaN to 0,
// saturating at the int range.
int SurfaceSize(int size, float scale) {
  const double v = static_cast<double>(static_cast<float>(size) * scale);
  if (std::isnan(v)) return 0;
  if (v >= 2147483647.0) return std::numeric_limits<int>::max();
  if (v <= -2147483648.0) return std::numeric_limits<int>::min();
  return static_cast<int>(v);
}

constexpr std::size_t kGuard = 256;        // canary bytes before the block
constexpr std::size_t kBlockBytes = 16384;  // room for the surface rows, the rest canary too
constexpr int kMaxSide = 64;

std::uint8_t Canary(std::size_t i) { return static_cast<std::uint8_t>((i * 131u + 7u) ^ (i >> 8)); }

[[noreturn]] void Fail(const char* what, std::size_t byte) {
  std::fprintf(stderr, "%s (byte %zu of the buffer)\n", what, byte);
  std::abort();
}

}  // namespace

// fontconfig and Cairo keep static data until told to let go; releasing it at exit keeps the
// leak report to objects of the run itself.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  std::atexit(kelui::inkpad::ReleaseFontCaches);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Input in(data, size);
  const CaptioningRenderableModelPtr model = DecodeModel(in);

  const int width = in.U8() % (kMaxSide + 1) - (in.U8() < 10 ? 70 : 0);
  const int height = in.U8() % (kMaxSide + 1);
  const float scale = in.U8() < 200 ? 0.25f * static_cast<float>(1 + in.U8() % 8) : in.Float(1);
  const bool flip = in.Bool();
  const std::size_t misalignment = in.U8() < 20 ? in.U8() % 4 : 0;
  const int surfaceWidth = SurfaceSize(width, scale);
  const int surfaceHeight = SurfaceSize(height, scale);
  int rowBytes = (surfaceWidth > 0 && surfaceWidth <= kMaxSide ? surfaceWidth : width) * 4 + 4 * (in.U8() % 4);
  if (in.U8() < 20) rowBytes = in.Around(rowBytes, 4);
  const kelcore::RectT<int> pixelFrameRect = Rect(in, 32);
  const kelcore::RectT<int> frameRect = Rect(in, 32);
  const kelcore::RectT<int> layoutRect = Rect(in, 32);
  const kelmediatypes::PixelAspectRatio ratio(in.U8() % 12, in.U8() % 12);

  // Calls whose surface the block cannot hold are the caller's error; they are not made.
  const bool refusedSize = surfaceWidth <= 0 || surfaceHeight <= 0;
  const bool fits = !refusedSize && surfaceWidth <= kMaxSide && surfaceHeight <= kMaxSide && rowBytes > 0 &&
                    static_cast<std::size_t>(surfaceHeight) * static_cast<std::size_t>(rowBytes) <= kBlockBytes;
  if (refusedSize || fits) {
    std::vector<std::uint8_t> buffer(kGuard + kBlockBytes + kGuard);
    for (std::size_t i = 0; i < buffer.size(); ++i) buffer[i] = Canary(i);
    char* block = reinterpret_cast<char*>(buffer.data() + kGuard + misalignment);
    const bool drew = kelcaptioningui::RenderOpenCaptions(model, pixelFrameRect, ratio, block, rowBytes, frameRect,
                                                          layoutRect, width, height, flip, scale);
    if (drew && refusedSize) Fail("drew on a surface of no size", 0);
    // Bytes the surface may write: its rows, surfaceWidth pixels each.
    std::vector<bool> inside(buffer.size(), false);
    if (drew) {
      const std::size_t first = kGuard + misalignment;
      for (int r = 0; r < surfaceHeight; ++r) {
        const std::size_t start = first + static_cast<std::size_t>(r) * static_cast<std::size_t>(rowBytes);
        for (std::size_t b = 0; b < static_cast<std::size_t>(surfaceWidth) * 4; ++b) inside[start + b] = true;
      }
    }
    for (std::size_t i = 0; i < buffer.size(); ++i) {
      if (!inside[i] && buffer[i] != Canary(i)) Fail(drew ? "wrote outside the surface's rows" : "a refused call wrote", i);
    }
  }

  // The rectangles, measured through a drawing context of its own.
  std::vector<std::uint32_t> scratch(8 * 8, 0);
  kelui::inkpad::SupplierInterface* supplier = kelui::inkpad::NewOSSupplier();
  kelui::inkpad::SurfaceInterface* surface = supplier->CreateSurface(
      8, 8, 32, kelui::inkpad::kSurfaceFormat_BGRA32Premultiplied, scratch.data(), std::uintptr_t{0});
  {
    kelui::inkpad::Inkpad inkpad(supplier, surface);
    kelcaptioningui::CaptionRectList rects;
    const kelcore::RectT<float> frame{static_cast<float>(frameRect.x), static_cast<float>(frameRect.y),
                                      static_cast<float>(frameRect.width), static_cast<float>(frameRect.height)};
    kelcaptioningui::GetCaptionRects(model, &inkpad, frame, rects);
    kelcaptioningui::DrawCaption(model, &inkpad, frame);
  }
  if (surface) surface->Destroy();
  supplier->Destroy();

  // The geometry helpers with any ratio, zero terms included.
  kelcore::MatrixT<float> matrix;
  if (ratio.GetNumerator() != 0 && layoutRect.width > 0 && layoutRect.height > 0) {
    kelcaptioningui::GetVideoFrameInverseMatrix(pixelFrameRect, layoutRect, scale, ratio, matrix);
  }
  kelcore::RectT<float> adjusted{in.Float(100), in.Float(100), in.Float(100), in.Float(100)};
  kelcaptioningui::GetPARAdjustedRect(ratio, adjusted);
  return 0;
}
