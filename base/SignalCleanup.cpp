#include "base/SignalCleanup.h"

#include <signal.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <condition_variable>
#include <mutex>

namespace tovmar {

namespace {

// Every signal whose default is to end the program and that may be caught, except those the
// program's own faults raise (SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGTRAP, SIGSYS): a fault held back
// would only happen again.
constexpr std::array kSignals{SIGINT,  SIGTERM, SIGHUP,  SIGQUIT,  SIGUSR1, SIGUSR2,
                              SIGALRM, SIGPIPE, SIGABRT, SIGXCPU,  SIGXFSZ, SIGVTALRM,
                              SIGPROF, SIGIO,   SIGPWR,  SIGSTKFLT};

// Lock-free atomics, so that a handler on any thread may read and change them: one file for
// each instance, how many instances hold the signals, and the signal that waits for them.
std::array<std::atomic<const char*>, SignalCleanup::kMaxAtOnce> g_filesToRemove{};
std::atomic<int> g_holds{0};
std::atomic<int> g_pending{0};

// Which slots instances have, and the handlers that were there before the first of them; never
// touched by a handler.
std::mutex g_mutex;
std::condition_variable g_slotFreed;
std::array<bool, SignalCleanup::kMaxAtOnce> g_slotTaken{};
std::size_t g_instances = 0;
std::array<struct sigaction, kSignals.size()> g_previous{};
std::array<bool, kSignals.size()> g_caught{};

// Removes the files, then lets the signal do what it does by default: end the program.
void EndBy(int signal) {
  for (std::atomic<const char*>& file : g_filesToRemove) {
    if (const char* path = file.exchange(nullptr)) ::unlink(path);
  }
  struct sigaction byDefault {};
  byDefault.sa_handler = SIG_DFL;
  sigemptyset(&byDefault.sa_mask);
  sigaction(signal, &byDefault, nullptr);
  // Inside a handler the signal is blocked until the handler returns, and then takes effect.
  ::raise(signal);
}

extern "C" void OnSignal(int signal) {
  if (g_holds.load() > 0) {
    int none = 0;
    g_pending.compare_exchange_strong(none, signal);
    if (g_holds.load() > 0) return;
    // Released meanwhile: whoever takes the pending signal ends the program.
    signal = g_pending.exchange(0);
    if (signal == 0) return;
  }
  EndBy(signal);
}

}  // namespace

SignalCleanup::SignalCleanup() {
  std::unique_lock lock(g_mutex);
  g_slotFreed.wait(lock, [] { return g_instances < kMaxAtOnce; });
  while (g_slotTaken[m_slot]) ++m_slot;
  g_slotTaken[m_slot] = true;
  if (g_instances++ > 0) return;

  struct sigaction action {};
  action.sa_handler = OnSignal;
  // One signal at a time: another waits until the handler is done.
  sigemptyset(&action.sa_mask);
  for (const int signal : kSignals) sigaddset(&action.sa_mask, signal);
  for (std::size_t i = 0; i < kSignals.size(); ++i) {
    sigaction(kSignals[i], nullptr, &g_previous[i]);
    // Only a signal left at its default: one the program ignores, or handles itself (a
    // profiler's or a timer's), stays as it is.
    g_caught[i] = (g_previous[i].sa_flags & SA_SIGINFO) == 0 && g_previous[i].sa_handler == SIG_DFL;
    if (g_caught[i]) sigaction(kSignals[i], &action, nullptr);
  }
}

SignalCleanup::~SignalCleanup() {
  Release();
  g_filesToRemove[m_slot].store(nullptr);
  {
    const std::lock_guard lock(g_mutex);
    g_slotTaken[m_slot] = false;
    if (--g_instances == 0) {
      for (std::size_t i = 0; i < kSignals.size(); ++i) {
        if (g_caught[i]) sigaction(kSignals[i], &g_previous[i], nullptr);
      }
    }
  }
  g_slotFreed.notify_one();
}

void SignalCleanup::SetFileToRemove(const char* path) {
  g_filesToRemove[m_slot].store(path);
}

void SignalCleanup::Hold() {
  if (m_held) return;
  m_held = true;
  g_holds.fetch_add(1);
}

void SignalCleanup::Release() {
  if (!m_held) return;
  m_held = false;
  if (g_holds.fetch_sub(1) == 1) {
    if (const int signal = g_pending.exchange(0)) EndBy(signal);
  }
}

}  // namespace tovmar
