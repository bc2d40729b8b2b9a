#include "kelsol/ScriptedRunner.h"

namespace kelsol {

using namespace kelui::ui;

ScriptedRunner& ScriptedRunner::Select(std::string identifier, std::size_t item) {
  actions_.push_back({Action::kSelect, std::move(identifier), item, {}});
  return *this;
}

ScriptedRunner& ScriptedRunner::Toggle(std::string identifier) {
  actions_.push_back({Action::kToggle, std::move(identifier), 0, {}});
  return *this;
}

ScriptedRunner& ScriptedRunner::Press(std::string identifier) {
  actions_.push_back({Action::kPress, std::move(identifier), 0, {}});
  return *this;
}

ScriptedRunner& ScriptedRunner::Close() {
  actions_.push_back({Action::kClose, {}, 0, {}});
  return *this;
}

ScriptedRunner& ScriptedRunner::Inspect(std::function<void(UI_Dialog&)> look) {
  actions_.push_back({Action::kInspect, {}, 0, std::move(look)});
  return *this;
}

void ScriptedRunner::Run(UI_Dialog& dialog) {
  for (const Action& action : actions_) {
    if (dialog.IsClosed()) return;
    const UI_NodePtr node = action.identifier.empty() ? nullptr : dialog.Find(action.identifier);
    bool done = true;
    switch (action.kind) {
      case Action::kSelect: {
        auto* popup = dynamic_cast<UI_Popup*>(node.get());
        done = popup && popup->UserSelect(action.item);
        break;
      }
      case Action::kToggle: {
        auto* box = dynamic_cast<UI_Checkbox*>(node.get());
        done = box && box->UserToggle();
        break;
      }
      case Action::kPress: {
        auto* button = dynamic_cast<UI_Button*>(node.get());
        done = button && button->UserPress();
        break;
      }
      case Action::kClose:
        dialog.Close();
        break;
      case Action::kInspect:
        if (action.inspect) action.inspect(dialog);
        break;
    }
    if (!done) ++skipped_;
  }
}

}  // namespace kelsol
