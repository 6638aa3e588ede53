// Keeping the signals that end the program (SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGUSR1, SIGALRM,
// SIGPIPE and every other one that may be caught, but for the program's own faults) from leaving
// a temporary file behind or cutting a write short.
#pragma once

#include <cstddef>

namespace tovmar {

// While any instance lives, these signals are caught, whichever thread they reach; a signal
// the program ignores or handles itself is left to it. A caught signal removes the file each
// instance set with SetFileToRemove, if any, and then ends the program as it would have; while any
// instance holds the signals, it waits until they are all released. Instances may live on several
// threads at once, up to kMaxAtOnce; a further one waits until one of them has gone.
class SignalCleanup {
 public:
  static constexpr std::size_t kMaxAtOnce = 64;

  SignalCleanup();
  // Releases its hold; with the last instance the previous handlers come back, and a signal held
  // meanwhile takes effect first.
  ~SignalCleanup();
  SignalCleanup(const SignalCleanup&) = delete;
  SignalCleanup& operator=(const SignalCleanup&) = delete;

  // The file a signal removes (nullptr: none); the text must stay until it is replaced.
  void SetFileToRemove(const char* path);
  void Hold();
  void Release();

 private:
  std::size_t m_slot = 0;
  bool m_held = false;
};

// Holds the signals of `cleanup` for as long as it lives.
class HeldSignals {
 public:
  explicit HeldSignals(SignalCleanup& cleanup) : m_cleanup(cleanup) { m_cleanup.Hold(); }
  ~HeldSignals() { m_cleanup.Release(); }
  HeldSignals(const HeldSignals&) = delete;
  HeldSignals& operator=(const HeldSignals&) = delete;

 private:
  SignalCleanup& m_cleanup;
};

}  // namespace tovmar
