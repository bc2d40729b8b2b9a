#include "window/TestDisplay.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

#include "support/GoldenImage.h"

namespace kel_test {

namespace {

GPid xvfb = 0;

// Starts Xvfb on a free display number and points DISPLAY at it.
std::string StartXvfb() {
  gchar* argv[] = {const_cast<gchar*>("Xvfb"), const_cast<gchar*>("-displayfd"), const_cast<gchar*>("1"),
                   const_cast<gchar*>("-screen"), const_cast<gchar*>("0"), const_cast<gchar*>("1280x1024x24"),
                   const_cast<gchar*>("-nolisten"), const_cast<gchar*>("tcp"), nullptr};
  gint out = -1;
  GError* error = nullptr;
  if (!g_spawn_async_with_pipes(nullptr, argv, nullptr,
                                static_cast<GSpawnFlags>(G_SPAWN_SEARCH_PATH | G_SPAWN_DO_NOT_REAP_CHILD |
                                                         G_SPAWN_STDERR_TO_DEV_NULL),
                                nullptr, nullptr, &xvfb, nullptr, &out, nullptr, &error)) {
    std::string why = std::string("Xvfb cannot be started (") + error->message + ") and DISPLAY is not set";
    g_error_free(error);
    return why;
  }
  std::string number;
  pollfd wait{out, POLLIN, 0};
  char c = 0;
  while (poll(&wait, 1, 10000) == 1 && read(out, &c, 1) == 1 && c != '\n') number += c;
  close(out);
  if (number.empty()) return "Xvfb did not start and DISPLAY is not set";
  setenv("DISPLAY", (":" + number).c_str(), 1);
  return {};
}

std::string Open() {
  // A display of its own where it can: nothing else takes the focus from under the synthetic
  // input, and nobody's desktop is typed into.
  if (std::string why = StartXvfb(); !why.empty()) {
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0') return why;
  }
  setenv("GDK_BACKEND", "x11", 1);
  setenv("GSK_RENDERER", "cairo", 1);
  setenv("GTK_THEME", "Adwaita", 1);
  setenv("FONTCONFIG_FILE", KEL_FONTS_CONF, 1);
  setenv("GDK_SCALE", "1", 1);
  setenv("GTK_A11Y", "none", 1);
  setenv("GSETTINGS_BACKEND", "memory", 1);
  setenv("GIO_USE_VFS", "local", 1);
  setenv("GTK_IM_MODULE", "gtk-im-context-simple", 1);
  if (!gtk_init_check()) return std::string("cannot open X display ") + std::getenv("DISPLAY");
  g_object_set(gtk_settings_get_default(), "gtk-font-name", "DejaVu Sans 10", "gtk-enable-animations", FALSE,
               "gtk-xft-antialias", 1, "gtk-xft-hinting", 1, "gtk-xft-hintstyle", "hintslight", "gtk-xft-rgba",
               "none", "gtk-xft-dpi", 96 * 1024, "gtk-cursor-blink", FALSE, "gtk-decoration-layout", ":close",
               nullptr);
  return {};
}

// Skips every test, saying why, where no display can be had; stops the private Xvfb at the end.
class DisplayEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    if (!OpenTestDisplay().empty()) GTEST_SKIP() << "no X display for the window tests: " << OpenTestDisplay();
  }
  void TearDown() override {
    if (xvfb == 0) return;
    kill(xvfb, SIGTERM);
    waitpid(xvfb, nullptr, 0);
    g_spawn_close_pid(xvfb);
  }
};

[[maybe_unused]] ::testing::Environment* const environment = ::testing::AddGlobalTestEnvironment(new DisplayEnvironment);

}  // namespace

#if defined(__SANITIZE_ADDRESS__)
// Font and toolkit libraries built without frame pointers cut short the stacks of what they
// allocate; full stacks reach the GTK and Pango frames that tests/sanitizers/lsan.supp names.
extern "C" __attribute__((visibility("default"))) const char* __asan_default_options() { return "fast_unwind_on_malloc=0"; }
#endif

const std::string& OpenTestDisplay() {
  static const std::string why = Open();
  return why;
}

void Pump(int milliseconds) {
  bool done = false;
  g_timeout_add(static_cast<guint>(milliseconds), [](gpointer flag) -> gboolean {
    *static_cast<bool*>(flag) = true;
    return G_SOURCE_REMOVE;
  }, &done);
  while (!done) g_main_context_iteration(nullptr, TRUE);
}

GtkWidget* Named(GtkWidget* root, const char* name) {
  if (g_strcmp0(gtk_widget_get_name(root), name) == 0) return root;
  for (GtkWidget* child = gtk_widget_get_first_child(root); child; child = gtk_widget_get_next_sibling(child)) {
    if (GtkWidget* found = Named(child, name)) return found;
  }
  return nullptr;
}

std::string CompareWindowWithGolden(GtkWindow* window, const std::string& golden) {
  GdkPaintable* paintable = gtk_widget_paintable_new(GTK_WIDGET(window));
  const int width = gdk_paintable_get_intrinsic_width(paintable);
  const int height = gdk_paintable_get_intrinsic_height(paintable);
  GtkSnapshot* snapshot = gtk_snapshot_new();
  gdk_paintable_snapshot(paintable, snapshot, width, height);
  GskRenderNode* node = gtk_snapshot_free_to_node(snapshot);
  g_object_unref(paintable);
  if (node == nullptr) return "the window drew nothing";
  const graphene_rect_t bounds = GRAPHENE_RECT_INIT(0.0f, 0.0f, static_cast<float>(width), static_cast<float>(height));
  GdkTexture* texture = gsk_renderer_render_texture(gtk_native_get_renderer(GTK_NATIVE(window)), node, &bounds);
  gsk_render_node_unref(node);
  std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * height * 4);
  gdk_texture_download(texture, pixels.data(), static_cast<gsize>(width) * 4);
  g_object_unref(texture);
  // Glyph edges may move by a shade between FreeType and Cairo builds; layout changes move
  // whole controls and fail.
  return CompareWithGolden(pixels.data(), width, height, width * 4, golden, 24, 0.002);
}

}  // namespace kel_test
