#pragma once

#include "kelui/inkpad/Surface.h"

namespace kelcaptioningui {

// Scopes over the caller's surface state. The drawing objects made inside them can fail by
// throwing (a supplier's allocation); the surface must still come back to its caller as it was
// handed over, not with a saved state, a symbol's transform or render mode 0 left behind.

// Saves the drawing state on entry and restores it on every way out.
class SavedDrawingState {
 public:
  explicit SavedDrawingState(kelui::inkpad::SurfaceInterface& surface) : surface_(surface) { surface_.SaveState(); }
  ~SavedDrawingState() { surface_.RestoreState(); }
  SavedDrawingState(const SavedDrawingState&) = delete;
  SavedDrawingState& operator=(const SavedDrawingState&) = delete;

 private:
  kelui::inkpad::SurfaceInterface& surface_;
};

// Switches the render mode for the scope and puts the old one back on every way out.
class RenderModeScope {
 public:
  RenderModeScope(kelui::inkpad::SurfaceInterface& surface, int mode)
      : surface_(surface), previous_(surface.GetRenderMode()) {
    surface_.SetRenderMode(mode);
  }
  ~RenderModeScope() { surface_.SetRenderMode(previous_); }
  RenderModeScope(const RenderModeScope&) = delete;
  RenderModeScope& operator=(const RenderModeScope&) = delete;

 private:
  kelui::inkpad::SurfaceInterface& surface_;
  int previous_;
};

}  // namespace kelcaptioningui
