#pragma once

#define KELTEXT_API __attribute__((visibility("default")))
