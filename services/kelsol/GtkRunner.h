#pragma once

#include <functional>

#include "kelsol/Export.h"
#include "kelsol/UI_Sol.h"

// GTK's own declaration, so that hosts that pass no window need no GTK headers.
typedef struct _GtkWindow GtkWindow;

namespace kelsol {

// A modal runner that shows a dialog as a GTK 4 window and returns when the user closes it.
// The controls are laid out as the layout script says (columns, rows, alignments, the space
// above popups); Tab walks them in script order, Enter presses OK (unless a button has the
// focus, which then presses itself), Escape presses Cancel, and the window's close box closes
// the dialog without a choice. Each change the user makes goes to the control's handler, and the
// window then shows what the handlers made of the controls: items, selection, ticks, hidden and
// unavailable controls, the title.
//
// Runs on the thread that initialised GTK (GtkRunner::DisplayAvailable does that when the host
// has not), inside a host's running GTK main loop or without one.
class KELSOL_API GtkRunner : public ModalRunner {
 public:
  // `parent`: the host's window, which the dialog is modal over (and placed on, where the window
  // manager does so); null for a window of its own.
  explicit GtkRunner(GtkWindow* parent = nullptr) : parent_(parent) {}

  // Called with the dialog's window once it is on screen, from inside the modal run.
  void WhenShown(std::function<void(GtkWindow*)> shown) { shown_ = std::move(shown); }

  // Throws std::runtime_error when GTK cannot open a display.
  void Run(kelui::ui::UI_Dialog& dialog) override;

  // Whether GTK has, or can open, a display; initialises GTK on the first call that finds one.
  static bool DisplayAvailable();

 private:
  GtkWindow* parent_;
  std::function<void(GtkWindow*)> shown_;
};

}  // namespace kelsol
