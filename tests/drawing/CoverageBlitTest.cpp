#include <gtest/gtest.h>
#include <pixman.h>

#include <cstdint>
#include <random>
#include <vector>

#include "CoverageBlit.h"

namespace {

// Masks of the kind glyph edges give: runs of empty and full coverage with ramps between.
std::vector<std::uint8_t> GlyphLikeMask(std::mt19937& random, int stride, int height) {
  std::vector<std::uint8_t> mask(static_cast<std::size_t>(stride) * height);
  std::uniform_int_distribution<int> kind(0, 2), value(0, 255);
  for (auto& m : mask) {
    const int k = kind(random);
    m = k == 0 ? 0 : k == 1 ? 255 : static_cast<std::uint8_t>(value(random));
  }
  return mask;
}

std::uint32_t RandomPremultiplied(std::mt19937& random) {
  std::uniform_int_distribution<unsigned> byte(0, 255);
  const unsigned a = byte(random);
  std::uniform_int_distribution<unsigned> channel(0, a);
  return a << 24 | channel(random) << 16 | channel(random) << 8 | channel(random);
}

// Pixman's OVER of the solid colour through the mask is the reference, to the bit, at every
// width (so every tail length) and on rows wider than the region, which must stay as they were.
TEST(CoverageBlit, OpaqueColourThroughAMaskEqualsPixmansOverAndStaysInItsRegion) {
  std::mt19937 random(7);
  const std::uint32_t colours[] = {0xFFFFFFFFu, 0xFF000000u, 0xFFFF0000u, 0xFFFF00FFu, 0xFF3A7FC1u};
  for (std::uint32_t colour : colours) {
    for (int width = 1; width <= 37; ++width) {
      const int height = 3, maskStride = (width + 3) / 4 * 4, destWidth = width + 5;
      std::vector<std::uint8_t> mask = GlyphLikeMask(random, maskStride, height);
      std::vector<std::uint32_t> ours(static_cast<std::size_t>(destWidth) * height);
      for (auto& p : ours) p = RandomPremultiplied(random);
      std::vector<std::uint32_t> reference = ours;

      // The region starts one pixel in, so the pixels on both sides of it are checked too.
      if (!Gdiplus::BlendOpaqueThroughMask(colour, mask.data(), maskStride, ours.data() + 1, destWidth * 4, width,
                                           height))
        GTEST_SKIP() << "no AVX2 here; pixman composites instead";

      pixman_image_t* maskImage = pixman_image_create_bits(PIXMAN_a8, width, height,
                                                           reinterpret_cast<std::uint32_t*>(mask.data()), maskStride);
      pixman_image_t* dest = pixman_image_create_bits(PIXMAN_a8r8g8b8, destWidth, height, reference.data(), destWidth * 4);
      const pixman_color_t solidColour{static_cast<std::uint16_t>(((colour >> 16) & 0xFF) * 257),
                                       static_cast<std::uint16_t>(((colour >> 8) & 0xFF) * 257),
                                       static_cast<std::uint16_t>((colour & 0xFF) * 257), 0xFFFF};
      pixman_image_t* solid = pixman_image_create_solid_fill(&solidColour);
      pixman_image_composite32(PIXMAN_OP_OVER, solid, maskImage, dest, 0, 0, 0, 0, 1, 0, width, height);
      pixman_image_unref(solid);
      pixman_image_unref(dest);
      pixman_image_unref(maskImage);
      ASSERT_EQ(ours, reference) << "colour " << std::hex << colour << std::dec << ", width " << width;
    }
  }
}

TEST(CoverageBlit, TranslucentColoursAreLeftToPixman) {
  std::vector<std::uint8_t> mask(8, 255);
  std::vector<std::uint32_t> pixels(8, 0xFF102030u);
  EXPECT_FALSE(Gdiplus::BlendOpaqueThroughMask(0x80FFFFFFu, mask.data(), 8, pixels.data(), 32, 8, 1));
  EXPECT_EQ(pixels, std::vector<std::uint32_t>(8, 0xFF102030u));
}

}  // namespace
