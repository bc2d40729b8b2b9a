#pragma once

// Only what carries this mark is visible outside libkelcaptioningui.so.
#define KELCAPTIONINGUI_API __attribute__((visibility("default")))
