#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "keltext/Export.h"
#include "keltext/LoadedFace.h"

namespace keltext {

// Weight and slant in fontconfig's values, read from a style name such as "Bold Italic".
struct FaceStyle {
  int weight = FC_WEIGHT_REGULAR;
  int slant = FC_SLANT_ROMAN;

  friend bool operator==(const FaceStyle&, const FaceStyle&) = default;
};

// Words are matched case-insensitively: "Bold", "Italic", "Oblique", "Light", "Medium",
// "Semibold", "Black", "Thin", "Regular". Unknown words are ignored.
KELTEXT_API FaceStyle ParseStyleName(std::u16string_view style);

// The family that names no installed face fall back to.
inline constexpr const char* kLastResortFamily = "DejaVu Sans";

// A family asked for that is drawn with another, not metric-compatible, installed family: the
// closest one that fontconfig's substitution finds (a generic family of its kind, or the last
// resort).
struct FaceSubstitution {
  std::string asked;
  std::string drawn;

  friend bool operator==(const FaceSubstitution&, const FaceSubstitution&) = default;
};

struct FaceMatch {
  const LoadedFace* face = nullptr;  // null only when no font at all is installed
  // True when the face is the family asked for, the stand-in that the shipped configuration
  // aliases that name to, or a face of the generic family it files the name under (Georgia:
  // serif). False when fontconfig fell back to the last resort.
  bool answered = false;
};

// The faces captions are drawn with. The first use loads the shipped fontconfig configuration;
// the machine's own configuration is never read. All members are safe to call from any thread.
class KELTEXT_API FontLibrary {
 public:
  static FontLibrary& Instance();

  // The installed face for a family name and style. Unknown families fall back to kLastResortFamily.
  // Repeated requests are served from a cache.
  FaceMatch Match(std::u16string_view family, const FaceStyle& style);
  FaceMatch Match(std::u16string_view family, std::u16string_view style) {
    return Match(family, ParseStyleName(style));
  }

  // A face that has a glyph for `codePoint`, as close to `like` as possible; null when no
  // installed font covers it.
  const LoadedFace* FallbackFor(char32_t codePoint, const LoadedFace& like);

  // The substitutions made since the last call, each family once (case-insensitively) until
  // Release. Families drawn as themselves or with the stand-in that the shipped configuration
  // prefers for them (Liberation Sans for Arial, Carlito for Calibri, ...) are not listed.
  std::vector<FaceSubstitution> TakeSubstitutions();

  // Frees every face and the fontconfig, FreeType and Cairo static data. No font, surface or
  // shaped text may be alive; the next use starts afresh.
  void Release();

 private:
  FontLibrary();
  struct State;
  State* state_;
};

// Releases the text engine's process-wide data (see FontLibrary::Release).
KELTEXT_API void ReleaseTextEngine();

}  // namespace keltext
