#pragma once

#include <cstdint>
#include <string>

namespace kel_test {

// Compares a premultiplied BGRA image (Cairo's ARGB32 layout, `stride` bytes a row) with
// tests/golden/<name>.png: a pixel matches when each channel is within `channelTolerance`; the
// image matches when at most `maxMismatchFraction` of its pixels do not. KEL_UPDATE_GOLDEN=1 in
// the environment rewrites the golden instead. Returns an empty string on a match, else what
// differed.
std::string CompareWithGolden(const std::uint8_t* bgra, int width, int height, int stride, const std::string& name,
                              int channelTolerance, double maxMismatchFraction);

}  // namespace kel_test
