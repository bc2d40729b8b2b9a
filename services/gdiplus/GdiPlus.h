#pragma once

// The part of the GDI+ flat API that the caption library calls, with GDI+'s own names and values.

#define GDIPLUS_API __attribute__((visibility("default")))

namespace Gdiplus {

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

// The drawing state behind a Graphics, made by the platform's surfaces.
struct GpGraphics;

GDIPLUS_API Status GdipSetCompositingMode(GpGraphics* graphics, CompositingMode mode);
GDIPLUS_API Status GdipGetCompositingMode(GpGraphics* graphics, CompositingMode* mode);
// A graphics that keeps drawing state but has no pixels of its own.
GDIPLUS_API Status GdipCreateDetachedGraphics(GpGraphics** graphics);
GDIPLUS_API Status GdipDeleteGraphics(GpGraphics* graphics);

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
