#include "grid/EdgeTable.h"

#include <array>

namespace kelcaptioningui {

namespace {

using Offset = kelcore::PointT<float>;

constexpr std::array<Offset, 1> kRaised{{{-1, -1}}};
constexpr std::array<Offset, 1> kDownRight{{{1, 1}}};
// The uniform edge: all eight neighbours, column by column.
constexpr std::array<Offset, 8> kAround{{{-1, -1}, {-1, 0}, {-1, 1}, {0, -1}, {0, 1}, {1, -1}, {1, 0}, {1, 1}}};
constexpr std::array<Offset, 1> kDownLeft{{{-1, 1}}};

constexpr kelui::inkpad::Color kWhite{1, 1, 1, 1};
constexpr kelui::inkpad::Color kRed{1, 0, 0, 1};
constexpr kelui::inkpad::Color kBlack{0, 0, 0, 1};

}  // namespace

EdgeStyle EdgeStyleFor(kelcaptioning::TextEdge edge) {
  switch (static_cast<int>(edge)) {
    case 1: return {kRaised, kWhite};
    case 2: return {kDownRight, kWhite};
    case 3: return {kAround, kRed};
    case 4: return {kDownLeft, kWhite};
    case 5: return {kDownRight, kBlack};
    default: return {{}, {}};
  }
}

}  // namespace kelcaptioningui
