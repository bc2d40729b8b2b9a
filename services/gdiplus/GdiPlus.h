#pragma once

// The part of the GDI+ flat API that the caption library calls, with GDI+'s own names and values.

#include <cstdint>

#define GDIPLUS_API __attribute__((visibility("default")))
#define GDIPCONST const

namespace Gdiplus {

using REAL = float;
using INT = int;
using ARGB = std::uint32_t;
using LANGID = std::uint16_t;
using WCHAR = char16_t;  // UTF-16, as on Windows

enum Status : int {
  Ok = 0,
  GenericError = 1,
  InvalidParameter = 2,
  OutOfMemory = 3,
  ObjectBusy = 4,
  InsufficientBuffer = 5,
  NotImplemented = 6,
  Win32Error = 7,
  WrongState = 8,
  Aborted = 9,
  FileNotFound = 10,
  ValueOverflow = 11,
  AccessDenied = 12,
  UnknownImageFormat = 13,
  FontFamilyNotFound = 14,
  FontStyleNotFound = 15,
  NotTrueTypeFont = 16,
  UnsupportedGdiplusVersion = 17,
  GdiplusNotInitialized = 18,
  PropertyNotFound = 19,
  PropertyNotSupported = 20,
};
using GpStatus = Status;

enum CompositingMode : int {
  CompositingModeSourceOver = 0,
  CompositingModeSourceCopy = 1,
};

enum SmoothingMode : int {
  SmoothingModeInvalid = -1,
  SmoothingModeDefault = 0,
  SmoothingModeHighSpeed = 1,
  SmoothingModeHighQuality = 2,
  SmoothingModeNone = 3,
  SmoothingModeAntiAlias = 4,
  SmoothingModeAntiAlias8x8 = 5,
};

enum InterpolationMode : int {
  InterpolationModeInvalid = -1,
  InterpolationModeDefault = 0,
  InterpolationModeLowQuality = 1,
  InterpolationModeHighQuality = 2,
  InterpolationModeBilinear = 3,
  InterpolationModeBicubic = 4,
  InterpolationModeNearestNeighbor = 5,
  InterpolationModeHighQualityBilinear = 6,
  InterpolationModeHighQualityBicubic = 7,
};

enum FillMode : int {
  FillModeAlternate = 0,
  FillModeWinding = 1,
};

enum Unit : int {
  UnitWorld = 0,
  UnitDisplay = 1,
  UnitPixel = 2,
};
using GpUnit = Unit;

enum FontStyle : int {
  FontStyleRegular = 0,
  FontStyleBold = 1,
  FontStyleItalic = 2,
  FontStyleBoldItalic = 3,
  FontStyleUnderline = 4,
  FontStyleStrikeout = 8,
};

struct Rect {
  INT X = 0;
  INT Y = 0;
  INT Width = 0;
  INT Height = 0;
};

// The native objects of the flat API.
struct GpGraphics;  // drawing state; made by the platform's surfaces or detached
struct GpPath;
struct GpPen;
// Brushes are open, as in GDI+'s own stubs, so that a solid fill passes where a brush is asked
// for. This platform has solid brushes only.
struct GpBrush {
  ARGB color = 0;
};
struct GpSolidFill : GpBrush {};
struct GpFontFamily;
struct GpFontCollection;
struct GpStringFormat;

GDIPLUS_API Status GdipSetCompositingMode(GpGraphics* graphics, CompositingMode mode);
GDIPLUS_API Status GdipGetCompositingMode(GpGraphics* graphics, CompositingMode* mode);
// A graphics that keeps drawing state but has no pixels of its own.
GDIPLUS_API Status GdipCreateDetachedGraphics(GpGraphics** graphics);
GDIPLUS_API Status GdipDeleteGraphics(GpGraphics* graphics);
GDIPLUS_API Status GdipSetSmoothingMode(GpGraphics* graphics, SmoothingMode mode);
GDIPLUS_API Status GdipGetSmoothingMode(GpGraphics* graphics, SmoothingMode* mode);
GDIPLUS_API Status GdipSetInterpolationMode(GpGraphics* graphics, InterpolationMode mode);
GDIPLUS_API Status GdipGetInterpolationMode(GpGraphics* graphics, InterpolationMode* mode);

// Font families answer the family names of installed fonts and the names that the platform's
// font configuration maps to one (Arial, Times New Roman, Courier New, Lucida Console, Comic Sans
// MS, Segoe Script, Calibri, Verdana, Georgia and other common faces); any other name fails with
// FontFamilyNotFound. The collection must be null (the installed fonts).
GDIPLUS_API Status GdipCreateFontFamilyFromName(GDIPCONST WCHAR* name, GpFontCollection* fontCollection,
                                                GpFontFamily** fontFamily);
// The generic sans-serif family, which always exists: the face that names of no installed face
// fall back to elsewhere on the platform. Delete it with GdipDeleteFontFamily.
GDIPLUS_API Status GdipGetGenericFontFamilySansSerif(GpFontFamily** nativeFamily);
GDIPLUS_API Status GdipDeleteFontFamily(GpFontFamily* fontFamily);
GDIPLUS_API Status GdipCreateStringFormat(INT formatAttributes, LANGID language, GpStringFormat** format);
GDIPLUS_API Status GdipDeleteStringFormat(GpStringFormat* format);

GDIPLUS_API Status GdipCreatePath(FillMode brushMode, GpPath** path);
GDIPLUS_API Status GdipDeletePath(GpPath* path);
// Adds the glyph outlines of `string` (`length` UTF-16 units, -1 up to the NUL): the first
// line's top at the layout rectangle's top, its baseline one ascent lower, starting at the
// rectangle's left; "\n" starts a new line. A width or height of 0 sets no bound.
GDIPLUS_API Status GdipAddPathStringI(GpPath* path, GDIPCONST WCHAR* string, INT length,
                                      GDIPCONST GpFontFamily* family, INT style, REAL emSize,
                                      GDIPCONST Rect* layoutRect, GDIPCONST GpStringFormat* format);

GDIPLUS_API Status GdipCreatePen1(ARGB color, REAL width, GpUnit unit, GpPen** pen);
GDIPLUS_API Status GdipDeletePen(GpPen* pen);
GDIPLUS_API Status GdipCreateSolidFill(ARGB color, GpSolidFill** brush);
GDIPLUS_API Status GdipDeleteBrush(GpBrush* brush);

// Drawing follows the graphics' compositing and smoothing modes and the transform of the
// surface it draws into. A detached graphics draws nothing and succeeds.
GDIPLUS_API Status GdipDrawPath(GpGraphics* graphics, GpPen* pen, GpPath* path);
GDIPLUS_API Status GdipFillPath(GpGraphics* graphics, GpBrush* brush, GpPath* path);

// The GDI+ C++ wrapper: a failing call's status is kept as the last status.
class Graphics {
 public:
  // Takes over `native`; a null one makes every call fail with InvalidParameter.
  explicit Graphics(GpGraphics* native) noexcept : nativeGraphics(native) {}
  // A graphics without pixels of its own.
  Graphics() noexcept { lastResult = GdipCreateDetachedGraphics(&nativeGraphics); }
  ~Graphics() { GdipDeleteGraphics(nativeGraphics); }
  Graphics(const Graphics&) = delete;
  Graphics& operator=(const Graphics&) = delete;

  Status SetCompositingMode(CompositingMode mode) { return SetStatus(GdipSetCompositingMode(nativeGraphics, mode)); }
  Status SetSmoothingMode(SmoothingMode mode) { return SetStatus(GdipSetSmoothingMode(nativeGraphics, mode)); }
  Status SetInterpolationMode(InterpolationMode mode) {
    return SetStatus(GdipSetInterpolationMode(nativeGraphics, mode));
  }
  CompositingMode GetCompositingMode() const {
    CompositingMode mode = CompositingModeSourceOver;
    SetStatus(GdipGetCompositingMode(nativeGraphics, &mode));
    return mode;
  }
  // The last failing status, which reading resets to Ok.
  Status GetLastStatus() const {
    Status s = lastResult;
    lastResult = Ok;
    return s;
  }
  Status SetStatus(Status status) const {
    if (status != Ok) lastResult = status;
    return status;
  }

  GpGraphics* nativeGraphics = nullptr;
  mutable Status lastResult = Ok;
};

}  // namespace Gdiplus
