#pragma once

#include <string>

#include <cairo.h>
#include <fontconfig/fontconfig.h>
#include <hb.h>

#include <ft2build.h>
#include FT_FREETYPE_H

namespace keltext {

// One installed font face, opened for drawing (Cairo), shaping (HarfBuzz) and metrics
// (FreeType). Faces live until ReleaseTextEngine and are shared by every font of that face.
struct LoadedFace {
  std::string family;  // the family name the font file gives
  std::string style;   // the style name the font file gives, "Italic" for instance
  std::string file;
  int index = 0;
  int weight = FC_WEIGHT_REGULAR;
  int slant = FC_SLANT_ROMAN;
  // An upright face asked for as italic: Cairo slants its outlines.
  bool syntheticOblique = false;

  // Design units; ascender and descender are distances above and below the baseline.
  double unitsPerEm = 1000.0;
  double ascender = 0.0;
  double descender = 0.0;
  double lineGap = 0.0;
  // How far any glyph outline of the face reaches from its origin, in ems: from the face's
  // bounding box, with room for a synthetic slant.
  double reach = 2.0;

  FT_Face ftFace = nullptr;
  cairo_font_face_t* cairoFace = nullptr;
  hb_font_t* hbFont = nullptr;  // scale set to unitsPerEm: positions come out in design units
  FcCharSet* charset = nullptr;

  bool Covers(char32_t codePoint) const { return charset && FcCharSetHasChar(charset, codePoint); }
  bool IsItalic() const { return slant != FC_SLANT_ROMAN || syntheticOblique; }
};

}  // namespace keltext
