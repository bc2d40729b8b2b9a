#pragma once

#include "kelui/Export.h"

namespace kelui::ui {

// The UI toolkit's node manager. A headless process has none unless its host installs one.
class KELUI_API UI_NodeManager {
 public:
  virtual ~UI_NodeManager();
  // The installed manager, or null. `create` asks for one to be made when the toolkit can; this
  // headless build never makes one.
  static UI_NodeManager* Get(bool create);
  // Installs `manager` (not owned; null removes it) and returns the previous one.
  static UI_NodeManager* Install(UI_NodeManager* manager);
};

}  // namespace kelui::ui
