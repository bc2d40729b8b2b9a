#include "grid/CaptionSymbol.h"

#include <array>

#include "kelui/inkpad/Handles.h"
#include "kelui/inkpad/Surface.h"
#include "paint/DrawingColor.h"
#include "paint/SurfaceScopes.h"

namespace kelcaptioningui {

namespace {

constexpr float kSymbolWidth = 24.2547f;

// Commands: M x y, L x y, C x1 y1 x2 y2 x3 y3, Z, F r g b (white picks the foreground colour),
// S r g b width.

// The panel's outline: a rounded rectangle whose sides bulge slightly outwards. It is filled,
// then traced again for its black stroke.
constexpr std::array<SymbolCommand, 14> kPanelOutline{{
    {'M', {21.9806f, 9.0135f}},
    {'C', {21.9505f, 5.8358f, 21.8299f, 4.4502f, 21.077f, 3.4712f}},
    {'C', {20.9415f, 3.2605f, 20.6854f, 3.14f, 20.4746f, 2.9895f}},
    {'C', {19.7366f, 2.4472f, 16.2577f, 2.2515f, 12.2215f, 2.2515f}},
    {'C', {8.1853f, 2.2515f, 4.54077f, 2.4472f, 3.81787f, 2.9895f}},
    {'C', {3.59192f, 3.14f, 3.33581f, 3.2605f, 3.1853f, 3.4712f}},
    {'C', {2.44726f, 4.4502f, 2.34192f, 5.8358f, 2.29675f, 9.0135f}},
    {'C', {2.34192f, 12.1914f, 2.44726f, 13.5769f, 3.1853f, 14.5558f}},
    {'C', {3.33581f, 14.7817f, 3.59192f, 14.8871f, 3.81787f, 15.0377f}},
    {'C', {4.54077f, 15.595f, 8.1853f, 15.7757f, 12.2215f, 15.8058f}},
    {'C', {16.2577f, 15.7757f, 19.7366f, 15.595f, 20.4746f, 15.0377f}},
    {'C', {20.6854f, 14.8871f, 20.9415f, 14.7817f, 21.077f, 14.5558f}},
    {'C', {21.8299f, 13.5769f, 21.9505f, 12.1914f, 21.9806f, 9.0135f}},
    {'Z', {}},
}};

constexpr std::array<SymbolCommand, 7> kBox{{
    {'M', {0, 0}},
    {'L', {24.2547f, 0}},
    {'L', {24.2547f, 18.1853f}},
    {'L', {0, 18.1853f}},
    {'L', {0, 0}},
    {'Z', {}},
    {'F', {0, 0, 0}},
}};

// The two letters C, in the background colour; the right one stands 8.4303 units further on.
constexpr std::array<SymbolCommand, 26> kLetters{{
    {'M', {11.6896f, 8.1906f}},
    {'C', {11.4853f, 5.704f, 10.1628f, 4.239f, 7.79723f, 4.239f}},
    {'C', {5.63596f, 4.239f, 3.93706f, 6.1879f, 3.93706f, 9.31964f}},
    {'C', {3.93706f, 12.4648f, 5.48544f, 14.4271f, 8.04452f, 14.4271f}},
    {'C', {10.0875f, 14.4271f, 11.5176f, 12.9218f, 11.7434f, 10.4217f}},
    {'L', {9.30256f, 10.4217f}},
    {'C', {9.20579f, 11.3492f, 8.81871f, 12.0616f, 8.00151f, 12.0616f}},
    {'C', {6.71121f, 12.0616f, 6.47467f, 10.7847f, 6.47467f, 9.42716f}},
    {'C', {6.47467f, 7.5588f, 7.0123f, 6.6046f, 7.90474f, 6.6046f}},
    {'C', {8.70045f, 6.6046f, 9.20579f, 7.1825f, 9.28106f, 8.1906f}},
    {'L', {11.6896f, 8.1906f}},
    {'Z', {}},
    {'F', {0, 0, 0}},
    {'M', {20.1199f, 8.1906f}},
    {'C', {19.9156f, 5.704f, 18.5931f, 4.239f, 16.2275f, 4.239f}},
    {'C', {14.0662f, 4.239f, 12.3674f, 6.1879f, 12.3674f, 9.31964f}},
    {'C', {12.3674f, 12.4648f, 13.9157f, 14.4271f, 16.4748f, 14.4271f}},
    {'C', {18.5178f, 14.4271f, 19.9479f, 12.9218f, 20.1736f, 10.4217f}},
    {'L', {17.7328f, 10.4217f}},
    {'C', {17.6361f, 11.3492f, 17.249f, 12.0616f, 16.4318f, 12.0616f}},
    {'C', {15.1415f, 12.0616f, 14.9049f, 10.7847f, 14.9049f, 9.42716f}},
    {'C', {14.9049f, 7.5588f, 15.4426f, 6.6046f, 16.335f, 6.6046f}},
    {'C', {17.1307f, 6.6046f, 17.6361f, 7.1825f, 17.7113f, 8.1906f}},
    {'L', {20.1199f, 8.1906f}},
    {'Z', {}},
    {'F', {0, 0, 0}},
}};

// Box, panel filled in the foreground colour, panel stroked in black, letters, end record.
constexpr std::array<SymbolCommand, 64> kCommands = [] {
  std::array<SymbolCommand, 64> list{};
  std::size_t n = 0;
  const auto append = [&](const auto& part) {
    for (const SymbolCommand& command : part) list[n++] = command;
  };
  append(kBox);
  append(kPanelOutline);
  append(std::array<SymbolCommand, 1>{{{'F', {1, 1, 1}}}});
  append(kPanelOutline);
  append(std::array<SymbolCommand, 1>{{{'S', {0, 0, 0, 0.02387423f}}}});
  append(kLetters);
  list[n] = {0, {}};
  return list;
}();

constexpr kelui::inkpad::Color kKeyWhite{1, 1, 1, 1};

// The symbol box spans the cell's width; its height stays in drawing units.
kelcore::MatrixT<float> SymbolTransform(const kelcore::RectT<float>& cell) {
  kelcore::MatrixT<float> matrix;
  matrix.ScaleMatrixAbout(cell.width / kSymbolWidth, 1.0f, 0.0f, 0.0f);
  kelcore::MatrixT<float> translation;
  translation.m6 = cell.x;
  translation.m7 = cell.y;
  matrix.MultiplyMatrix(translation);
  return matrix;
}

}  // namespace

std::span<const SymbolCommand> CaptionSymbolCommands() { return kCommands; }

void DrawCaptionSymbol(const kelcaptioning::TextAttributes& attributes, kelui::inkpad::Inkpad* inkpad,
                       const kelcore::RectT<float>& cell) {
  kelui::inkpad::SurfaceInterface* surface = inkpad ? inkpad->GetSurface() : nullptr;
  kelui::inkpad::SupplierInterface* supplier = inkpad ? inkpad->GetSupplier() : nullptr;
  if (surface == nullptr) return;
  const SavedDrawingState saved(*surface);
  surface->SetTransform(SymbolTransform(cell));
  kelui::inkpad::PathP path;
  for (const SymbolCommand& command : kCommands) {
    if (command.letter == 0) break;
    const float* v = command.v;
    if (command.letter == 'M') {
      path = kelui::inkpad::PathP(supplier);
      if (path) path->MoveTo({v[0], v[1]});
      continue;
    }
    if (!path) continue;
    switch (command.letter) {
      case 'L':
        path->LineTo({v[0], v[1]});
        break;
      case 'C':
        path->CubicBezierTo({v[0], v[1]}, {v[2], v[3]}, {v[4], v[5]});
        break;
      case 'Z':
        path->CloseFigure();
        break;
      case 'F': {
        const bool keyWhite = kelui::inkpad::Color{v[0], v[1], v[2], 1.0f} == kKeyWhite;
        const kelui::inkpad::BrushP brush(supplier, ToDrawingColor(keyWhite ? attributes.GetForegroundColor()
                                                                             : attributes.GetBackgroundColor()));
        surface->FillPath(path, brush, 1);
        break;
      }
      case 'S': {
        const kelui::inkpad::PenP pen(supplier, kelui::inkpad::Color{v[0], v[1], v[2], 1.0f}, v[3]);
        surface->StrokePath(path, pen);
        break;
      }
      default:
        break;
    }
  }
}

}  // namespace kelcaptioningui
