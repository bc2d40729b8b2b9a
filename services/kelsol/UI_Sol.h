#pragma once

#include <istream>
#include <memory>
#include <string>

#include <boost/shared_array.hpp>

#include "kelcore/String.h"
#include "kelsol/Export.h"
#include "kelsol/LayoutScript.h"
#include "kelui/inkpad/Supplier.h"
#include "kelui/ui/Controls.h"

namespace kelsol {

// Runs a built dialog modally: lets the user act on its controls until it is closed. A runner
// that returns with the dialog still open leaves it to be closed without a choice.
class KELSOL_API ModalRunner {
 public:
  virtual ~ModalRunner();
  virtual void Run(kelui::ui::UI_Dialog& dialog) = 0;
};

// Installs the runner that every dialog uses (null: the default, which closes the dialog at
// once, as a headless process without a user must). Returns the previous one.
KELSOL_API std::shared_ptr<ModalRunner> SetModalRunner(std::shared_ptr<ModalRunner> runner);

// The buttons of kel_ok_cancel_row: OK is the default button (Enter), Cancel the one Escape
// presses.
inline constexpr const char* kOKButtonIdentifier = "okButton";
inline constexpr const char* kCancelButtonIdentifier = "cancelButton";

// Widgets of the layout language: kel_dialog (the view; name, identifier), column and row
// (UI_Column and UI_Row: child_horizontal, horizontal, child_vertical, vertical, each an
// alignment as UI_Group lists), kel_popup (identifier, label, minWidth, topSpace: pixels above
// it), kel_checkbox (identifier, name), kel_button (identifier, name), kel_static_text (name)
// and kel_ok_cancel_row (a right-aligned row of the buttons above). Names and labels are
// localised "$$$/..." keys. Anything else, a wrong kind of value, or children under a control,
// raises LayoutScriptError at the widget or attribute.
KELSOL_API kelui::ui::UI_DialogPtr BuildDialog(const LayoutScript& script);

// A dialog built from a layout script.
class KELSOL_API UI_Sol {
 public:
  UI_Sol(const kelcore::UTF16String& scriptName, const kelui::inkpad::SupplierInterface* supplier,
         kelui::ui::UI_Node* parent);
  UI_Sol(const UI_Sol&) = default;
  UI_Sol(UI_Sol&&) = default;
  UI_Sol& operator=(const UI_Sol&) = default;
  UI_Sol& operator=(UI_Sol&&) = default;
  virtual ~UI_Sol();

  // Parses the script from `stream`, builds the dialog, calls Initialize, runs it modally with
  // the installed runner and returns once it has closed. With `keepOpen` false the dialog is
  // closed when the runner returns. A malformed script throws LayoutScriptError before anything
  // is shown.
  void ParseSolScript(std::istream& stream, bool keepOpen);

  kelui::ui::UI_DialogPtr GetView() const { return view_; }
  // The node with `identifier`; `deep` searches the whole tree, otherwise the view's children.
  kelui::ui::UI_NodePtr GetUINodePtr(const std::string& identifier, bool deep) const;
  const kelcore::UTF16String& GetScriptName() const noexcept { return scriptName_; }

 protected:
  // Called once the controls exist, before the modal run.
  virtual void Initialize();
  // Called after the dialog has closed.
  virtual void Destruction();
  virtual void SetupPostCloseCallback();
  // This platform's dialogs read their layout from the module's resources; no stream by name.
  virtual boost::shared_array<char> GetLayoutStream(const kelcore::UTF16String& name);

 private:
  kelcore::UTF16String scriptName_;
  const kelui::inkpad::SupplierInterface* supplier_;
  kelui::ui::UI_Node* parent_;
  kelui::ui::UI_DialogPtr view_;
};

}  // namespace kelsol
