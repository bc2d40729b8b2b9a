#include <atomic>

#include "kelui/ui/NodeManager.h"

namespace kelui::ui {

namespace {
std::atomic<UI_NodeManager*> installed{nullptr};
}

UI_NodeManager::~UI_NodeManager() = default;

UI_NodeManager* UI_NodeManager::Get(bool) { return installed.load(std::memory_order_acquire); }

UI_NodeManager* UI_NodeManager::Install(UI_NodeManager* manager) {
  return installed.exchange(manager, std::memory_order_acq_rel);
}

}  // namespace kelui::ui
