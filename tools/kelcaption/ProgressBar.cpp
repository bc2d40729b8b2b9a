#include "kelcaption/ProgressBar.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <string>

namespace kelcaption {

ProgressBar::ProgressBar(long long total, double framesPerSecond, bool quiet)
    : total_(total), framesPerSecond_(framesPerSecond), shown_(!quiet && isatty(2) != 0), start_(Clock::now()) {}

ProgressBar::~ProgressBar() {
  if (shown_ && last_ >= 0) std::fprintf(stderr, "\n");
}

void ProgressBar::Frame(long long done) {
  if (!shown_) return;
  const double seconds = std::chrono::duration<double>(Clock::now() - start_).count();
  if (seconds - last_ < 0.25 && done != total_) return;  // a few times a second is enough to read
  last_ = seconds;
  const double rate = seconds > 0 ? static_cast<double>(done) / seconds : 0.0;
  std::string line = "\r  " + std::to_string(done);
  if (total_ > 0) {
    const int width = 30;
    const int filled = std::clamp(static_cast<int>(width * static_cast<double>(done) / static_cast<double>(total_)), 0, width);
    line += " of " + std::to_string(total_) + " frames  [" + std::string(static_cast<std::size_t>(filled), '#') +
            std::string(static_cast<std::size_t>(width - filled), '.') + "]";
  } else {
    line += " frames";
  }
  char figures[64];
  if (framesPerSecond_ > 0) {
    std::snprintf(figures, sizeof figures, "  %.2fx", rate / framesPerSecond_);
  } else {
    std::snprintf(figures, sizeof figures, "  %.1f fps", rate);
  }
  line += figures;
  if (total_ > done && rate > 0) {
    const long long left = static_cast<long long>(static_cast<double>(total_ - done) / rate + 0.5);
    std::snprintf(figures, sizeof figures, "  %lld:%02lld left", left / 60, left % 60);
    line += figures;
  }
  std::fprintf(stderr, "%s   ", line.c_str());
  std::fflush(stderr);
}

}  // namespace kelcaption
