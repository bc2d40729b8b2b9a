#include "kelsol/UserRunner.h"

#include <iostream>
#include <memory>
#include <stdexcept>

#include "kelsol/TerminalRunner.h"
#include "kelsol/UI_Sol.h"
#if KEL_HAVE_GTK
#include "kelsol/GtkRunner.h"
#endif

namespace kelsol {

RunnerChoice InstallUserRunner(RunnerChoice choice, GtkWindow* parent) {
#if KEL_HAVE_GTK
  if (choice != RunnerChoice::kTerminal && GtkRunner::DisplayAvailable()) {
    SetModalRunner(std::make_shared<GtkRunner>(parent));
    return RunnerChoice::kWindow;
  }
  if (choice == RunnerChoice::kWindow) throw std::runtime_error("no display for a dialog window can be opened");
#else
  static_cast<void>(parent);
  if (choice == RunnerChoice::kWindow) throw std::runtime_error("this build shows no dialog windows (GTK 4 was missing)");
#endif
  SetModalRunner(std::make_shared<TerminalRunner>(std::cin, std::cout));
  return RunnerChoice::kTerminal;
}

}  // namespace kelsol
