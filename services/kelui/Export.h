#pragma once

#define KELUI_API __attribute__((visibility("default")))
