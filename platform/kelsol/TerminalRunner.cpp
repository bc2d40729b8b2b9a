#include "kelsol/TerminalRunner.h"

#include <string>
#include <vector>

#include "kelcore/String.h"

namespace kelsol {

using namespace kelui::ui;

namespace {

std::string Utf8(const kelcore::UTF16String& text) { return kelcore::string::UTF16ToUTF8(text); }

// The controls a user can reach, in tree order.
void Collect(const UI_Node& node, std::vector<UI_ControlView*>& controls) {
  for (const UI_NodePtr& child : node.GetChildren()) {
    if (!child || !child->IsVisible()) continue;
    if (auto* control = dynamic_cast<UI_ControlView*>(child.get())) {
      if (dynamic_cast<UI_Popup*>(control) || dynamic_cast<UI_Checkbox*>(control) || dynamic_cast<UI_Button*>(control)) {
        controls.push_back(control);
      }
    }
    Collect(*child, controls);
  }
}

std::string Describe(const UI_ControlView& control) {
  std::string text;
  if (const auto* popup = dynamic_cast<const UI_Popup*>(&control)) {
    std::string chosen = "(none)";
    for (std::size_t i = 0; i < popup->GetItemCount(); ++i) {
      if (popup->GetItemValue(i) == popup->GetValue()) chosen = Utf8(popup->GetItemText(i));
    }
    text = Utf8(popup->GetLabel()) + " [" + chosen + "]";
  } else if (const auto* box = dynamic_cast<const UI_Checkbox*>(&control)) {
    text = std::string(box->IsChecked() ? "[x] " : "[ ] ") + Utf8(box->GetLabel());
  } else {
    text = "< " + Utf8(control.GetLabel()) + " >";
  }
  if (control.IsDisabled()) text += " (unavailable)";
  return text;
}

bool ReadNumber(std::istream& in, std::size_t& number, bool& quit) {
  std::string line;
  if (!std::getline(in, line)) {
    quit = true;
    return false;
  }
  const std::size_t start = line.find_first_not_of(" \t\r");
  if (start == std::string::npos) return false;
  if (line[start] == 'q' || line[start] == 'Q') {
    quit = true;
    return false;
  }
  try {
    std::size_t used = 0;
    const unsigned long value = std::stoul(line.substr(start), &used);
    number = value;
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace

void TerminalRunner::Run(UI_Dialog& dialog) {
  while (!dialog.IsClosed()) {
    std::vector<UI_ControlView*> controls;
    Collect(dialog, controls);
    out_ << "\n== " << Utf8(dialog.GetTitle()) << " ==\n";
    for (std::size_t i = 0; i < controls.size(); ++i) out_ << "  " << (i + 1) << ") " << Describe(*controls[i]) << "\n";
    out_ << "Choose 1-" << controls.size() << " (q closes): " << std::flush;
    std::size_t choice = 0;
    bool quit = false;
    if (!ReadNumber(in_, choice, quit)) {
      if (quit) dialog.Close();
      continue;
    }
    if (choice < 1 || choice > controls.size()) {
      out_ << "There is no control " << choice << ".\n";
      continue;
    }
    UI_ControlView* control = controls[choice - 1];
    if (control->IsDisabled()) {
      out_ << "That control is unavailable.\n";
    } else if (auto* popup = dynamic_cast<UI_Popup*>(control)) {
      for (std::size_t i = 0; i < popup->GetItemCount(); ++i) {
        out_ << "    " << (i + 1) << ") " << Utf8(popup->GetItemText(i)) << "\n";
      }
      out_ << "  " << Utf8(popup->GetLabel()) << " 1-" << popup->GetItemCount() << ": " << std::flush;
      std::size_t item = 0;
      if (ReadNumber(in_, item, quit) && item >= 1 && item <= popup->GetItemCount()) {
        popup->UserSelect(item - 1);
      } else if (quit) {
        dialog.Close();
      }
    } else if (auto* box = dynamic_cast<UI_Checkbox*>(control)) {
      box->UserToggle();
    } else if (auto* button = dynamic_cast<UI_Button*>(control)) {
      button->UserPress();
    }
  }
}

}  // namespace kelsol
