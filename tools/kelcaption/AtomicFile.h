#pragma once

#include <functional>
#include <string>

namespace kelcaption {

// Has `write` fill a temporary file beside `path` (false: it failed), then renames it into
// place, so a failure never leaves a half-written `path`: the temporary is removed whether
// `write` fails or throws (its exception passes on). Throws std::runtime_error on failure.
void WriteThroughTemporary(const std::string& path, const std::function<bool(const std::string& temporary)>& write);

}  // namespace kelcaption
