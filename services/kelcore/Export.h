#pragma once

// kelcore is its own shared library; only what carries this mark is visible to its callers.
#define KELCORE_API __attribute__((visibility("default")))
