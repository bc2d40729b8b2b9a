#include "kelcaption/Interruption.h"

#include <csignal>
#include <stdexcept>

namespace kelcaption {

namespace {

volatile std::sig_atomic_t interrupted = 0;
constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};
struct sigaction former[3];

void Note(int) { interrupted = 1; }

}  // namespace

InterruptionGuard::InterruptionGuard() {
  interrupted = 0;
  struct sigaction action = {};
  action.sa_handler = Note;
  sigemptyset(&action.sa_mask);
  for (int i = 0; i < 3; ++i) {
    sigaction(kSignals[i], nullptr, &former[i]);
    // A signal the caller ignores (nohup, a background job) stays ignored.
    if (former[i].sa_handler != SIG_IGN) sigaction(kSignals[i], &action, nullptr);
  }
}

InterruptionGuard::~InterruptionGuard() {
  for (int i = 0; i < 3; ++i) sigaction(kSignals[i], &former[i], nullptr);
}

bool Interrupted() { return interrupted != 0; }

void ThrowIfInterrupted() {
  if (interrupted) throw std::runtime_error("interrupted; nothing was written");
}

}  // namespace kelcaption
