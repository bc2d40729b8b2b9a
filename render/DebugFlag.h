#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "kelcore/DebugDatabase.h"

namespace kelcaptioningui {

// True exactly when the entry's text is "true" (case-sensitive); a missing entry reads as
// `defaultValue`.
bool ReadDebugBool(const kelcore::utility::DebugDatabase& database, const std::string& key, bool defaultValue);

// A boolean debug setting that goes back to the database only when the database's change counter
// has moved, so the usual read is one integer comparison.
class CachedDebugFlag {
 public:
  CachedDebugFlag(std::string key, bool defaultValue);

  bool Read();
  bool Read(const kelcore::utility::DebugDatabase& database);

 private:
  std::string key_;
  bool defaultValue_;
  // Two threads refreshing at once both read the database and store the same value.
  std::atomic<std::uint32_t> lastCounter_{0xFFFFFFFFu};
  std::atomic<bool> value_{false};
};

// The process-wide "DebugCaptionWindows" flag.
CachedDebugFlag& DebugCaptionWindowsFlag();

}  // namespace kelcaptioningui
