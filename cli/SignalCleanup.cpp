#include "cli/SignalCleanup.h"

#include <unistd.h>

#include <atomic>

namespace tovmar::cli {

namespace {

constexpr std::array kSignals{SIGINT, SIGTERM, SIGHUP};

// The file the handler removes; a lock-free pointer, so the handler may read it.
std::atomic<const char*> g_removeOnSignal{nullptr};

extern "C" void RemoveThenEnd(int signal) {
  if (const char* path = g_removeOnSignal.load()) ::unlink(path);
  // The handler was installed to run once: the signal, raised again, now does what it would have
  // done without it as soon as the handler returns.
  ::raise(signal);
}

sigset_t SignalSet() {
  sigset_t set;
  sigemptyset(&set);
  for (const int signal : kSignals) sigaddset(&set, signal);
  return set;
}

}  // namespace

HeldSignals::HeldSignals() {
  const sigset_t held = SignalSet();
  sigprocmask(SIG_BLOCK, &held, &m_previous);
}

HeldSignals::~HeldSignals() {
  sigprocmask(SIG_SETMASK, &m_previous, nullptr);
}

void RemoveOnSignal::Arm(const std::string& path) {
  Disarm();
  m_path = path;
  g_removeOnSignal.store(m_path.c_str());
  struct sigaction action {};
  action.sa_handler = RemoveThenEnd;
  action.sa_mask = SignalSet();
  action.sa_flags = SA_RESETHAND;
  for (std::size_t i = 0; i < kSignals.size(); ++i) {
    sigaction(kSignals[i], nullptr, &m_previous[i]);
    if (m_previous[i].sa_handler != SIG_IGN) sigaction(kSignals[i], &action, nullptr);
  }
  m_armed = true;
}

void RemoveOnSignal::Disarm() {
  if (!m_armed) return;
  for (std::size_t i = 0; i < kSignals.size(); ++i) sigaction(kSignals[i], &m_previous[i], nullptr);
  g_removeOnSignal.store(nullptr);
  m_armed = false;
}

}  // namespace tovmar::cli
