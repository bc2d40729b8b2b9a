#include <cmath>
#include <iterator>
#include <new>
#include <vector>

#include "GpObjects.h"
#include "kelcore/String.h"
#include "keltext/FontLibrary.h"

namespace Gdiplus {

Status GdipCreateFontFamilyFromName(GDIPCONST WCHAR* name, GpFontCollection* fontCollection,
                                    GpFontFamily** fontFamily) {
  if (fontFamily == nullptr) return InvalidParameter;
  *fontFamily = nullptr;
  // Only the installed fonts exist here; no private collection can be made.
  if (name == nullptr || fontCollection != nullptr) return InvalidParameter;
  return ReportingOutOfMemory([&] {
    const std::u16string familyName(name);
    if (familyName.empty() || !keltext::FontLibrary::Instance().Match(familyName, keltext::FaceStyle{}).answered) {
      return FontFamilyNotFound;
    }
    *fontFamily = new GpFontFamily{familyName};
    return Ok;
  });
}

Status GdipGetGenericFontFamilySansSerif(GpFontFamily** nativeFamily) {
  if (nativeFamily == nullptr) return InvalidParameter;
  *nativeFamily = nullptr;
  return ReportingOutOfMemory([&] {
    // The same face that a font of an unknown name gets, so outlined and plain text look alike.
    const kelcore::UTF16String name = kelcore::string::UTF8ToUTF16(keltext::kLastResortFamily);
    *nativeFamily = new GpFontFamily{std::u16string(name.begin(), name.end())};
    return Ok;
  });
}

Status GdipDeleteFontFamily(GpFontFamily* fontFamily) {
  if (fontFamily == nullptr) return InvalidParameter;
  delete fontFamily;
  return Ok;
}

Status GdipCreateStringFormat(INT formatAttributes, LANGID language, GpStringFormat** format) {
  if (format == nullptr) return InvalidParameter;
  *format = new (std::nothrow) GpStringFormat{formatAttributes, language};
  return *format ? Ok : OutOfMemory;
}

Status GdipDeleteStringFormat(GpStringFormat* format) {
  if (format == nullptr) return InvalidParameter;
  delete format;
  return Ok;
}

Status GdipCreatePath(FillMode brushMode, GpPath** path) {
  if (path == nullptr) return InvalidParameter;
  *path = nullptr;
  if (brushMode != FillModeAlternate && brushMode != FillModeWinding) return InvalidParameter;
  *path = new (std::nothrow) GpPath();
  if (*path == nullptr) return OutOfMemory;
  (*path)->fillMode = brushMode;
  return Ok;
}

Status GdipDeletePath(GpPath* path) {
  if (path == nullptr) return InvalidParameter;
  delete path;
  return Ok;
}

namespace {

Status AddPathString(GpPath& path, const WCHAR* string, INT length, const GpFontFamily& family, INT style, REAL emSize,
                     const Rect& layout) {
  const std::u16string_view text =
      length == -1 ? std::u16string_view(string) : std::u16string_view(string, static_cast<std::size_t>(length));
  keltext::FaceStyle faceStyle;
  if (style & FontStyleBold) faceStyle.weight = FC_WEIGHT_BOLD;
  if (style & FontStyleItalic) faceStyle.slant = FC_SLANT_ITALIC;
  const keltext::FaceMatch match = keltext::FontLibrary::Instance().Match(family.name, faceStyle);
  if (match.face == nullptr) return FontFamilyNotFound;
  const keltext::LoadedFace& face = *match.face;

  const double toEm = emSize / face.unitsPerEm;
  const double ascent = face.ascender * toEm;
  const double lineHeight = (face.ascender + face.descender + face.lineGap) * toEm;
  const double bottom = static_cast<double>(layout.Y) + layout.Height;
  // Lines are gathered first, so that a failure leaves the path as it was.
  std::vector<TextLine> lines;
  std::size_t lineIndex = 0;
  for (std::size_t start = 0; start <= text.size(); ++lineIndex) {
    std::size_t end = text.find(u'\n', start);
    if (end == std::u16string_view::npos) end = text.size();
    std::u16string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == u'\r') line.remove_suffix(1);
    const double top = layout.Y + static_cast<double>(lineIndex) * lineHeight;
    if (layout.Height > 0 && top + lineHeight > bottom) break;
    if (!line.empty()) {
      lines.push_back({keltext::ShapeText(face, line), static_cast<double>(layout.X), top + ascent, emSize});
    }
    start = end + 1;
  }
  path.lines.insert(path.lines.end(), std::make_move_iterator(lines.begin()), std::make_move_iterator(lines.end()));
  return Ok;
}

}  // namespace

Status GdipAddPathStringI(GpPath* path, GDIPCONST WCHAR* string, INT length, GDIPCONST GpFontFamily* family,
                          INT style, REAL emSize, GDIPCONST Rect* layoutRect, GDIPCONST GpStringFormat* format) {
  if (path == nullptr || string == nullptr || family == nullptr || layoutRect == nullptr || length < -1 ||
      !std::isfinite(emSize) || emSize <= 0.0f) {
    return InvalidParameter;
  }
  (void)format;  // attributes and language do not change this platform's left-aligned layout
  return ReportingOutOfMemory([&] { return AddPathString(*path, string, length, *family, style, emSize, *layoutRect); });
}

}  // namespace Gdiplus
