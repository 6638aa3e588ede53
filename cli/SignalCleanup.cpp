#include "cli/SignalCleanup.h"

#include <unistd.h>

#include <atomic>

namespace tovmar::cli {

namespace {

constexpr std::array kSignals{SIGINT, SIGTERM, SIGHUP};

// Lock-free atomics, so that a handler on any thread may read and change them.
std::atomic<const char*> g_fileToRemove{nullptr};
std::atomic<bool> g_held{false};
std::atomic<int> g_pending{0};

// Removes the file, then lets the signal do what it does by default: end the program.
void EndBy(int signal) {
  if (const char* path = g_fileToRemove.exchange(nullptr)) ::unlink(path);
  struct sigaction byDefault {};
  byDefault.sa_handler = SIG_DFL;
  sigemptyset(&byDefault.sa_mask);
  sigaction(signal, &byDefault, nullptr);
  // Inside a handler the signal is blocked until the handler returns, and then takes effect.
  ::raise(signal);
}

extern "C" void OnSignal(int signal) {
  if (g_held.load()) {
    int none = 0;
    g_pending.compare_exchange_strong(none, signal);
    if (g_held.load()) return;
    // Released meanwhile: whoever takes the pending signal ends the program.
    signal = g_pending.exchange(0);
    if (signal == 0) return;
  }
  EndBy(signal);
}

}  // namespace

SignalCleanup::SignalCleanup() {
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  for (std::size_t i = 0; i < kSignals.size(); ++i) {
    sigaction(kSignals[i], nullptr, &m_previous[i]);
    m_caught[i] = m_previous[i].sa_handler != SIG_IGN;
    if (m_caught[i]) sigaction(kSignals[i], &action, nullptr);
  }
}

SignalCleanup::~SignalCleanup() {
  Release();
  for (std::size_t i = 0; i < kSignals.size(); ++i) {
    if (m_caught[i]) sigaction(kSignals[i], &m_previous[i], nullptr);
  }
  g_fileToRemove.store(nullptr);
}

void SignalCleanup::SetFileToRemove(const char* path) {
  g_fileToRemove.store(path);
}

void SignalCleanup::Hold() {
  g_held.store(true);
}

void SignalCleanup::Release() {
  g_held.store(false);
  if (const int signal = g_pending.exchange(0)) EndBy(signal);
}

}  // namespace tovmar::cli
