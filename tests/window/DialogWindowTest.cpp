#include <gtest/gtest.h>

#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <gdk/x11/gdkx.h>

#include <memory>
#include <string>
#include <vector>

#include "dialog/SidecarDialogFixture.h"
#include "kelsol/GtkRunner.h"
#include "kelsol/UserRunner.h"
#include "kelui/inkpad/Supplier.h"
#include "window/TestDisplay.h"

namespace {

using namespace kelcaptioning;
using kel_test::Named;
using kel_test::Pump;

constexpr int kSettle = 150;  // ms for input to reach the window and the window to redraw

Display* X() { return gdk_x11_display_get_xdisplay(gdk_display_get_default()); }

Window XWindowOf(GtkWidget* widget) { return gdk_x11_surface_get_xid(gtk_native_get_surface(gtk_widget_get_native(widget))); }

// Real X input, through the XTest extension, as a user's keyboard and mouse would send it.
void Key(KeySym key) {
  const KeyCode code = XKeysymToKeycode(X(), key);
  XTestFakeKeyEvent(X(), code, True, CurrentTime);
  XTestFakeKeyEvent(X(), code, False, CurrentTime);
  XSync(X(), False);
  Pump(kSettle);
}

void Click(GtkWidget* widget) {
  GtkNative* native = gtk_widget_get_native(widget);
  const graphene_point_t centre = GRAPHENE_POINT_INIT(static_cast<float>(gtk_widget_get_width(widget)) / 2,
                                                      static_cast<float>(gtk_widget_get_height(widget)) / 2);
  graphene_point_t in = centre;
  ASSERT_TRUE(gtk_widget_compute_point(widget, GTK_WIDGET(native), &centre, &in));
  double dx = 0, dy = 0;
  gtk_native_get_surface_transform(native, &dx, &dy);
  int x = 0, y = 0;
  Window child = 0;
  XTranslateCoordinates(X(), XWindowOf(widget), DefaultRootWindow(X()), static_cast<int>(in.x + dx),
                        static_cast<int>(in.y + dy), &x, &y, &child);
  XTestFakeMotionEvent(X(), -1, x, y, CurrentTime);
  XTestFakeButtonEvent(X(), 1, True, CurrentTime);
  XTestFakeButtonEvent(X(), 1, False, CurrentTime);
  XSync(X(), False);
  Pump(kSettle);
}

// Waits for the window to be on screen and gives it the keyboard (there is no window manager).
void Activate(GtkWindow* window) {
  for (int i = 0; i < 100 && !gtk_widget_get_mapped(GTK_WIDGET(window)); ++i) Pump(20);
  XSetInputFocus(X(), XWindowOf(GTK_WIDGET(window)), RevertToParent, CurrentTime);
  XSync(X(), False);
  for (int i = 0; i < 100 && !gtk_window_is_active(window); ++i) Pump(20);
  Pump(kSettle);
}

// The identifier of the control that has the keyboard focus.
std::string Focused(GtkWindow* window) {
  for (GtkWidget* w = gtk_root_get_focus(GTK_ROOT(window)); w; w = gtk_widget_get_parent(w)) {
    for (const char* id : {"FileFormatPopupID", "TimeDisplayPopupID", "IncludeSRTStylingID", "okButton", "cancelButton"}) {
      if (g_strcmp0(gtk_widget_get_name(w), id) == 0) return id;
    }
  }
  return "";
}

class DialogWindow : public kel_test::SidecarDialogFixture {
 protected:

  // Runs `dialog` in a window, `user` acting once it is on screen; closes it if `user` did not.
  static bool Run(kelcaptioningui::CaptionSidecarSettingsDialog& dialog, std::function<void(GtkWindow*)> user,
                  GtkWindow* parent = nullptr) {
    auto runner = std::make_shared<kelsol::GtkRunner>(parent);
    runner->WhenShown([&](GtkWindow* window) {
      Activate(window);
      user(window);
      if (gtk_widget_get_mapped(GTK_WIDGET(window))) gtk_window_close(window);
    });
    kelsol::SetModalRunner(runner);
    return dialog.RunModal();
  }
};

TEST_F(DialogWindow, EachFormatLooksAsReviewed) {
  const std::pair<CaptioningExportFormat, const char*> formats[] = {
      {kCaptioningExportFormat_SCC, "scc"}, {kCaptioningExportFormat_MCC, "mcc"}, {kCaptioningExportFormat_TTML, "ttml"},
      {kCaptioningExportFormat_SRT, "srt"}, {kCaptioningExportFormat_WebVTT, "webvtt"}};
  for (const auto& [format, name] : formats) {
    auto dialog = Dialog(format, kelmediatypes::kTimeDisplay_2997DropTimecode, false);
    std::string difference;
    EXPECT_FALSE(Run(dialog, [&](GtkWindow* window) {
      difference = kel_test::CompareWindowWithGolden(window, std::string("sidecar_dialog_") + name);
    }));
    EXPECT_EQ(difference, "") << name;
  }
}

// Tab walks the reachable controls in script order; the format is chosen with the keyboard, the
// box ticked with the mouse, and Enter presses OK.
TEST_F(DialogWindow, KeyboardAndMouseChooseTickAndPressOK) {
  auto dialog = Dialog(kCaptioningExportFormat_SCC, kelmediatypes::kTimeDisplay_2997DropTimecode, false);
  std::vector<std::string> focus;
  bool boxShownForSrt = false, frameRateUnavailableForSrt = false;
  EXPECT_TRUE(Run(dialog, [&](GtkWindow* window) {
    focus.push_back(Focused(window));
    for (int i = 0; i < 4; ++i) {
      Key(XK_Tab);
      focus.push_back(Focused(window));
    }
    Key(XK_space);  // opens the format menu: SCC, MCC, timed text, SRT, WebVTT
    for (int i = 0; i < 3; ++i) Key(XK_Down);
    Key(XK_Return);
    GtkWidget* box = Named(GTK_WIDGET(window), "IncludeSRTStylingID");
    boxShownForSrt = gtk_widget_is_visible(box);
    frameRateUnavailableForSrt = !gtk_widget_is_sensitive(Named(GTK_WIDGET(window), "TimeDisplayPopupID"));
    Click(box);
    Key(XK_Return);
  }));
  EXPECT_EQ(focus, std::vector<std::string>({"FileFormatPopupID", "TimeDisplayPopupID", "okButton", "cancelButton",
                                             "FileFormatPopupID"}));
  EXPECT_TRUE(boxShownForSrt);
  EXPECT_TRUE(frameRateUnavailableForSrt);
  EXPECT_EQ(dialog.GetFileFormat(), kCaptioningExportFormat_SRT);
  EXPECT_EQ(dialog.GetTimeDisplay(), kelmediatypes::kTimeDisplay_Milliseconds);
  EXPECT_TRUE(dialog.GetIncludeSRTStyling());
}

// Over a host's window the dialog is modal; Escape cancels, keeping the format chosen live.
TEST_F(DialogWindow, EscapeCancelsOverTheHostsWindow) {
  GtkWindow* host = GTK_WINDOW(gtk_window_new());
  gtk_window_present(host);
  auto dialog = Dialog(kCaptioningExportFormat_SCC, kelmediatypes::kTimeDisplay_2997DropTimecode, false);
  bool modalOverHost = false;
  gpointer gone = nullptr;  // the window, until it is finalised
  EXPECT_FALSE(Run(
      dialog,
      [&](GtkWindow* window) {
        gone = window;
        g_object_add_weak_pointer(G_OBJECT(window), &gone);
        modalOverHost = gtk_window_get_transient_for(window) == host && gtk_window_get_modal(window);
        Key(XK_space);
        Key(XK_Down);
        Key(XK_Return);
        Key(XK_Escape);
      },
      host));
  EXPECT_EQ(gone, nullptr) << "the dialog's window outlives the run";
  gtk_window_destroy(host);
  EXPECT_TRUE(modalOverHost);
  EXPECT_EQ(dialog.GetFileFormat(), kCaptioningExportFormat_MCC);
  EXPECT_FALSE(dialog.GetIncludeSRTStyling());
}

// A host that empties the library's font caches while GTK lives on still gets its fonts: the
// release leaves the process-wide font state that GTK draws with.
TEST_F(DialogWindow, ReleasingTheFontCachesLeavesTheWindowsFontsAlone) {
  for (int round = 0; round < 2; ++round) {
    auto dialog = Dialog(kCaptioningExportFormat_SRT, kelmediatypes::kTimeDisplay_2997DropTimecode, false);
    std::string difference;
    EXPECT_FALSE(Run(dialog, [&](GtkWindow* window) {
      difference = kel_test::CompareWindowWithGolden(window, "sidecar_dialog_srt");
    }));
    EXPECT_EQ(difference, "") << "round " << round;
    kelui::inkpad::ReleaseFontCaches();
  }
}

TEST_F(DialogWindow, TheOneCallPicksTheWindowWhereThereIsADisplay) {
  EXPECT_EQ(kelsol::InstallUserRunner(), kelsol::RunnerChoice::kWindow);
  EXPECT_EQ(kelsol::InstallUserRunner(kelsol::RunnerChoice::kTerminal), kelsol::RunnerChoice::kTerminal);
}

}  // namespace
