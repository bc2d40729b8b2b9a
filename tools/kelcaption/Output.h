#pragma once

#include <string>
#include <string_view>

namespace kelcaption {

// Writes `bytes` to standard output when `path` is "-", else to the file through a temporary
// renamed into place, so that no half-written file is left. Throws std::runtime_error.
void WriteOutput(std::string_view bytes, const std::string& path);

}  // namespace kelcaption
