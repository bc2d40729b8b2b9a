#include "render/DebugFlag.h"

namespace kelcaptioningui {

bool ReadDebugBool(const kelcore::utility::DebugDatabase& database, const std::string& key, bool defaultValue) {
  return database.GetEntry(key, defaultValue ? "true" : "false") == "true";
}

CachedDebugFlag::CachedDebugFlag(std::string key, bool defaultValue)
    : key_(std::move(key)), defaultValue_(defaultValue) {}

bool CachedDebugFlag::Read() { return Read(kelcore::utility::DebugDatabase::Instance()); }

bool CachedDebugFlag::Read(const kelcore::utility::DebugDatabase& database) {
  const std::uint32_t counter = database.GetChangeCounter();
  if (counter == lastCounter_.load(std::memory_order_relaxed)) return value_.load(std::memory_order_relaxed);
  const bool value = ReadDebugBool(database, key_, defaultValue_);
  value_.exchange(value);
  lastCounter_.store(counter, std::memory_order_relaxed);
  return value;
}

namespace {
// Built at load time, before any entry point can run.
CachedDebugFlag gDebugCaptionWindows("DebugCaptionWindows", false);
}  // namespace

CachedDebugFlag& DebugCaptionWindowsFlag() { return gDebugCaptionWindows; }

}  // namespace kelcaptioningui
