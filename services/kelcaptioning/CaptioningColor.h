#pragma once

#include <compare>

#include "kelcaptioning/Export.h"

namespace kelcaptioning {

inline constexpr float kAlphaValue_Transparent = 0.0f;
inline constexpr float kAlphaValue_Opaque = 1.0f;

// A caption colour: red, green, blue and alpha from 0 to 1 (straight, not premultiplied).
// Components are clamped into 0..1 and a NaN becomes 0, so that operator< is a strict weak order
// (component-wise lexicographic: red, green, blue, alpha).
class KELCAPTIONING_API CaptioningColor {
 public:
  constexpr CaptioningColor() noexcept = default;
  constexpr CaptioningColor(float red, float green, float blue, float alpha = kAlphaValue_Opaque) noexcept
      : red_(Clamp(red)), green_(Clamp(green)), blue_(Clamp(blue)), alpha_(Clamp(alpha)) {}

  // From 8-bit levels (0 to 255).
  static constexpr CaptioningColor FromBytes(int red, int green, int blue, int alpha = 255) noexcept {
    return {static_cast<float>(red) / 255.0f, static_cast<float>(green) / 255.0f, static_cast<float>(blue) / 255.0f,
            static_cast<float>(alpha) / 255.0f};
  }

  constexpr float Red() const noexcept { return red_; }
  constexpr float Green() const noexcept { return green_; }
  constexpr float Blue() const noexcept { return blue_; }
  constexpr float Alpha() const noexcept { return alpha_; }

  // Invisible on an 8-bit target: the alpha rounds to 0 of 255. Drawing passes that must tell an
  // exactly zero alpha from a merely invisible one compare Alpha() with kAlphaValue_Transparent.
  constexpr bool IsTransparent() const noexcept { return alpha_ < 0.5f / 255.0f; }

  friend constexpr bool operator==(const CaptioningColor&, const CaptioningColor&) = default;
  friend constexpr bool operator<(const CaptioningColor& a, const CaptioningColor& b) noexcept {
    if (a.red_ != b.red_) return a.red_ < b.red_;
    if (a.green_ != b.green_) return a.green_ < b.green_;
    if (a.blue_ != b.blue_) return a.blue_ < b.blue_;
    return a.alpha_ < b.alpha_;
  }

 private:
  static constexpr float Clamp(float v) noexcept { return v > 0.0f ? (v < 1.0f ? v : 1.0f) : 0.0f; }

  float red_ = 0.0f;
  float green_ = 0.0f;
  float blue_ = 0.0f;
  float alpha_ = 0.0f;
};

inline constexpr CaptioningColor kCaptioningColor_White{1.0f, 1.0f, 1.0f, 1.0f};
// The white of CEA-708 decoders: level 2 of the 2-bit colour levels, as the predefined pen styles use.
inline constexpr CaptioningColor kCaptioningColor_708_White{2.0f / 3.0f, 2.0f / 3.0f, 2.0f / 3.0f, 1.0f};
inline constexpr CaptioningColor kCaptioningColor_Black{0.0f, 0.0f, 0.0f, 1.0f};
inline constexpr CaptioningColor kCaptioningColor_Transparent{0.0f, 0.0f, 0.0f, kAlphaValue_Transparent};

}  // namespace kelcaptioning
