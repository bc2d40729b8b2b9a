#include "kelcaptioning/RenderableModel.h"

#include <gtest/gtest.h>

#include <limits>
#include <random>
#include <vector>

namespace {

using namespace kelcaptioning;

TEST(RenderableModel, WindowsAndRenderOrderAreKeptApart) {
  CaptioningRenderableModel model(kStreamFormat_TeletextLevel10);
  CaptioningRenderableModelWindowPtr window(new CaptioningRenderableModelWindow());
  model.SetWindow(4, window);
  EXPECT_EQ(model.GetWindow(4), window);  // set, but not in the render order
  model.AddWindow(2, window);
  std::vector<int> order;
  model.GetWindowRenderOrder(order);
  EXPECT_EQ(order, std::vector<int>{2});
  model.SetWindow(4, nullptr);
  EXPECT_EQ(window->UseCount(), 2);  // the test's handle and window 2
}

TEST(RenderableModel, OpenSpanBoundsAreRelativeToTheirRow) {
  CaptioningRenderableOpenSpan span;
  span.SetHorizontalStart(12);
  span.SetVerticalStart(-3);
  span.SetTextWidth(200);
  span.SetTextHeight(40, 52);
  EXPECT_EQ(span.GetBounds(100, 900), (kelcore::RectT<int>{112, 897, 200, 52}));
}

TEST(CaptioningColorOrder, IsAStrictWeakOrderEvenForOutOfRangeInput) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  EXPECT_EQ(CaptioningColor(nan, 2.0f, -1.0f, 0.5f), CaptioningColor(0.0f, 1.0f, 0.0f, 0.5f));

  std::mt19937 random(7);
  std::uniform_int_distribution<int> step(0, 2);
  auto level = [&] { return static_cast<float>(step(random)) / 2.0f; };
  std::vector<CaptioningColor> colors;
  for (int i = 0; i < 60; ++i) colors.emplace_back(level(), level(), level(), level());
  colors.emplace_back(nan, nan, nan, nan);
  for (const auto& a : colors) {
    EXPECT_FALSE(a < a);
    for (const auto& b : colors) {
      EXPECT_FALSE(a < b && b < a);
      EXPECT_EQ(!(a < b) && !(b < a), a == b);  // equivalent exactly when equal
    }
  }
}

}  // namespace
