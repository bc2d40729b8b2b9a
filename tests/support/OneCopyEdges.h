#pragma once

#include <array>

#include "kelui/inkpad/Objects.h"

namespace kel_test {

// The edges drawn as one offset copy of the text, alike for cells and spans: the edge value, the
// copy's offset in edge units and its colour.
struct OneCopyEdge {
  int edge;
  float dx, dy;
  kelui::inkpad::Color color;
};

inline constexpr std::array<OneCopyEdge, 4> kOneCopyEdges{
    {{1, -1, -1, {1, 1, 1, 1}}, {2, 1, 1, {1, 1, 1, 1}}, {4, -1, 1, {1, 1, 1, 1}}, {5, 1, 1, {0, 0, 0, 1}}}};

}  // namespace kel_test
