// Frames drawn while one supplier creation or allocation after another fails: nothing leaks, and
// nothing outside what the full frame paints is touched.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <new>
#include <string>
#include <vector>

#include "faults/AllocationFaults.h"
#include "kelcaptioningui/KelCaptioningUI.h"
#include "kelcore/Allocators.h"
#include "keltext/FontLibrary.h"
#include "samples/SampleModels.h"
#include "support/FailingSupplier.h"
#include "support/ModelBuilders.h"

namespace {

namespace faults = kel_test::allocation_faults;
using kelcaptioning::CaptioningRenderableModelPtr;

// A caller's block of 32-bit pixels with guard bytes around it and padding after each row, all
// preset to a canary; changes count by 4-byte unit (a colour byte may equal its canary by chance).
class CanaryBlock {
 public:
  CanaryBlock(int w, int h) : width(w), height(h), bytes_(2 * kGuard + h * RowBytes()) { Reset(); }

  const int width, height;
  int RowBytes() const { return width * 4 + kPadding; }
  char* Pixels() { return reinterpret_cast<char*>(bytes_.data() + kGuard); }
  void Reset() {
    for (std::size_t i = 0; i < bytes_.size(); ++i) bytes_[i] = Canary(i);
  }
  std::vector<bool> Changed() const {
    std::vector<bool> changed(bytes_.size() / 4);
    for (std::size_t i = 0; i < bytes_.size(); ++i) changed[i / 4] = changed[i / 4] || bytes_[i] != Canary(i);
    return changed;
  }
  // Units changed now that `allowed` leaves alone (by default, all but the pixels), as "index ...".
  std::string ChangedOutside(std::vector<bool> allowed = {}) const {
    if (allowed.empty()) {
      allowed.resize(bytes_.size() / 4);
      for (int row = 0; row < height; ++row) {
        std::fill_n(allowed.begin() + static_cast<std::ptrdiff_t>((kGuard + row * RowBytes()) / 4), width, true);
      }
    }
    const std::vector<bool> changed = Changed();
    std::string outside;
    for (std::size_t i = 0; i < changed.size(); ++i) {
      if (changed[i] && !allowed[i] && outside.size() < 200) outside += std::to_string(i) + " ";
    }
    return outside;
  }

 private:
  static constexpr std::size_t kGuard = 64;
  static constexpr int kPadding = 12;
  // Premultiplied-impossible values (colour above alpha), so no drawing produces them by chance.
  static std::uint8_t Canary(std::size_t i) { return (i % 4 == 3) ? 0x11 : static_cast<std::uint8_t>(0x80 + i % 61); }

  std::vector<std::uint8_t> bytes_;
};

// Blocks alive once the recyclers have given their idle blocks back.
long LiveBlocks() {
  kelcore::MemoryRecycler::General()->Trim();
  kelcore::MemoryRecycler::SmallBlocks()->Trim();
  return faults::LiveBlocks();
}

TEST(SupplierFaults, RefusedCreationsLeaveOutOnlyWhatTheyWereFor) {
  kel_test::FailingSupplier supplier;
  CanaryBlock block(320, 180);
  kelui::inkpad::SurfaceInterface* surface =
      supplier.CreateSurface(block.width, block.height, block.RowBytes(),
                             kelui::inkpad::kSurfaceFormat_BGRA32Premultiplied, block.Pixels(), std::uintptr_t{0});
  // The grid showcase (symbol, edges, underline, every cell attribute) drawn with `budget`
  // creations (all, when negative); answers how many were asked for.
  const auto draw = [&](int budget) {
    block.Reset();
    const CaptioningRenderableModelPtr model = kelcaption::MakeGridShowcase();
    supplier.Arm(budget);
    kelui::inkpad::Inkpad inkpad(&supplier, surface);
    kelcaptioningui::DrawCaption(model, &inkpad, {0, 0, 320, 180});
    return supplier.Creations();
  };
  const int creations = draw(-1);
  const std::vector<bool> full = block.Changed();
  ASSERT_EQ(block.ChangedOutside(), "");
  for (int budget = 0; budget <= creations; ++budget) {
    const long before = LiveBlocks();
    draw(budget);
    EXPECT_EQ(LiveBlocks(), before) << "budget " << budget;  // supplier objects, GDI+ objects, containers
    ASSERT_EQ(block.ChangedOutside(full), "") << "budget " << budget;
  }
  surface->Destroy();
}

// Fails allocation after allocation (of `size` bytes, or of any size for 0), one in each call of
// RenderOpenCaptions, until the chosen one is past the call's last; returns how many calls threw
// (GDI+ and nothrow allocations absorb some: the call goes on without that piece).
int SweepAllocationFailures(CaptioningRenderableModelPtr (*make)(), int width, int height, std::size_t size) {
  CanaryBlock block(width, height);
  const kelcore::RectT<int> frame{0, 0, width, height};
  const auto render = [&](const CaptioningRenderableModelPtr& model) {
    try {
      EXPECT_TRUE(kelcaptioningui::RenderOpenCaptions(model, frame, kelmediatypes::PixelAspectRatio(1, 1),
                                                      block.Pixels(), block.RowBytes(), frame, frame, width, height,
                                                      false, 1.0f));
    } catch (const std::bad_alloc&) {
      return false;
    }
    return true;
  };
  EXPECT_TRUE(render(make()));  // fills the caches of fonts and shaped text
  const std::vector<bool> full = block.Changed();
  EXPECT_EQ(block.ChangedOutside(), "");
  int throwingCalls = 0;
  for (long index = 0;; ++index) {
    block.Reset();
    const CaptioningRenderableModelPtr model = make();
    const long before = LiveBlocks();
    faults::FailOne(size, index);
    const bool ran = render(model);
    faults::Disarm();
    const bool failed = faults::Failed();
    EXPECT_TRUE(ran || failed) << "allocation " << index;  // only the chosen one reaches the caller
    EXPECT_EQ(LiveBlocks(), before) << "allocation " << index;  // the call's supplier and surface too
    EXPECT_EQ(block.ChangedOutside(full), "") << "allocation " << index;
    if (!failed) break;
    if (!ran) ++throwingCalls;
  }
  return throwingCalls;
}

// A line-21 window whose second row has 601 cells, only a few holding characters: the model's
// copy of that row's cell list is one allocation of its own size, made for the row backgrounds
// and again for the cells.
constexpr std::size_t kLongRowCells = 601;
CaptioningRenderableModelPtr LongRowGrid() {
  auto window = kel_test::GridWindow(32, 15);
  window->AppendRow(kel_test::TextRow(U"Top row"));
  kelcaptioning::CaptioningRenderableModelRowPtr row = kel_test::TextRow(U"A long row");
  while (row->GetCells().size() < kLongRowCells) row->AppendCell(nullptr);
  window->AppendRow(row);
  auto model = kel_test::Model();
  model->AddWindow(0, window);
  return model;
}

TEST(AllocationFaults, ModelCopiesAndEveryAllocationOfAFrameMayFail) {
  EXPECT_EQ(SweepAllocationFailures(LongRowGrid, 320, 180,
                                    kLongRowCells * sizeof(kelcaptioning::CaptioningRenderableModelCellPtr)), 2);
  EXPECT_GT(SweepAllocationFailures(kelcaption::MakeSubtitleSample, 480, 270, 0), 10);  // outlined through GDI+
}

// The first match of a family opens fontconfig, FreeType and the face; any allocation on the way
// may fail, and whatever was made by then is given back (fontconfig's own objects included,
// which LeakSanitizer checks at exit).
TEST(AllocationFaults, AFontMatchedForTheFirstTimeMayFailAnywhere) {
  const keltext::FaceStyle regular;
  keltext::ReleaseTextEngine();
  const long before = LiveBlocks();
  long index = 0;
  for (;; ++index) {
    faults::FailOne(0, index);
    bool threw = false;
    try {
      keltext::FontLibrary::Instance().Match(u"Arial", regular);
    } catch (const std::bad_alloc&) {
      threw = true;
    }
    faults::Disarm();
    const bool failed = faults::Failed();
    EXPECT_TRUE(!threw || failed) << "allocation " << index;
    keltext::ReleaseTextEngine();
    EXPECT_EQ(LiveBlocks(), before) << "allocation " << index;
    if (!failed) break;
  }
  EXPECT_GT(index, 5);
  EXPECT_NE(keltext::FontLibrary::Instance().Match(u"Arial", regular).face, nullptr);
}

}  // namespace
