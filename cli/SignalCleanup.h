// Keeping the signals that end the program (SIGINT, SIGTERM, SIGHUP) from leaving a temporary file
// behind or cutting a write short.
#pragma once

#include <signal.h>

#include <array>

namespace tovmar::cli {

// While it lives, the three signals are caught, whichever thread they reach; a signal the program
// ignores stays ignored. A caught signal removes the file set with SetFileToRemove, if any, and
// then ends the program as it would have; while held, it waits until Release. One at a time.
class SignalCleanup {
 public:
  SignalCleanup();
  // Puts the previous handlers back; a signal held meanwhile takes effect first.
  ~SignalCleanup();
  SignalCleanup(const SignalCleanup&) = delete;
  SignalCleanup& operator=(const SignalCleanup&) = delete;

  // The file a signal removes (nullptr: none); the text must stay until it is replaced.
  void SetFileToRemove(const char* path);
  void Hold();
  void Release();

 private:
  std::array<struct sigaction, 3> m_previous{};
  std::array<bool, 3> m_caught{};
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

}  // namespace tovmar::cli
