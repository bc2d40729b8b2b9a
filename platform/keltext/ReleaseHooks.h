#pragma once

#include "keltext/Export.h"

namespace keltext {

// Caches that hold faces or Cairo objects register a function that empties them; the text
// engine's release runs them first.
KELTEXT_API void RegisterReleaseHook(void (*hook)());
KELTEXT_API void RunReleaseHooks();

// A toolkit started in the process (GTK) lives on fontconfig's and Cairo's process-wide state. Once
// one says so, the release empties only the text engine's own caches and leaves that state alone:
// ending it under the toolkit aborts in fontconfig's cache teardown.
KELTEXT_API void KeepProcessFontState();
KELTEXT_API bool ProcessFontStateKept();

}  // namespace keltext
