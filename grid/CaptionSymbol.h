#pragma once

#include <span>

#include "kelcaptioning/RenderableModel.h"
#include "kelcaptioning/TextAttributes.h"
#include "kelcore/Geometry.h"
#include "kelui/inkpad/Inkpad.h"

namespace kelcaptioningui {

// The character that stands for the closed-caption sign (the model's).
using kelcaptioning::kCaptionSymbolCharacter;

// One record of the symbol's drawing: a command letter and six numbers (see DrawCaptionSymbol).
struct SymbolCommand {
  char letter;
  float v[6];
};

// The fixed command list, up to and including its terminating record (letter 0).
std::span<const SymbolCommand> CaptionSymbolCommands();

// Draws the closed-caption sign in the cell: a box of the background colour, a rounded panel of
// the foreground colour outlined in black, and two letters C of the background colour. The
// picture, 24.2547 by 18.1853 symbol units, spans the cell's width from its top-left corner at
// its own height. The surface's drawing state is saved and restored around it.
void DrawCaptionSymbol(const kelcaptioning::TextAttributes& attributes, kelui::inkpad::Inkpad* inkpad,
                       const kelcore::RectT<float>& cell);

}  // namespace kelcaptioningui
