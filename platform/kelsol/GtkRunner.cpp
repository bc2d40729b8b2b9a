#include "kelsol/GtkRunner.h"

#include <gtk/gtk.h>

#include <deque>
#include <exception>
#include <stdexcept>
#include <string>
#include <vector>

#include "kelcore/String.h"
#include "keltext/ReleaseHooks.h"

namespace kelsol {

using namespace kelui::ui;

namespace {

constexpr int kGroupSpacing = 6;    // between the children of a column or row
constexpr int kLabelGap = 12;       // between a popup's label and its menu
constexpr int kDialogMargin = 12;   // around the dialog's content

std::string Utf8(const kelcore::UTF16String& text) { return kelcore::string::UTF16ToUTF8(text); }

GtkAlign ToGtkAlign(const std::string& alignment) {
  if (alignment == "align_fill") return GTK_ALIGN_FILL;
  if (alignment == "align_center") return GTK_ALIGN_CENTER;
  if (alignment == "align_right" || alignment == "align_bottom") return GTK_ALIGN_END;
  return GTK_ALIGN_START;
}

class DialogWindow;

// A node of the dialog and the widgets that show it.
struct Binding {
  DialogWindow* owner;
  UI_Node* node;
  GtkWidget* outer = nullptr;      // shown, hidden and made unavailable with the node
  GtkWidget* control = nullptr;    // what the user acts on; null for groups
  std::vector<std::string> items;  // a popup's item texts as its menu holds them
};

// The window of one modal run. The dialog's nodes stay the truth: a user action goes to the
// node, whose handlers change the nodes, and the window is then refreshed from them.
class DialogWindow {
 public:
  DialogWindow(UI_Dialog& dialog, GtkWindow* parent);
  ~DialogWindow();
  DialogWindow(const DialogWindow&) = delete;
  DialogWindow& operator=(const DialogWindow&) = delete;

  void RunUntilClosed(const std::function<void(GtkWindow*)>& shown);

 private:
  GtkWidget* Build(UI_Node& node, const UI_Group* parent);
  GtkWidget* BuildPopup(const UI_Popup& popup, Binding& binding);
  void AddKeys();
  void Refresh();
  static void RefreshPopup(Binding& binding, const UI_Popup& popup);
  bool Press(const char* identifier);
  // Runs a user action's handlers; an exception is kept for the end of the run, as GTK's C
  // frames cannot pass it on.
  template <class Action>
  void UserAction(Action action);

  static void OnSelected(GObject* menu, GParamSpec*, gpointer binding);
  static void OnToggled(GtkCheckButton* box, gpointer binding);
  static void OnClicked(GtkButton* button, gpointer binding);
  static gboolean OnCloseRequest(GtkWindow*, gpointer self);
  static void OnDestroy(GtkWidget*, gpointer self);
  static gboolean OnEnter(GtkWidget*, GVariant*, gpointer self);
  static gboolean OnEscape(GtkWidget*, GVariant*, gpointer self);

  UI_Dialog& dialog_;
  GtkWindow* window_;
  GtkSizeGroup* labels_;  // popup labels share a width, so that their menus line up
  std::deque<Binding> bindings_;
  bool quiet_ = false;  // while the window is changed from the nodes, its signals are not user actions
  std::exception_ptr failure_;
};

DialogWindow::DialogWindow(UI_Dialog& dialog, GtkWindow* parent)
    : dialog_(dialog),
      window_(GTK_WINDOW(gtk_window_new())),
      labels_(gtk_size_group_new(GTK_SIZE_GROUP_HORIZONTAL)) {
  gtk_window_set_resizable(window_, FALSE);
  gtk_window_set_modal(window_, TRUE);
  if (parent) {
    gtk_window_set_transient_for(window_, parent);
    gtk_window_set_destroy_with_parent(window_, TRUE);
  }
  GtkWidget* content = Build(dialog_, nullptr);
  gtk_widget_set_margin_top(content, kDialogMargin);
  gtk_widget_set_margin_bottom(content, kDialogMargin);
  gtk_widget_set_margin_start(content, kDialogMargin);
  gtk_widget_set_margin_end(content, kDialogMargin);
  gtk_window_set_child(window_, content);
  AddKeys();
  g_signal_connect(window_, "close-request", G_CALLBACK(OnCloseRequest), this);
  g_signal_connect(window_, "destroy", G_CALLBACK(OnDestroy), this);
  Refresh();
}

DialogWindow::~DialogWindow() {
  quiet_ = true;
  if (window_) gtk_window_destroy(window_);
  g_object_unref(labels_);
  // Let the window leave the screen before the caller goes on.
  while (g_main_context_pending(nullptr)) g_main_context_iteration(nullptr, FALSE);
}

void DialogWindow::RunUntilClosed(const std::function<void(GtkWindow*)>& shown) {
  gtk_window_present(window_);
  if (shown) shown(window_);
  while (!dialog_.IsClosed() && window_) g_main_context_iteration(nullptr, TRUE);
  if (failure_) std::rethrow_exception(failure_);
}

GtkWidget* DialogWindow::Build(UI_Node& node, const UI_Group* parent) {
  Binding& binding = bindings_.emplace_back(Binding{this, &node, nullptr, nullptr, {}});
  const std::string label = [&] {
    const auto* control = dynamic_cast<const UI_ControlView*>(&node);
    return control ? Utf8(control->GetLabel()) : std::string();
  }();
  if (const auto* popup = dynamic_cast<const UI_Popup*>(&node)) {
    binding.outer = BuildPopup(*popup, binding);
  } else if (dynamic_cast<const UI_Checkbox*>(&node)) {
    binding.outer = binding.control = gtk_check_button_new_with_label(label.c_str());
    g_signal_connect(binding.control, "toggled", G_CALLBACK(OnToggled), &binding);
  } else if (dynamic_cast<const UI_Button*>(&node)) {
    binding.outer = binding.control = gtk_button_new_with_label(label.c_str());
    g_signal_connect(binding.control, "clicked", G_CALLBACK(OnClicked), &binding);
    if (node.GetIdentifier() == kOKButtonIdentifier) gtk_window_set_default_widget(window_, binding.control);
  } else if (dynamic_cast<const UI_ControlView*>(&node)) {
    binding.outer = binding.control = gtk_label_new(label.c_str());
    gtk_label_set_xalign(GTK_LABEL(binding.control), 0.0f);
    gtk_label_set_wrap(GTK_LABEL(binding.control), TRUE);
  } else {
    // A column, a row, or the dialog itself (whose children stack as in a column).
    const auto* group = dynamic_cast<const UI_Group*>(&node);
    const bool row = dynamic_cast<const UI_Row*>(&node) != nullptr;
    binding.outer = gtk_box_new(row ? GTK_ORIENTATION_HORIZONTAL : GTK_ORIENTATION_VERTICAL, kGroupSpacing);
    for (const UI_NodePtr& child : node.GetChildren()) {
      if (child) gtk_box_append(GTK_BOX(binding.outer), Build(*child, group));
    }
  }
  if (!node.GetIdentifier().empty()) {
    gtk_widget_set_name(binding.control ? binding.control : binding.outer, node.GetIdentifier().c_str());
  }

  // The parent's child alignment places the node in its slot, unless a group says otherwise;
  // outside any group a node spans the width.
  std::string horizontal = parent ? parent->childHorizontal : "align_fill";
  std::string vertical = parent ? parent->childVertical : "align_top";
  if (const auto* group = dynamic_cast<const UI_Group*>(&node)) {
    if (!group->horizontal.empty()) horizontal = group->horizontal;
    if (!group->vertical.empty()) vertical = group->vertical;
  }
  gtk_widget_set_halign(binding.outer, ToGtkAlign(horizontal));
  gtk_widget_set_valign(binding.outer, ToGtkAlign(vertical));
  // Filling along a row (or down a column) takes the room that the line has to spare.
  const bool inRow = dynamic_cast<const UI_Row*>(parent) != nullptr;
  gtk_widget_set_hexpand(binding.outer, inRow && horizontal == "align_fill");
  gtk_widget_set_vexpand(binding.outer, parent && !inRow && vertical == "align_fill");
  return binding.outer;
}

GtkWidget* DialogWindow::BuildPopup(const UI_Popup& popup, Binding& binding) {
  GtkWidget* line = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, kLabelGap);
  GtkWidget* label = gtk_label_new(Utf8(popup.GetLabel()).c_str());
  gtk_label_set_xalign(GTK_LABEL(label), 0.0f);
  gtk_size_group_add_widget(labels_, label);
  binding.control = gtk_drop_down_new(nullptr, nullptr);  // items come with the first refresh
  gtk_widget_set_hexpand(binding.control, TRUE);
  gtk_widget_set_size_request(binding.control, popup.minWidth, -1);
  gtk_label_set_mnemonic_widget(GTK_LABEL(label), binding.control);
  gtk_box_append(GTK_BOX(line), label);
  gtk_box_append(GTK_BOX(line), binding.control);
  gtk_widget_set_margin_top(line, popup.topSpace);
  g_signal_connect(binding.control, "notify::selected", G_CALLBACK(OnSelected), &binding);
  return line;
}

void DialogWindow::AddKeys() {
  GtkEventController* keys = gtk_shortcut_controller_new();
  // Ahead of the focused control, which would otherwise take Enter for itself.
  gtk_event_controller_set_propagation_phase(keys, GTK_PHASE_CAPTURE);
  auto add = [&](guint key, GtkShortcutFunc action) {
    gtk_shortcut_controller_add_shortcut(
        GTK_SHORTCUT_CONTROLLER(keys),
        gtk_shortcut_new(gtk_keyval_trigger_new(key, static_cast<GdkModifierType>(0)),
                         gtk_callback_action_new(action, this, nullptr)));
  };
  add(GDK_KEY_Return, OnEnter);
  add(GDK_KEY_KP_Enter, OnEnter);
  add(GDK_KEY_ISO_Enter, OnEnter);
  add(GDK_KEY_Escape, OnEscape);
  gtk_widget_add_controller(GTK_WIDGET(window_), keys);
}

void DialogWindow::Refresh() {
  if (!window_) return;
  quiet_ = true;
  gtk_window_set_title(window_, Utf8(dialog_.GetTitle()).c_str());
  for (Binding& binding : bindings_) {
    gtk_widget_set_visible(binding.outer, binding.node->IsVisible());
    if (const auto* control = dynamic_cast<const UI_ControlView*>(binding.node)) {
      gtk_widget_set_sensitive(binding.outer, !control->IsDisabled());
    }
    if (const auto* popup = dynamic_cast<const UI_Popup*>(binding.node)) {
      RefreshPopup(binding, *popup);
    } else if (const auto* box = dynamic_cast<const UI_Checkbox*>(binding.node)) {
      gtk_check_button_set_active(GTK_CHECK_BUTTON(binding.control), box->IsChecked());
    }
  }
  quiet_ = false;
}

void DialogWindow::RefreshPopup(Binding& binding, const UI_Popup& popup) {
  std::vector<std::string> items;
  guint selected = GTK_INVALID_LIST_POSITION;
  for (std::size_t i = 0; i < popup.GetItemCount(); ++i) {
    items.push_back(Utf8(popup.GetItemText(i)));
    if (selected == GTK_INVALID_LIST_POSITION && popup.GetItemValue(i) == popup.GetValue()) {
      selected = static_cast<guint>(i);
    }
  }
  GtkDropDown* menu = GTK_DROP_DOWN(binding.control);
  if (items != binding.items) {
    std::vector<const char*> texts;
    for (const std::string& item : items) texts.push_back(item.c_str());
    texts.push_back(nullptr);
    GtkStringList* list = gtk_string_list_new(texts.data());
    gtk_drop_down_set_model(menu, G_LIST_MODEL(list));
    g_object_unref(list);
    binding.items = std::move(items);
  }
  gtk_drop_down_set_selected(menu, selected);
}

bool DialogWindow::Press(const char* identifier) {
  auto* button = dynamic_cast<UI_Button*>(dialog_.Find(identifier).get());
  if (button == nullptr) return false;
  UserAction([button] { button->UserPress(); });
  return true;
}

template <class Action>
void DialogWindow::UserAction(Action action) {
  if (quiet_ || failure_) return;
  try {
    action();
  } catch (...) {
    failure_ = std::current_exception();
    dialog_.Close();
  }
  Refresh();
}

void DialogWindow::OnSelected(GObject* menu, GParamSpec*, gpointer data) {
  auto& binding = *static_cast<Binding*>(data);
  const guint index = gtk_drop_down_get_selected(GTK_DROP_DOWN(menu));
  binding.owner->UserAction([&] {
    if (index != GTK_INVALID_LIST_POSITION) static_cast<UI_Popup*>(binding.node)->UserSelect(index);
  });
}

void DialogWindow::OnToggled(GtkCheckButton*, gpointer data) {
  auto& binding = *static_cast<Binding*>(data);
  binding.owner->UserAction([&] { static_cast<UI_Checkbox*>(binding.node)->UserToggle(); });
}

void DialogWindow::OnClicked(GtkButton*, gpointer data) {
  auto& binding = *static_cast<Binding*>(data);
  binding.owner->UserAction([&] { static_cast<UI_Button*>(binding.node)->UserPress(); });
}

gboolean DialogWindow::OnCloseRequest(GtkWindow*, gpointer self) {
  // The close box: closed without a choice. The run destroys the window.
  static_cast<DialogWindow*>(self)->dialog_.Close();
  return TRUE;
}

void DialogWindow::OnDestroy(GtkWidget*, gpointer self) {
  // Destroyed with the host's window.
  auto* window = static_cast<DialogWindow*>(self);
  window->window_ = nullptr;
  window->dialog_.Close();
}

gboolean DialogWindow::OnEnter(GtkWidget* widget, GVariant*, gpointer self) {
  GtkWidget* focus = gtk_root_get_focus(GTK_ROOT(widget));
  if (focus && GTK_IS_BUTTON(focus)) return FALSE;  // a focused button presses itself
  return static_cast<DialogWindow*>(self)->Press(kOKButtonIdentifier);
}

gboolean DialogWindow::OnEscape(GtkWidget*, GVariant*, gpointer self) {
  auto* window = static_cast<DialogWindow*>(self);
  if (!window->Press(kCancelButtonIdentifier)) window->dialog_.Close();
  return TRUE;
}

}  // namespace

bool GtkRunner::DisplayAvailable() {
  const bool available = gtk_is_initialized() ? gdk_display_get_default() != nullptr : gtk_init_check();
  // From here GTK draws with fontconfig's and Cairo's process-wide state.
  if (gtk_is_initialized()) keltext::KeepProcessFontState();
  return available;
}

void GtkRunner::Run(UI_Dialog& dialog) {
  if (!DisplayAvailable()) {
    throw std::runtime_error("cannot show the dialog's window: no display (DISPLAY or WAYLAND_DISPLAY) can be opened");
  }
  DialogWindow window(dialog, parent_);
  window.RunUntilClosed(shown_);
}

}  // namespace kelsol
