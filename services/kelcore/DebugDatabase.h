#pragma once

#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <string_view>

#include "kelcore/Export.h"

namespace kelcore::utility {

// Process-wide named debug settings, as text. Every change moves a 32-bit change counter, so that
// readers can cache what they read and look again only when the counter has moved.
//
// On first use the database is seeded from the environment variable KELCORE_DEBUG_ENTRIES, a list
// of "Name=Value" entries separated by ';' (for example "DebugCaptionWindows=true").
class KELCORE_API DebugDatabase {
 public:
  static constexpr const char* kEnvironmentVariable = "KELCORE_DEBUG_ENTRIES";

  static DebugDatabase& Instance();

  // The entry's text, or `defaultText` when there is no entry of that name.
  std::string GetEntry(const std::string& key, const std::string& defaultText) const;
  void SetEntry(const std::string& key, const std::string& text);
  // True when there was an entry to remove.
  bool RemoveEntry(const std::string& key);
  // Reads "Name=Value;Name=Value" entries; an item without '=' or with an empty name is skipped.
  void LoadEntries(std::string_view entries);

  std::uint32_t GetChangeCounter() const noexcept { return counter_.load(std::memory_order_acquire); }

  DebugDatabase();
  DebugDatabase(const DebugDatabase&) = delete;
  DebugDatabase& operator=(const DebugDatabase&) = delete;

 private:
  void Changed() noexcept;

  mutable std::mutex mutex_;
  std::map<std::string, std::string, std::less<>> entries_;
  std::atomic<std::uint32_t> counter_{0};
};

}  // namespace kelcore::utility
