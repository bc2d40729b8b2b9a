#pragma once

#define KELCAPTIONING_API __attribute__((visibility("default")))
