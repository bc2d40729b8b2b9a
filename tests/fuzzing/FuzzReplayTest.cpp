// Replays the seeds of each fuzz target and the inputs it once failed on through the target's
// own harness (fuzz/*.cpp, compiled into this test with the entry point renamed). A harness
// aborts on what it finds, so a failure here is a crash with the input's name printed before it;
// under the asan preset the sanitizers report as they did when fuzzing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#define KEL_HARNESSES(X) X(render) X(srt) X(webvtt) X(ttml) X(caption_document) X(scc) X(dtvcc) X(mcc) X(ebu_stl) X(layout_script)
#define KEL_DECLARE_HARNESS(target) extern "C" int kel_fuzz_##target(const std::uint8_t* data, std::size_t size);
KEL_HARNESSES(KEL_DECLARE_HARNESS)

namespace {

namespace fs = std::filesystem;

struct Harness {
  const char* target;
  int (*run)(const std::uint8_t*, std::size_t);
};

#define KEL_HARNESS(target) Harness{#target, kel_fuzz_##target},
const Harness kHarnesses[] = {KEL_HARNESSES(KEL_HARNESS)};

// Runs every file of `dir` (if there is one), in name order; returns how many ran.
int ReplayDirectory(const Harness& harness, const fs::path& dir) {
  if (!fs::is_directory(dir)) return 0;
  std::vector<fs::path> files;
  for (const fs::directory_entry& entry : fs::directory_iterator(dir)) {
    if (entry.is_regular_file()) files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  for (const fs::path& file : files) {
    std::ifstream in(file, std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::printf("replaying %s\n", file.c_str());
    std::fflush(stdout);
    harness.run(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  }
  return static_cast<int>(files.size());
}

class FuzzReplay : public ::testing::TestWithParam<Harness> {};

TEST_P(FuzzReplay, SeedsAndFormerFindingsRunClean) {
  const Harness& harness = GetParam();
  const int seeds = ReplayDirectory(harness, fs::path(KEL_FUZZ_CORPUS) / harness.target);
  ReplayDirectory(harness, fs::path(KEL_FUZZ_FINDINGS) / harness.target);
  // Every target has seeds: none found means the paths went wrong, not that all is well.
  EXPECT_GT(seeds, 0) << harness.target;
  // Past the end of its input a harness must cope as well: the empty input.
  harness.run(nullptr, 0);
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzReplay, ::testing::ValuesIn(kHarnesses),
                         [](const ::testing::TestParamInfo<Harness>& param) { return std::string(param.param.target); });

}  // namespace
