#include <gtest/gtest.h>

#include "keltext/FontLibrary.h"

namespace {

// fontconfig and Cairo keep static data until told to let go; releasing it at the end keeps
// LeakSanitizer's report about our own objects.
class ReleaseTextEngineAtExit : public ::testing::Environment {
 public:
  void TearDown() override { keltext::ReleaseTextEngine(); }
};

const auto* const registered = ::testing::AddGlobalTestEnvironment(new ReleaseTextEngineAtExit());

}  // namespace
