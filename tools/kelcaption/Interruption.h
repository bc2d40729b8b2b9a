#pragma once

namespace kelcaption {

// While one lives, Ctrl-C (SIGINT), SIGTERM and SIGHUP do not end the process at once: they are
// noted, and the work loop stops at its next step through ThrowIfInterrupted, so that what it was
// writing is removed on the way out. Signals the process was started ignoring (nohup, background
// jobs) stay ignored. The former handlers come back when it ends.
class InterruptionGuard {
 public:
  InterruptionGuard();
  ~InterruptionGuard();
  InterruptionGuard(const InterruptionGuard&) = delete;
  InterruptionGuard& operator=(const InterruptionGuard&) = delete;
};

// Whether a signal has come under a guard; for libraries that poll (FFmpeg's I/O stops its
// blocking reads on it).
bool Interrupted();
// Throws std::runtime_error("interrupted...") once a signal has come under a guard.
void ThrowIfInterrupted();

}  // namespace kelcaption
