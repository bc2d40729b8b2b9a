#pragma once

#include "kelsol/Export.h"

// GTK's own declaration, so that hosts that pass no window need no GTK headers.
typedef struct _GtkWindow GtkWindow;

namespace kelsol {

enum class RunnerChoice {
  kAutomatic,  // a window when a display can be opened, the terminal otherwise
  kWindow,     // a window (kelsol::GtkRunner)
  kTerminal,   // standard input and output (kelsol::TerminalRunner)
};

// Installs, with SetModalRunner, the runner that shows dialogs to a user, as `choice` says, and
// returns the one installed (kWindow or kTerminal). `parent`: the host's window, which the
// dialogs are modal over; null when the host has none. Throws std::runtime_error when kWindow is
// asked for and no display can be opened, or this build has no GTK.
KELSOL_API RunnerChoice InstallUserRunner(RunnerChoice choice = RunnerChoice::kAutomatic,
                                          GtkWindow* parent = nullptr);

}  // namespace kelsol
