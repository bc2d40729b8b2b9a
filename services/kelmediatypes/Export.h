#pragma once

#define KELMEDIATYPES_API __attribute__((visibility("default")))
