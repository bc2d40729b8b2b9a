#include <fribidi.h>

#include <algorithm>
#include <cstring>
#include <list>
#include <mutex>
#include <string>
#include <unordered_map>

#include "keltext/FontLibrary.h"
#include "keltext/ReleaseHooks.h"
#include "keltext/ShapedText.h"

namespace keltext {

namespace {

std::u32string DecodeUtf16(std::u16string_view text) {
  std::u32string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char32_t unit = text[i];
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      out.push_back(0x10000 + ((unit - 0xD800) << 10) + (text[i + 1] - 0xDC00));
      ++i;
    } else if (unit >= 0xD800 && unit <= 0xDFFF) {
      out.push_back(0xFFFD);
    } else {
      out.push_back(unit);
    }
  }
  return out;
}

// Marks, joiners and selectors stay in the face of the character they belong to.
bool ClingsToPrevious(char32_t cp) {
  switch (hb_unicode_general_category(hb_unicode_funcs_get_default(), cp)) {
    case HB_UNICODE_GENERAL_CATEGORY_NON_SPACING_MARK:
    case HB_UNICODE_GENERAL_CATEGORY_ENCLOSING_MARK:
    case HB_UNICODE_GENERAL_CATEGORY_SPACING_MARK:
    case HB_UNICODE_GENERAL_CATEGORY_FORMAT:
      return true;
    default:
      return (cp >= 0xFE00 && cp <= 0xFE0F) || (cp >= 0xE0100 && cp <= 0xE01EF);
  }
}

std::vector<const LoadedFace*> ChooseFaces(const std::u32string& text, const LoadedFace& primary) {
  std::vector<const LoadedFace*> faces(text.size(), &primary);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char32_t cp = text[i];
    if (i > 0 && ClingsToPrevious(cp)) {
      faces[i] = faces[i - 1];
    } else if (!primary.Covers(cp) && cp >= 0x20) {
      const LoadedFace* fallback = FontLibrary::Instance().FallbackFor(cp, primary);
      if (fallback) faces[i] = fallback;
    }
  }
  return faces;
}

// Common and inherited characters take the script around them, so that "1." or a space does
// not split a run.
std::vector<hb_script_t> ResolveScripts(const std::u32string& text) {
  std::vector<hb_script_t> scripts(text.size());
  hb_unicode_funcs_t* funcs = hb_unicode_funcs_get_default();
  hb_script_t last = HB_SCRIPT_INVALID;
  for (std::size_t i = 0; i < text.size(); ++i) {
    hb_script_t s = hb_unicode_script(funcs, text[i]);
    if (s == HB_SCRIPT_COMMON || s == HB_SCRIPT_INHERITED || s == HB_SCRIPT_UNKNOWN) s = last;
    scripts[i] = s;
    if (s != HB_SCRIPT_INVALID) last = s;
  }
  hb_script_t next = HB_SCRIPT_COMMON;
  for (std::size_t i = text.size(); i-- > 0;) {
    if (scripts[i] == HB_SCRIPT_INVALID) scripts[i] = next;
    else next = scripts[i];
  }
  return scripts;
}

std::vector<FriBidiLevel> EmbeddingLevels(const std::u32string& text) {
  std::vector<FriBidiLevel> levels(text.size(), 0);
  bool anyRtl = false;
  std::vector<FriBidiCharType> types(text.size());
  std::vector<FriBidiChar> chars(text.begin(), text.end());
  fribidi_get_bidi_types(chars.data(), static_cast<FriBidiStrIndex>(chars.size()), types.data());
  for (FriBidiCharType t : types) anyRtl = anyRtl || FRIBIDI_IS_RTL(t) || FRIBIDI_IS_EXPLICIT_OR_ISOLATE_OR_BN_OR_NSM(t);
  if (!anyRtl) return levels;
  std::vector<FriBidiBracketType> brackets(text.size());
  fribidi_get_bracket_types(chars.data(), static_cast<FriBidiStrIndex>(chars.size()), types.data(), brackets.data());
  FriBidiParType direction = FRIBIDI_PAR_ON;
  if (!fribidi_get_par_embedding_levels_ex(types.data(), brackets.data(), static_cast<FriBidiStrIndex>(chars.size()),
                                           &direction, levels.data())) {
    std::fill(levels.begin(), levels.end(), 0);
  }
  return levels;
}

struct LogicalRun {
  std::size_t start = 0;
  std::size_t length = 0;
  FriBidiLevel level = 0;
  const LoadedFace* face = nullptr;
  hb_script_t script = HB_SCRIPT_COMMON;
};

std::vector<LogicalRun> Itemize(const std::u32string& text, const std::vector<FriBidiLevel>& levels,
                                const std::vector<const LoadedFace*>& faces, const std::vector<hb_script_t>& scripts) {
  std::vector<LogicalRun> runs;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (runs.empty() || runs.back().level != levels[i] || runs.back().face != faces[i] ||
        runs.back().script != scripts[i]) {
      runs.push_back({i, 0, levels[i], faces[i], scripts[i]});
    }
    ++runs.back().length;
  }
  return runs;
}

// Rule L2 of the bidirectional algorithm on whole runs: from the highest level down to the
// lowest odd one, reverse every sequence of runs at that level or above.
void ReorderVisually(std::vector<LogicalRun>& runs) {
  if (runs.empty()) return;
  int highest = 0;
  int lowestOdd = 1000;
  for (const LogicalRun& run : runs) {
    highest = std::max(highest, static_cast<int>(run.level));
    if (run.level % 2 == 1) lowestOdd = std::min(lowestOdd, static_cast<int>(run.level));
  }
  for (int level = highest; level >= lowestOdd && level > 0; --level) {
    for (std::size_t i = 0; i < runs.size();) {
      if (runs[i].level < level) {
        ++i;
        continue;
      }
      std::size_t end = i;
      while (end < runs.size() && runs[end].level >= level) ++end;
      std::reverse(runs.begin() + static_cast<std::ptrdiff_t>(i), runs.begin() + static_cast<std::ptrdiff_t>(end));
      i = end;
    }
  }
}

ShapedText Shape(const LoadedFace& primary, std::u16string_view utf16) {
  ShapedText shaped;
  const std::u32string text = DecodeUtf16(utf16);
  if (text.empty()) return shaped;
  std::vector<LogicalRun> runs =
      Itemize(text, EmbeddingLevels(text), ChooseFaces(text, primary), ResolveScripts(text));
  ReorderVisually(runs);

  hb_buffer_t* buffer = hb_buffer_create();
  double penX = 0.0;
  for (const LogicalRun& run : runs) {
    hb_buffer_clear_contents(buffer);
    // The whole text goes in as context so that joining scripts shape right across runs.
    hb_buffer_add_utf32(buffer, reinterpret_cast<const std::uint32_t*>(text.data()), static_cast<int>(text.size()),
                        static_cast<unsigned>(run.start), static_cast<int>(run.length));
    hb_buffer_set_direction(buffer, run.level % 2 ? HB_DIRECTION_RTL : HB_DIRECTION_LTR);
    hb_buffer_set_script(buffer, run.script);
    hb_buffer_set_language(buffer, hb_language_get_default());
    hb_shape(run.face->hbFont, buffer, nullptr, 0);

    unsigned count = 0;
    const hb_glyph_info_t* infos = hb_buffer_get_glyph_infos(buffer, &count);
    const hb_glyph_position_t* positions = hb_buffer_get_glyph_positions(buffer, &count);
    const double toEm = 1.0 / run.face->unitsPerEm;
    GlyphRun glyphRun{run.face, {}};
    glyphRun.glyphs.reserve(count);
    for (unsigned g = 0; g < count; ++g) {
      glyphRun.glyphs.push_back({infos[g].codepoint, penX + positions[g].x_offset * toEm, -positions[g].y_offset * toEm});
      penX += positions[g].x_advance * toEm;
    }
    shaped.runs.push_back(std::move(glyphRun));
  }
  hb_buffer_destroy(buffer);
  shaped.advance = penX;
  return shaped;
}

// Least recently used shaping results.
class ShapeCache {
 public:
  static ShapeCache& Instance() {
    static ShapeCache* cache = [] {
      RegisterReleaseHook([] { ShapeCache::Instance().Clear(); });
      return new ShapeCache();
    }();
    return *cache;
  }

  std::shared_ptr<const ShapedText> Find(const std::u16string& key) {
    std::lock_guard lock(mutex_);
    auto it = index_.find(key);
    if (it == index_.end()) return nullptr;
    order_.splice(order_.begin(), order_, it->second);
    return it->second->second;
  }

  void Store(const std::u16string& key, std::shared_ptr<const ShapedText> value) {
    std::lock_guard lock(mutex_);
    if (index_.count(key)) return;
    order_.emplace_front(key, std::move(value));
    index_.emplace(key, order_.begin());
    if (order_.size() > kCapacity) {
      index_.erase(order_.back().first);
      order_.pop_back();
    }
  }

  void Clear() {
    std::lock_guard lock(mutex_);
    index_.clear();
    order_.clear();
  }

 private:
  static constexpr std::size_t kCapacity = 2048;
  using Entry = std::pair<std::u16string, std::shared_ptr<const ShapedText>>;
  std::mutex mutex_;
  std::list<Entry> order_;
  std::unordered_map<std::u16string, std::list<Entry>::iterator> index_;
};

}  // namespace

std::shared_ptr<const ShapedText> ShapeText(const LoadedFace& primary, std::u16string_view text) {
  // Caption lines are short; a longer text is shaped afresh each time rather than kept, so that
  // the cache holds at most kCapacity times this many code units.
  constexpr std::size_t kLongestKeptText = 1024;
  if (text.size() > kLongestKeptText) return std::make_shared<const ShapedText>(Shape(primary, text));
  // The face's address keys the cache: faces live until the engine is released, which empties it.
  std::u16string key(sizeof(const LoadedFace*) / sizeof(char16_t), u'\0');
  const LoadedFace* facePointer = &primary;
  std::memcpy(key.data(), &facePointer, sizeof facePointer);
  key.append(text);
  ShapeCache& cache = ShapeCache::Instance();
  if (auto hit = cache.Find(key)) return hit;
  auto shaped = std::make_shared<const ShapedText>(Shape(primary, text));
  cache.Store(key, shaped);
  return shaped;
}

}  // namespace keltext
