#include "keltext/FontLibrary.h"

#include <cairo-ft.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "keltext/ReleaseHooks.h"
#include "kelcore/String.h"

namespace keltext {

extern const char kShippedFontConfig[];

namespace {

// How many family matches and fallback answers are remembered before starting over.
constexpr std::size_t kRememberedAnswers = 16384;

std::string Lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

void DoneFtFace(void* face) { FT_Done_Face(static_cast<FT_Face>(face)); }

const cairo_user_data_key_t kFtFaceKey{};

// Owners for fontconfig objects, so that an allocation failing on the C++ side leaks none.
struct DestroyPattern {
  void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
using PatternPtr = std::unique_ptr<FcPattern, DestroyPattern>;
struct DestroyFontSet {
  void operator()(FcFontSet* set) const { FcFontSetDestroy(set); }
};
using FontSetPtr = std::unique_ptr<FcFontSet, DestroyFontSet>;

}  // namespace

FaceStyle ParseStyleName(std::u16string_view style) {
  FaceStyle result;
  std::string words = Lower(kelcore::string::UTF16ToUTF8(style));
  std::size_t pos = 0;
  while (pos < words.size()) {
    std::size_t end = words.find_first_of(" -_,", pos);
    if (end == std::string::npos) end = words.size();
    const std::string word = words.substr(pos, end - pos);
    pos = end + 1;
    if (word == "italic") result.slant = FC_SLANT_ITALIC;
    else if (word == "oblique") result.slant = FC_SLANT_OBLIQUE;
    else if (word == "bold") result.weight = FC_WEIGHT_BOLD;
    else if (word == "semibold" || word == "demibold") result.weight = FC_WEIGHT_DEMIBOLD;
    else if (word == "medium") result.weight = FC_WEIGHT_MEDIUM;
    else if (word == "light") result.weight = FC_WEIGHT_LIGHT;
    else if (word == "thin") result.weight = FC_WEIGHT_THIN;
    else if (word == "black" || word == "heavy") result.weight = FC_WEIGHT_BLACK;
  }
  return result;
}

struct FontLibrary::State {
  std::mutex mutex;
  FcConfig* config = nullptr;
  FT_Library freetype = nullptr;
  // Keyed by file, index and whether Cairo slants it.
  std::map<std::string, std::unique_ptr<LoadedFace>> faces;
  std::vector<const LoadedFace*> loadOrder;
  std::unordered_map<std::u16string, FaceMatch> matches;
  std::unordered_map<std::uint64_t, const LoadedFace*> fallbacks;
  // Lower-case family names already recorded as substituted, and those not yet taken.
  std::set<std::string> substitutedFamilies;
  std::vector<FaceSubstitution> untakenSubstitutions;

  // Records that `family` is drawn with `drawn` unless that was recorded before.
  void NoteSubstitution(const std::string& family, const std::string& drawn) {
    if (!substitutedFamilies.insert(Lower(family)).second) return;
    untakenSubstitutions.push_back({family, drawn});
  }

  bool EnsureStarted() {
    if (config) return true;
    if (!freetype && FT_Init_FreeType(&freetype) != 0) return false;
    config = FcConfigCreate();
    if (!config) return false;
    if (!FcConfigParseAndLoadFromMemory(config, reinterpret_cast<const FcChar8*>(kShippedFontConfig), FcTrue) ||
        !FcConfigBuildFonts(config)) {
      FcConfigDestroy(config);
      config = nullptr;
      return false;
    }
    return true;
  }

  const LoadedFace* Load(FcPattern* match, bool syntheticOblique) {
    FcChar8* file = nullptr;
    int index = 0;
    if (FcPatternGetString(match, FC_FILE, 0, &file) != FcResultMatch) return nullptr;
    FcPatternGetInteger(match, FC_INDEX, 0, &index);
    const std::string key = std::string(reinterpret_cast<const char*>(file)) + "#" + std::to_string(index) +
                            (syntheticOblique ? "/oblique" : "");
    if (auto it = faces.find(key); it != faces.end()) return it->second.get();

    // Room is made first, so that once the face holds its resources nothing can fail to record it.
    loadOrder.reserve(loadOrder.size() + 1);
    const auto slot = faces.try_emplace(key, std::make_unique<LoadedFace>()).first;
    LoadedFace* face = slot->second.get();
    try {
      face->file = reinterpret_cast<const char*>(file);
      FcChar8* text = nullptr;
      if (FcPatternGetString(match, FC_FAMILY, 0, &text) == FcResultMatch)
        face->family = reinterpret_cast<const char*>(text);
      if (FcPatternGetString(match, FC_STYLE, 0, &text) == FcResultMatch)
        face->style = reinterpret_cast<const char*>(text);
    } catch (...) {
      faces.erase(slot);
      throw;
    }
    face->index = index;
    face->syntheticOblique = syntheticOblique;
    FcPatternGetInteger(match, FC_WEIGHT, 0, &face->weight);
    FcPatternGetInteger(match, FC_SLANT, 0, &face->slant);
    FcCharSet* charset = nullptr;
    if (FcPatternGetCharSet(match, FC_CHARSET, 0, &charset) == FcResultMatch) face->charset = FcCharSetCopy(charset);

    // Each face gets its own FT_Face: Cairo keeps per-face options (the synthetic slant).
    if (FT_New_Face(freetype, face->file.c_str(), index, &face->ftFace) != 0 || face->ftFace->units_per_EM == 0) {
      if (face->ftFace) FT_Done_Face(face->ftFace);
      if (face->charset) FcCharSetDestroy(face->charset);
      faces.erase(slot);
      return nullptr;
    }
    FT_Face ft = face->ftFace;
    face->unitsPerEm = ft->units_per_EM;
    face->ascender = ft->ascender;
    face->descender = -static_cast<double>(ft->descender);
    face->lineGap = std::max(0.0, ft->height - face->ascender - face->descender);
    const auto far = [](FT_Pos a, FT_Pos b) { return static_cast<double>(std::max(std::labs(a), std::labs(b))); };
    const double farX = far(ft->bbox.xMin, ft->bbox.xMax), farY = far(ft->bbox.yMin, ft->bbox.yMax);
    // A bounding box can be missing or wrong; every face reaches at least this far.
    face->reach = std::max(1.5, (farX + farY) / face->unitsPerEm);

    face->cairoFace = cairo_ft_font_face_create_for_ft_face(ft, 0);
    // Cairo may hold the face in its caches after we let go; it closes the FT_Face itself.
    cairo_font_face_set_user_data(face->cairoFace, &kFtFaceKey, ft, DoneFtFace);
    if (syntheticOblique) cairo_ft_font_face_set_synthesize(face->cairoFace, CAIRO_FT_SYNTHESIZE_OBLIQUE);

    hb_blob_t* blob = hb_blob_create_from_file(face->file.c_str());
    hb_face_t* hbFace = hb_face_create(blob, static_cast<unsigned>(index));
    face->hbFont = hb_font_create(hbFace);
    hb_font_set_scale(face->hbFont, static_cast<int>(face->unitsPerEm), static_cast<int>(face->unitsPerEm));
    hb_font_make_immutable(face->hbFont);
    hb_face_destroy(hbFace);
    hb_blob_destroy(blob);

    loadOrder.push_back(face);
    return face;
  }

  // Gives every block back, the containers' own included.
  void Clear() {
    // (Assigning {} would keep the capacity.)
    decltype(matches)().swap(matches);
    decltype(fallbacks)().swap(fallbacks);
    decltype(loadOrder)().swap(loadOrder);
    decltype(substitutedFamilies)().swap(substitutedFamilies);
    decltype(untakenSubstitutions)().swap(untakenSubstitutions);
    for (auto& [key, face] : faces) {
      hb_font_destroy(face->hbFont);
      if (face->charset) FcCharSetDestroy(face->charset);
      cairo_font_face_destroy(face->cairoFace);
    }
    faces.clear();
  }
};

FontLibrary::FontLibrary() : state_(new State()) {}

FontLibrary& FontLibrary::Instance() {
  // Never destroyed: fonts may be released by static destructors of other libraries.
  static FontLibrary* library = new FontLibrary();
  return *library;
}

FaceMatch FontLibrary::Match(std::u16string_view family, const FaceStyle& style) {
  std::u16string key(family);
  key.push_back(u'\x01');
  key.push_back(static_cast<char16_t>(style.weight));
  key.push_back(static_cast<char16_t>(style.slant));

  std::lock_guard lock(state_->mutex);
  if (auto it = state_->matches.find(key); it != state_->matches.end()) return it->second;
  if (!state_->EnsureStarted()) return {};

  // A pattern that cannot be made is not remembered: the next call tries again.
  const PatternPtr pattern(FcPatternCreate());
  if (!pattern) return {};
  const std::string familyUtf8 = kelcore::string::UTF16ToUTF8(family);
  FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(familyUtf8.c_str()));
  FcPatternAddInteger(pattern.get(), FC_WEIGHT, style.weight);
  FcPatternAddInteger(pattern.get(), FC_SLANT, style.slant);
  FcConfigSubstitute(state_->config, pattern.get(), FcMatchPattern);

  // The families asked for once the shipped aliases have been applied: a match among them answers.
  std::vector<std::string> asked;
  FcChar8* value = nullptr;
  for (int i = 0; FcPatternGetString(pattern.get(), FC_FAMILY, i, &value) == FcResultMatch; ++i) {
    asked.push_back(Lower(reinterpret_cast<const char*>(value)));
  }
  FcValue lastResort{};
  lastResort.type = FcTypeString;
  lastResort.u.s = reinterpret_cast<const FcChar8*>(kLastResortFamily);
  FcPatternAddWeak(pattern.get(), FC_FAMILY, lastResort, FcTrue);
  FcDefaultSubstitute(pattern.get());

  FcResult result = FcResultNoMatch;
  const PatternPtr match(FcFontMatch(state_->config, pattern.get(), &result));
  FaceMatch found;
  if (match) {
    // The configuration puts a stand-in it prefers before the name asked for and generic families
    // of the name's kind after it; the last resort comes last.
    const auto askedIndex = [&](const std::string& name) {
      return static_cast<std::size_t>(std::find(asked.begin(), asked.end(), name) - asked.begin());
    };
    const std::size_t original = askedIndex(Lower(familyUtf8));
    std::size_t matchedIndex = asked.size();
    for (int i = 0; FcPatternGetString(match.get(), FC_FAMILY, i, &value) == FcResultMatch; ++i) {
      matchedIndex = std::min(matchedIndex, askedIndex(Lower(reinterpret_cast<const char*>(value))));
    }
    found.answered = matchedIndex < asked.size();
    int slant = FC_SLANT_ROMAN;
    FcPatternGetInteger(match.get(), FC_SLANT, 0, &slant);
    found.face = state_->Load(match.get(), style.slant != FC_SLANT_ROMAN && slant == FC_SLANT_ROMAN);
    if (found.face && !familyUtf8.empty() && original < asked.size() && matchedIndex > original) {
      state_->NoteSubstitution(familyUtf8, found.face->family);
    }
  }
  // Family names and characters come from caption files, so the number of answers kept is
  // bounded; the faces themselves stay open.
  if (state_->matches.size() >= kRememberedAnswers) state_->matches.clear();
  state_->matches.emplace(std::move(key), found);
  return found;
}

const LoadedFace* FontLibrary::FallbackFor(char32_t codePoint, const LoadedFace& like) {
  const std::uint64_t key = (static_cast<std::uint64_t>(codePoint) << 24) |
                            (static_cast<std::uint64_t>(like.weight & 0xFFF) << 12) |
                            static_cast<std::uint64_t>(like.IsItalic() ? 1 : 0);
  std::lock_guard lock(state_->mutex);
  if (auto it = state_->fallbacks.find(key); it != state_->fallbacks.end()) return it->second;
  if (!state_->EnsureStarted()) return nullptr;

  const LoadedFace* found = nullptr;
  // Faces already open are tried first; asking fontconfig to sort every font costs far more.
  for (const LoadedFace* face : state_->loadOrder) {
    if (face->weight == like.weight && face->IsItalic() == like.IsItalic() && face->Covers(codePoint)) {
      found = face;
      break;
    }
  }
  if (!found) {
    const PatternPtr pattern(FcPatternCreate());
    if (!pattern) return nullptr;
    FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(like.family.c_str()));
    FcPatternAddInteger(pattern.get(), FC_WEIGHT, like.weight);
    FcPatternAddInteger(pattern.get(), FC_SLANT, like.IsItalic() ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcConfigSubstitute(state_->config, pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    const FontSetPtr sorted(FcFontSort(state_->config, pattern.get(), FcFalse, nullptr, &result));
    for (int i = 0; sorted && i < sorted->nfont && !found; ++i) {
      FcCharSet* charset = nullptr;
      if (FcPatternGetCharSet(sorted->fonts[i], FC_CHARSET, 0, &charset) == FcResultMatch &&
          FcCharSetHasChar(charset, codePoint)) {
        const PatternPtr rendered(FcFontRenderPrepare(state_->config, pattern.get(), sorted->fonts[i]));
        if (rendered) found = state_->Load(rendered.get(), false);
      }
    }
  }
  if (state_->fallbacks.size() >= kRememberedAnswers) state_->fallbacks.clear();
  state_->fallbacks.emplace(key, found);
  return found;
}

std::vector<FaceSubstitution> FontLibrary::TakeSubstitutions() {
  std::lock_guard lock(state_->mutex);
  std::vector<FaceSubstitution> taken;
  taken.swap(state_->untakenSubstitutions);
  return taken;
}

void FontLibrary::Release() {
  RunReleaseHooks();
  std::lock_guard lock(state_->mutex);
  state_->Clear();
  // Under a toolkit (GTK), Cairo's caches may still hold faces of this FreeType library, and
  // fontconfig's are the toolkit's too: all three stay, and the next use starts a new library.
  const bool kept = ProcessFontStateKept();
  if (!kept) cairo_debug_reset_static_data();
  if (state_->freetype && !kept) FT_Done_FreeType(state_->freetype);
  state_->freetype = nullptr;
  if (state_->config) FcConfigDestroy(state_->config);
  state_->config = nullptr;
  if (!kept) FcFini();
}

void ReleaseTextEngine() { FontLibrary::Instance().Release(); }

}  // namespace keltext
