#pragma once

// Only what carries this mark is visible outside libkelcaptionfiles.so.
#define KELCAPTIONFILES_API __attribute__((visibility("default")))
