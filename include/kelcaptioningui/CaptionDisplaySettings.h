#pragma once

#include <optional>

#include "kelcaptioning/CaptioningColor.h"
#include "kelcaptioning/RenderableModel.h"
#include "kelcaptioning/TextEnums.h"
#include "kelcaptioningui/Export.h"
#include "kelui/inkpad/Inkpad.h"

namespace kelcaptioningui {

// The text sizes of a decoder's size setting, relative to the standard size. They are the ratios
// of the grid's size classes, so a grid caption and a subtitle grow alike.
inline constexpr float kCaptionTextSmall = 5.0f / 6.0f;
inline constexpr float kCaptionTextStandard = 1.0f;
inline constexpr float kCaptionTextLarge = 7.0f / 6.0f;

// A colour that the viewer chooses: its red, green and blue, its opacity, or both. What is left
// unset keeps the caption's own.
struct CaptionColorSetting {
  std::optional<kelcaptioning::CaptioningColor> color;  // its alpha is not used
  std::optional<float> opacity;                         // 0 (transparent) to 1 (opaque)

  // `own` with the chosen parts replaced.
  kelcaptioning::CaptioningColor Over(const kelcaptioning::CaptioningColor& own) const {
    const kelcaptioning::CaptioningColor rgb = color.value_or(own);
    return {rgb.Red(), rgb.Green(), rgb.Blue(), opacity.value_or(own.Alpha())};
  }
  bool IsSet() const noexcept { return color.has_value() || opacity.has_value(); }
};

// The display settings that a viewer sets on a decoder (as FCC 79.102 asks of every caption
// decoder) to override what the captions say. Every setting is optional: unset ones leave the
// captions as they are.
struct CaptionDisplaySettings {
  // One of the eight caption families; subtitles take the family's face.
  std::optional<kelcaptioning::GenericFontFamilyID> fontFamily;
  // Relative to the standard size (kCaptionTextSmall, kCaptionTextLarge, or any ratio above 0).
  // Grid cells take the nearest size class; subtitles are scaled from the size they have.
  std::optional<float> textSize;
  CaptionColorSetting text;
  CaptionColorSetting background;  // behind the characters: cells and spans
  CaptionColorSetting window;      // the window's fill
  std::optional<kelcaptioning::TextEdge> edge;
  // The edge colour of subtitle spans (the colour of their outline). Grid cells draw their edges
  // in the fixed colours of the decoder's edge styles.
  std::optional<kelcaptioning::CaptioningColor> edgeColor;
};

// A new model: `model` as a viewer with `settings` sees it. The host's model and everything in it
// stay as they were; the new model has copies of its windows, rows, cells and spans. Subtitles
// whose size or face changes are measured through `inkpad`, as DrawCaption measures them, and
// keep their place: each row stays at the edge or centre of the caption area nearest which it
// stands (bottom captions grow upwards, centred ones stay centred), never leaving the area.
// Without an Inkpad their rows keep their horizontal starts. A null model gives a null model.
KELCAPTIONINGUI_API kelcaptioning::CaptioningRenderableModelPtr ApplyCaptionDisplaySettings(
    const kelcaptioning::CaptioningRenderableModelPtr& model, const CaptionDisplaySettings& settings,
    kelui::inkpad::Inkpad* inkpad);

}  // namespace kelcaptioningui
