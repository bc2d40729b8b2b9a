#include "kelcore/Error.h"

#include "kelcore/Localizer.h"
#include "kelcore/String.h"

namespace kelcore::utility {

Error::Error(int level, std::string key)
    : level_(level),
      key_(std::move(key)),
      message_(string::UTF16ToUTF8(string::Localizer::Get().GetLocalizedString(key_))) {}

Error::~Error() = default;

void ThrowError(int level, std::string_view key) { throw Error(level, std::string(key)); }

}  // namespace kelcore::utility
