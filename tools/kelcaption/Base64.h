#pragma once

#include <string>
#include <string_view>

namespace kelcaption {

// `bytes` in base64 with padding, as data URIs carry them.
std::string Base64(std::string_view bytes);

}  // namespace kelcaption
