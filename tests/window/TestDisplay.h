#pragma once

#include <gtk/gtk.h>

#include <string>

namespace kel_test {

// Opens GTK once on an X display with a fixed look, so that screenshots repeat: an Xvfb of this
// program's own, or $DISPLAY where Xvfb cannot be started; the Adwaita theme, the repository's
// fonts, Cairo rendering, no animations. Returns an empty string when GTK is ready, otherwise why
// it is not.
const std::string& OpenTestDisplay();

// Runs the main loop for `milliseconds`, so that input and drawing settle.
void Pump(int milliseconds);

// The widget named `name` (controls are named by their identifiers) under `root`, or null.
GtkWidget* Named(GtkWidget* root, const char* name);

// Renders `window` as it is drawn now and compares it with tests/golden/<golden>.png.
std::string CompareWindowWithGolden(GtkWindow* window, const std::string& golden);

}  // namespace kel_test
