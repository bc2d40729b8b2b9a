#pragma once

#include <istream>
#include <ostream>

#include "kelsol/Export.h"
#include "kelsol/UI_Sol.h"

namespace kelsol {

// A modal runner for a text terminal: it lists the dialog's controls with numbers and reads the
// user's choices, one per line, until a button closes the dialog. "q" (or the end of the input)
// closes it without a choice. A popup asks for one of its items by number; a checkbox toggles.
class KELSOL_API TerminalRunner : public ModalRunner {
 public:
  TerminalRunner(std::istream& in, std::ostream& out) : in_(in), out_(out) {}
  void Run(kelui::ui::UI_Dialog& dialog) override;

 private:
  std::istream& in_;
  std::ostream& out_;
};

}  // namespace kelsol
