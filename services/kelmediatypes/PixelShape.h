#pragma once

#include <cstdint>

namespace kelmediatypes {

// Width of a pixel over its height, as an unsigned fraction (10:11 for NTSC DV, 1:1 square).
class PixelAspectRatio {
 public:
  constexpr PixelAspectRatio() noexcept = default;
  constexpr PixelAspectRatio(std::uint32_t numerator, std::uint32_t denominator) noexcept
      : numerator_(numerator), denominator_(denominator) {}

  constexpr std::uint32_t GetNumerator() const noexcept { return numerator_; }
  constexpr std::uint32_t GetDenominator() const noexcept { return denominator_; }
  constexpr bool IsSquare() const noexcept { return numerator_ == denominator_; }

  friend constexpr bool operator==(const PixelAspectRatio&, const PixelAspectRatio&) = default;

 private:
  std::uint32_t numerator_ = 1;
  std::uint32_t denominator_ = 1;
};

}  // namespace kelmediatypes
