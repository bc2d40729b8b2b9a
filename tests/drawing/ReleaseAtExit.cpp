#include <gtest/gtest.h>

#include "kelui/inkpad/Supplier.h"

namespace {

// fontconfig and Cairo keep static data until told to let go; releasing it at the end keeps
// LeakSanitizer's report about our own objects.
class ReleaseFontCachesAtExit : public ::testing::Environment {
 public:
  void TearDown() override { kelui::inkpad::ReleaseFontCaches(); }
};

const auto* const registered = ::testing::AddGlobalTestEnvironment(new ReleaseFontCachesAtExit());

}  // namespace
