#pragma once

#include <chrono>

namespace kelcaption {

// A progress line on standard error while it is a terminal: frames done, a bar and the time left
// when the total is known, and the speed against the video's own frame rate. Nothing is shown when
// standard error is not a terminal, or when asked to be quiet.
class ProgressBar {
 public:
  // `total`: frames expected, 0 when unknown. `framesPerSecond`: the video's rate, for a speed
  // such as "2.1x"; 0 shows frames a second instead.
  ProgressBar(long long total, double framesPerSecond, bool quiet);
  ~ProgressBar();
  ProgressBar(const ProgressBar&) = delete;
  ProgressBar& operator=(const ProgressBar&) = delete;

  void Frame(long long done);

 private:
  using Clock = std::chrono::steady_clock;
  long long total_;
  double framesPerSecond_;
  bool shown_;
  Clock::time_point start_;
  double last_ = -1.0;
};

}  // namespace kelcaption
