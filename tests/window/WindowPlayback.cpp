#include <gtest/gtest.h>

#include "dialog/RunnerUnderTest.h"
#include "kelcore/String.h"
#include "kelsol/GtkRunner.h"
#include "window/TestDisplay.h"

namespace kel_test {

namespace {

using kelsol::ScriptedRunner;
using namespace kelui::ui;

std::string Utf8(const kelcore::UTF16String& text) { return kelcore::string::UTF16ToUTF8(text); }

// Fails the test where the window does not show what a control holds.
void ExpectWindowShows(const UI_Node& node, GtkWindow* window) {
  for (const UI_NodePtr& child : node.GetChildren()) {
    ExpectWindowShows(*child, window);
    const auto* control = dynamic_cast<const UI_ControlView*>(child.get());
    if (control == nullptr || control->GetIdentifier().empty()) continue;
    const std::string& id = control->GetIdentifier();
    GtkWidget* widget = Named(GTK_WIDGET(window), id.c_str());
    ASSERT_NE(widget, nullptr) << id;
    EXPECT_EQ(gtk_widget_is_visible(widget), control->IsVisible()) << id;
    EXPECT_EQ(gtk_widget_is_sensitive(widget), !control->IsDisabled()) << id;
    if (const auto* popup = dynamic_cast<const UI_Popup*>(control)) {
      GListModel* items = gtk_drop_down_get_model(GTK_DROP_DOWN(widget));
      ASSERT_EQ(g_list_model_get_n_items(items), popup->GetItemCount()) << id;
      const guint shown = gtk_drop_down_get_selected(GTK_DROP_DOWN(widget));
      for (guint i = 0; i < popup->GetItemCount(); ++i) {
        EXPECT_STREQ(gtk_string_list_get_string(GTK_STRING_LIST(items), i), Utf8(popup->GetItemText(i)).c_str()) << id;
        EXPECT_EQ(i == shown, popup->GetItemValue(i) == popup->GetValue()) << id << " item " << i;
      }
    } else if (const auto* box = dynamic_cast<const UI_Checkbox*>(control)) {
      EXPECT_EQ(gtk_check_button_get_active(GTK_CHECK_BUTTON(widget)), box->IsChecked()) << id;
    }
  }
}

// Plays each action on the widget of its control, as a user would, skipping controls that a
// user could not reach; after each, the window must show what the dialog's controls hold.
void Play(const ScriptedRunner& script, UI_Dialog& dialog, GtkWindow* window) {
  for (const ScriptedRunner::Action& action : script.Actions()) {
    if (dialog.IsClosed()) return;
    GtkWidget* widget = action.identifier.empty() ? nullptr : Named(GTK_WIDGET(window), action.identifier.c_str());
    const bool reachable = widget && gtk_widget_is_visible(widget) && gtk_widget_is_sensitive(widget);
    switch (action.kind) {
      case ScriptedRunner::Action::kSelect:
        if (reachable) gtk_drop_down_set_selected(GTK_DROP_DOWN(widget), static_cast<guint>(action.item));
        break;
      case ScriptedRunner::Action::kToggle:
        if (reachable) gtk_check_button_set_active(GTK_CHECK_BUTTON(widget), !gtk_check_button_get_active(GTK_CHECK_BUTTON(widget)));
        break;
      case ScriptedRunner::Action::kPress:
        if (reachable) g_signal_emit_by_name(widget, "clicked");
        break;
      case ScriptedRunner::Action::kClose:
        gtk_window_close(window);
        break;
      case ScriptedRunner::Action::kInspect:
        action.inspect(dialog);
        break;
    }
    while (g_main_context_pending(nullptr)) g_main_context_iteration(nullptr, FALSE);
    if (dialog.IsClosed()) return;
    EXPECT_STREQ(gtk_window_get_title(window), Utf8(dialog.GetTitle()).c_str());
    ExpectWindowShows(dialog, window);
  }
  gtk_window_close(window);  // a script that ends with the dialog open closes it without a choice
}

class WindowPlayback : public kelsol::ModalRunner {
 public:
  explicit WindowPlayback(std::shared_ptr<ScriptedRunner> script) : script_(std::move(script)) {}
  void Run(UI_Dialog& dialog) override {
    kelsol::GtkRunner window;
    window.WhenShown([&](GtkWindow* shown) { Play(*script_, dialog, shown); });
    window.Run(dialog);
  }

 private:
  std::shared_ptr<ScriptedRunner> script_;
};

}  // namespace

std::shared_ptr<kelsol::ModalRunner> RunnerUnderTest(const std::shared_ptr<ScriptedRunner>& script) {
  return std::make_shared<WindowPlayback>(script);
}

}  // namespace kel_test
