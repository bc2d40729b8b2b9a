#pragma once

#include <exception>
#include <string>
#include <string_view>

#include "kelcore/Export.h"

namespace kelcore::utility {

// Error levels carried by kelcore errors.
enum ErrorLevel : int {
  kErrorLevel_Warning = 0,
  kErrorLevel_Error = 1,
  kErrorLevel_Fatal = 2,
};

// An error raised with a level and a "$$$/..." localisation key; what() gives the localised text
// in UTF-8, as it was when the error was raised.
class KELCORE_API Error : public std::exception {
 public:
  Error(int level, std::string key);
  ~Error() override;

  int Level() const noexcept { return level_; }
  const std::string& Key() const noexcept { return key_; }
  const char* what() const noexcept override { return message_.c_str(); }

 private:
  int level_;
  std::string key_;
  std::string message_;
};

[[noreturn]] KELCORE_API void ThrowError(int level, std::string_view key);

}  // namespace kelcore::utility
