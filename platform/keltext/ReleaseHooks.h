#pragma once

#include "keltext/Export.h"

namespace keltext {

// Caches that hold faces or Cairo objects register a function that empties them; the text
// engine's release runs them first.
KELTEXT_API void RegisterReleaseHook(void (*hook)());
KELTEXT_API void RunReleaseHooks();

}  // namespace keltext
