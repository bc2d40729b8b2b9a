// Shows that a sanitized test run catches what it is there for. `leak` loses blocks and exits
// normally: LeakSanitizer must report them. `overflow` overflows an int: UndefinedBehaviorSanitizer
// must report it and stop the program, so the line after it never appears.
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

int* volatile gLast = nullptr;

[[gnu::noinline]] void LoseBlocks() {
  for (int i = 0; i < 8; ++i) gLast = new int[64];
  gLast = nullptr;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "leak") == 0) {
    LoseBlocks();
    std::printf("lost 8 blocks\n");
    return 0;
  }
  if (argc == 2 && std::strcmp(argv[1], "overflow") == 0) {
    // Read at run time, so that the compiler cannot see the overflow coming.
    const int largest = std::atoi("2147483647");
    const volatile int sum = largest + argc;
    std::printf("still running after %d\n", sum);
    return 0;
  }
  std::fprintf(stderr, "usage: sanitizer_canary leak|overflow\n");
  return 2;
}
