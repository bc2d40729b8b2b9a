// Full frames drawn while the drawing supplier refuses (or throws on) its Nth creation, for every
// N, and while one allocation after another inside RenderOpenCaptions fails: nothing crashes or
// leaks (counted here; LeakSanitizer in the asan preset), the caller's surface is left as it was
// given, and no byte of the caller's block outside what the full frame paints is touched.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <new>
#include <string>
#include <vector>

#include "faults/AllocationFaults.h"
#include "kelcaptioningui/KelCaptioningUI.h"
#include "kelcore/Allocators.h"
#include "samples/SampleModels.h"
#include "support/FailingSupplier.h"
#include "support/ModelBuilders.h"

namespace {

namespace faults = kel_test::allocation_faults;
using kel_test::CreationFailure;
using kel_test::FailingSupplier;
using kelcaptioning::CaptioningRenderableModelPtr;

// A caller's block of 32-bit pixels inside a larger buffer, with guard bytes before and after it
// and padding at the end of each row, every byte preset to a canary pattern.
class CanaryBlock {
 public:
  CanaryBlock(int w, int h)
      : width(w), height(h), bytes_(2 * kGuard + static_cast<std::size_t>(h) * RowBytes()), pixels_(bytes_.size()) {
    for (int row = 0; row < height; ++row) {
      std::fill_n(pixels_.begin() + static_cast<std::ptrdiff_t>(kGuard) + row * RowBytes(), width * 4, true);
    }
    Reset();
  }

  const int width, height;
  int RowBytes() const { return width * 4 + kPadding; }
  char* Pixels() { return reinterpret_cast<char*>(bytes_.data() + kGuard); }
  // The surface's pixels; guard and padding bytes are never to be written.
  const std::vector<bool>& PixelBytes() const { return pixels_; }
  void Reset() {
    for (std::size_t i = 0; i < bytes_.size(); ++i) bytes_[i] = Canary(i);
  }
  // One flag per byte: was it changed? A pixel counts as changed as a whole (a colour byte may
  // come out equal to its canary by chance), guard and padding bytes one by one.
  std::vector<bool> Changed() const {
    std::vector<bool> changed(bytes_.size());
    for (std::size_t i = 0; i < bytes_.size(); ++i) changed[i] = bytes_[i] != Canary(i);
    for (std::size_t i = kGuard; i + 4 <= bytes_.size(); i += 4) {
      if (pixels_[i] && (changed[i] || changed[i + 1] || changed[i + 2] || changed[i + 3])) {
        std::fill_n(changed.begin() + static_cast<std::ptrdiff_t>(i), 4, true);
      }
    }
    return changed;
  }
  // Bytes changed now that `allowed` leaves alone, as "index index ..." (empty when none).
  std::string ChangedOutside(const std::vector<bool>& allowed) const {
    std::string outside;
    for (std::size_t i = 0; i < bytes_.size(); ++i) {
      if (bytes_[i] != Canary(i) && !allowed[i] && outside.size() < 200) outside += std::to_string(i) + " ";
    }
    return outside;
  }

 private:
  static constexpr std::size_t kGuard = 64;
  static constexpr int kPadding = 12;
  // Premultiplied-impossible values (colour above alpha), so no drawing produces them by chance.
  static std::uint8_t Canary(std::size_t i) { return (i % 4 == 3) ? 0x11 : static_cast<std::uint8_t>(0x80 + i % 61); }

  std::vector<std::uint8_t> bytes_;
  std::vector<bool> pixels_;
};

// A line-21 window whose second row has 601 cells, only a few holding characters: the model's
// copy of that row's cell list is one allocation of its own size.
constexpr std::size_t kLongRowCells = 601;
CaptioningRenderableModelPtr LongRowGrid() {
  auto window = kel_test::GridWindow(32, 15, 0, kelcaptioning::CaptioningColor(0.2f, 0.2f, 0.6f, 0.8f));
  window->AppendRow(kel_test::TextRow(U"Top row"));
  kelcaptioning::CaptioningRenderableModelRowPtr row = kel_test::TextRow(U"A long row");
  while (row->GetCells().size() < kLongRowCells) row->AppendCell(nullptr);
  window->AppendRow(row);
  auto model = kel_test::Model();
  model->AddWindow(0, window);
  return model;
}

// Two outlined lines, the second underlined: the underline is drawn with supplier objects while
// the outline's GDI+ objects are alive.
CaptioningRenderableModelPtr UnderlinedSubtitle() {
  auto outlined = kelcaption::SpanStyle(kelcaptioning::kCaptioningColor_White,
                                        kelcaptioning::kCaptioningColor_Transparent, kelcaptioning::kTextEdge_Uniform, 4);
  auto underlined = outlined;
  underlined.SetUnderlined(true);
  return kelcaption::MakeOpenModel({{{{"Outlined, then", outlined}, {" underlined", underlined}}, 380, 860},
                                    {{{"on the second line.", underlined}}, 380, 940}},
                                   {1920, 1080}, 0.9f);
}

struct Case { const char* name; std::function<CaptioningRenderableModelPtr()> make; int width, height; };

// The grid showcase (symbol, edges, underline, every cell attribute) and two-line subtitles
// outlined through GDI+.
const Case kCases[] = {
    {"grid showcase", kelcaption::MakeGridShowcase, 320, 180},
    {"outlined subtitle", kelcaption::MakeSubtitleSample, 480, 270},
    {"underlined outlined subtitle", UnderlinedSubtitle, 480, 270},
};

// Blocks alive once the recyclers have given their idle blocks back.
long LiveBlocks() {
  kelcore::MemoryRecycler::General()->Trim();
  kelcore::MemoryRecycler::SmallBlocks()->Trim();
  return faults::LiveBlocks();
}

// What a full frame drawn with nothing failing makes and changes.
struct FullFrame { int creations = 0; std::vector<bool> changed; };

FullFrame DrawThrough(FailingSupplier& supplier, CanaryBlock& block, const Case& c, int budget,
                      CreationFailure failure, bool* threw = nullptr) {
  block.Reset();
  supplier.Arm(-1, failure);
  kelui::inkpad::SurfaceInterface* surface =
      supplier.CreateSurface(block.width, block.height, block.RowBytes(),
                             kelui::inkpad::kSurfaceFormat_BGRA32Premultiplied, block.Pixels(), std::uintptr_t{0});
  EXPECT_NE(surface, nullptr);
  if (surface == nullptr) return {};
  const CaptioningRenderableModelPtr model = c.make();
  const int renderMode = surface->GetRenderMode();
  supplier.Arm(budget, failure);
  {
    kelui::inkpad::Inkpad inkpad(&supplier, surface);
    try {
      kelcaptioningui::DrawCaption(model, &inkpad,
                                   {0, 0, static_cast<float>(block.width), static_cast<float>(block.height)});
    } catch (const std::bad_alloc&) {
      if (threw) *threw = true;
    }
  }
  FullFrame frame{supplier.Creations(), block.Changed()};
  // The caller's surface comes back with its drawing state as it was handed over.
  EXPECT_EQ(FailingSupplier::SavedStates(surface), 0) << c.name << ", budget " << budget;
  EXPECT_EQ(surface->GetRenderMode(), renderMode) << c.name << ", budget " << budget;
  surface->Destroy();
  return frame;
}

void SweepSupplierFailures(CreationFailure failure) {
  for (const Case& c : kCases) {
    FailingSupplier supplier;
    CanaryBlock block(c.width, c.height);
    const FullFrame full = DrawThrough(supplier, block, c, -1, failure);
    ASSERT_GT(full.creations, 0) << c.name;
    ASSERT_EQ(block.ChangedOutside(block.PixelBytes()), "") << c.name;
    for (int budget = 0; budget <= full.creations; ++budget) {
      bool threw = false;
      const long before = LiveBlocks();
      DrawThrough(supplier, block, c, budget, failure, &threw);
      // Nothing made on the way (supplier objects and surfaces, GDI+ objects, containers) is left.
      EXPECT_EQ(LiveBlocks(), before) << c.name << ", budget " << budget;
      // A refusing supplier only leaves things out; a throwing one stops the frame.
      EXPECT_EQ(threw, failure == CreationFailure::kThrow && budget < full.creations) << c.name << ", budget " << budget;
      ASSERT_EQ(block.ChangedOutside(full.changed), "") << c.name << ", budget " << budget;
    }
  }
}

TEST(SupplierFaults, RefusedCreationsLeaveOutOnlyWhatTheyWereFor) { SweepSupplierFailures(CreationFailure::kNull); }

TEST(SupplierFaults, ThrowingCreationsStopTheFrameCleanly) { SweepSupplierFailures(CreationFailure::kThrow); }

// RenderOpenCaptions into `block`, the frame the size of the block. False when it threw
// std::bad_alloc.
bool Render(const CaptioningRenderableModelPtr& model, CanaryBlock& block) {
  const kelcore::RectT<int> frame{0, 0, block.width, block.height};
  try {
    EXPECT_TRUE(kelcaptioningui::RenderOpenCaptions(model, frame, kelmediatypes::PixelAspectRatio(1, 1), block.Pixels(),
                                                    block.RowBytes(), frame, frame, block.width, block.height,
                                                    false, 1.0f));
    return true;
  } catch (const std::bad_alloc&) {
    return false;
  }
}

// Fails allocation after allocation (of `size` bytes, or of any size for 0), one in each call of
// RenderOpenCaptions, until the chosen one is past the call's last; returns how many calls threw.
// Some failures are absorbed on the way (GDI+ reports them by status, nothrow allocations by
// null) and the call goes on without the piece that needed the memory.
int SweepAllocationFailures(const Case& c, std::size_t size) {
  CanaryBlock block(c.width, c.height);
  // A frame with nothing failing fills the caches of fonts and shaped text.
  EXPECT_TRUE(Render(c.make(), block));
  const std::vector<bool> full = block.Changed();
  EXPECT_EQ(block.ChangedOutside(block.PixelBytes()), "") << c.name;
  int throwingCalls = 0;
  for (long index = 0;; ++index) {
    block.Reset();
    const CaptioningRenderableModelPtr model = c.make();
    const long before = LiveBlocks();
    faults::FailOne(size, index);
    const bool ran = Render(model, block);
    faults::Disarm();
    const bool failed = faults::Failed();
    const long after = LiveBlocks();
    // Only the chosen allocation failing stops a call, with std::bad_alloc reaching the caller;
    // either way the supplier and the surface made for the call, and all else, are gone again.
    EXPECT_TRUE(ran || failed) << c.name << ", allocation " << index;
    EXPECT_EQ(after, before) << c.name << ", allocation " << index;
    EXPECT_EQ(block.ChangedOutside(full), "") << c.name << ", allocation " << index;
    if (!failed) break;
    if (!ran) ++throwingCalls;
  }
  return throwingCalls;
}

TEST(AllocationFaults, AModelWhoseCopiesFailPassesTheFailureToTheCaller) {
  // The long row's cell list is copied for the row backgrounds and again for the cells.
  const std::size_t listBytes = kLongRowCells * sizeof(kelcaptioning::CaptioningRenderableModelCellPtr);
  EXPECT_EQ(SweepAllocationFailures({"long-row grid", LongRowGrid, 320, 180}, listBytes), 2);
}

TEST(AllocationFaults, EveryAllocationOfAFrameMayFail) {
  for (const Case& c : kCases) EXPECT_GT(SweepAllocationFailures(c, 0), 10) << c.name;
}

}  // namespace
