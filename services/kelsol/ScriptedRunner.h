#pragma once

#include <functional>
#include <string>
#include <vector>

#include "kelsol/Export.h"
#include "kelsol/UI_Sol.h"

namespace kelsol {

// A modal runner that plays a fixed list of user actions, for automation and tests. Actions on
// a control that is missing, hidden or disabled are skipped and counted.
class KELSOL_API ScriptedRunner : public ModalRunner {
 public:
  struct Action {
    enum Kind { kSelect, kToggle, kPress, kClose, kInspect } kind;
    std::string identifier;
    std::size_t item = 0;
    std::function<void(kelui::ui::UI_Dialog&)> inspect;
  };

  ScriptedRunner& Select(std::string identifier, std::size_t item);
  ScriptedRunner& Toggle(std::string identifier);
  ScriptedRunner& Press(std::string identifier);
  // Closes the dialog without a button, as its window's close box would.
  ScriptedRunner& Close();
  // Looks at the dialog at this point of the run.
  ScriptedRunner& Inspect(std::function<void(kelui::ui::UI_Dialog&)> look);

  void Run(kelui::ui::UI_Dialog& dialog) override;
  int SkippedActions() const noexcept { return skipped_; }
  // The actions in the order they are played, for runners that play them another way.
  const std::vector<Action>& Actions() const noexcept { return actions_; }

 private:
  std::vector<Action> actions_;
  int skipped_ = 0;
};

}  // namespace kelsol
