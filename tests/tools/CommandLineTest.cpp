#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "kelcaption/CommandLine.h"

// The values the tool's options take.

namespace {

using kelcaption::ParseFrameRate;
using kelcaption::UsageError;
using Rate = std::pair<long long, long long>;

TEST(FrameRate, NamesFractionsAndRoundedNtscRates) {
  const std::vector<std::pair<const char*, Rate>> cases = {
      {"25", {25, 1}},           {"30000/1001", {30000, 1001}}, {"29.97", {30000, 1001}}, {"23.976", {24000, 1001}},
      {"23.98", {24000, 1001}},  {"59.94", {60000, 1001}},      {"ntsc", {30000, 1001}},  {"ntsc-film", {24000, 1001}},
      {"pal", {25, 1}},          {"film", {24, 1}},
      // Decimals that are not NTSC rates are taken as written.
      {"12.5", {25, 2}},         {"30.0", {30, 1}},             {"29.5", {59, 2}}};
  for (const auto& [text, rate] : cases) EXPECT_EQ(ParseFrameRate(text, "--fps"), rate) << text;
}

TEST(FrameRate, RefusesWhatIsNoRate) {
  for (const char* text : {"", "fast", "29.97.1", "-25", "0", "0.0", ".5", "25.", "1/0", "29,97", "1e3"}) {
    EXPECT_THROW(ParseFrameRate(text, "--fps"), UsageError) << text;
  }
}

}  // namespace
