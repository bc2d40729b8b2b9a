#pragma once

#define KELSOL_API __attribute__((visibility("default")))
