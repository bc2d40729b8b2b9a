#include "keltext/ReleaseHooks.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <vector>

namespace keltext {

namespace {

struct Hooks {
  std::mutex mutex;
  std::vector<void (*)()> list;
};

std::atomic<bool> processFontStateKept{false};

Hooks& TheHooks() {
  static Hooks* hooks = new Hooks();
  return *hooks;
}

}  // namespace

void RegisterReleaseHook(void (*hook)()) {
  Hooks& hooks = TheHooks();
  std::lock_guard lock(hooks.mutex);
  if (std::find(hooks.list.begin(), hooks.list.end(), hook) == hooks.list.end()) hooks.list.push_back(hook);
}

void RunReleaseHooks() {
  std::vector<void (*)()> list;
  {
    Hooks& hooks = TheHooks();
    std::lock_guard lock(hooks.mutex);
    list = hooks.list;
  }
  for (auto hook : list) hook();
}

void KeepProcessFontState() { processFontStateKept = true; }

bool ProcessFontStateKept() { return processFontStateKept; }

}  // namespace keltext
