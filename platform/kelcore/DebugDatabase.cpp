#include "kelcore/DebugDatabase.h"

#include <cstdlib>

namespace kelcore::utility {

DebugDatabase::DebugDatabase() = default;

DebugDatabase& DebugDatabase::Instance() {
  static DebugDatabase* const instance = [] {
    auto* database = new DebugDatabase();  // never destroyed: readers may run during exit
    if (const char* seeded = std::getenv(kEnvironmentVariable)) database->LoadEntries(seeded);
    return database;
  }();
  return *instance;
}

std::string DebugDatabase::GetEntry(const std::string& key, const std::string& defaultText) const {
  std::lock_guard lock(mutex_);
  auto found = entries_.find(key);
  return found == entries_.end() ? defaultText : found->second;
}

void DebugDatabase::SetEntry(const std::string& key, const std::string& text) {
  std::lock_guard lock(mutex_);
  entries_[key] = text;
  Changed();
}

bool DebugDatabase::RemoveEntry(const std::string& key) {
  std::lock_guard lock(mutex_);
  if (entries_.erase(key) == 0) return false;
  Changed();
  return true;
}

void DebugDatabase::LoadEntries(std::string_view entries) {
  std::lock_guard lock(mutex_);
  bool changed = false;
  while (!entries.empty()) {
    const std::size_t end = entries.find(';');
    std::string_view item = entries.substr(0, end);
    entries = end == std::string_view::npos ? std::string_view() : entries.substr(end + 1);
    const std::size_t equals = item.find('=');
    if (equals == std::string_view::npos || equals == 0) continue;
    entries_[std::string(item.substr(0, equals))] = std::string(item.substr(equals + 1));
    changed = true;
  }
  if (changed) Changed();
}

void DebugDatabase::Changed() noexcept { counter_.fetch_add(1, std::memory_order_acq_rel); }

}  // namespace kelcore::utility
