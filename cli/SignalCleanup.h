// Keeping the signals that end the program (SIGINT, SIGTERM, SIGHUP) from leaving a temporary file
// behind or cutting a write short.
#pragma once

#include <signal.h>

#include <array>
#include <string>

namespace tovmar::cli {

// Holds the three signals back while it lives; one that arrived meanwhile takes effect when it
// goes.
class HeldSignals {
 public:
  HeldSignals();
  ~HeldSignals();
  HeldSignals(const HeldSignals&) = delete;
  HeldSignals& operator=(const HeldSignals&) = delete;

 private:
  sigset_t m_previous;
};

// While armed, each of the three signals first removes the file at the armed path, then ends the
// program as it would have. A signal the program ignores stays ignored. One object at a time.
class RemoveOnSignal {
 public:
  RemoveOnSignal() = default;
  ~RemoveOnSignal() { Disarm(); }
  RemoveOnSignal(const RemoveOnSignal&) = delete;
  RemoveOnSignal& operator=(const RemoveOnSignal&) = delete;

  void Arm(const std::string& path);
  bool Armed() const { return m_armed; }
  // Puts the previous handlers back.
  void Disarm();

 private:
  std::string m_path;
  bool m_armed = false;
  std::array<struct sigaction, 3> m_previous{};
};

}  // namespace tovmar::cli
