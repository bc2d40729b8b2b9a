#pragma once

#include <cstdint>

namespace Gdiplus {

// Lays an opaque premultiplied colour through an A8 coverage mask over 32-bit premultiplied
// pixels: out = colour * m + dest * (1 - m), with m = coverage / 255 and pixman's rounding, so
// the result is the same as pixman's OVER of a solid colour through the mask. Eight pixels at a
// time with AVX2 where the processor has it. Returns false when it did nothing and the caller
// should composite some other way (no AVX2 here, or a colour that is not opaque).
bool BlendOpaqueThroughMask(std::uint32_t colour, const std::uint8_t* mask, int maskStride, std::uint32_t* dest,
                            int destStride, int width, int height);

}  // namespace Gdiplus
