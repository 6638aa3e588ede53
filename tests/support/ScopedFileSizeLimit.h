// A full disk for as long as the object lives: files this process writes cannot grow past a
// given size, and a write that would take them further fails (EFBIG) as it does on a full file
// system, instead of raising SIGXFSZ, which is ignored meanwhile. Both are restored afterwards.
#pragma once

#include <signal.h>
#include <sys/resource.h>

namespace tovmar {

class ScopedFileSizeLimit {
 public:
  explicit ScopedFileSizeLimit(rlim_t bytes) {
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    sigaction(SIGXFSZ, &ignore, &m_previousAction);
    getrlimit(RLIMIT_FSIZE, &m_previousLimit);
    rlimit limit = m_previousLimit;
    limit.rlim_cur = bytes;
    m_active = setrlimit(RLIMIT_FSIZE, &limit) == 0;
  }
  ~ScopedFileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &m_previousLimit);
    sigaction(SIGXFSZ, &m_previousAction, nullptr);
  }
  ScopedFileSizeLimit(const ScopedFileSizeLimit&) = delete;
  ScopedFileSizeLimit& operator=(const ScopedFileSizeLimit&) = delete;

  // Whether the limit is in force.
  bool Active() const { return m_active; }

 private:
  struct sigaction m_previousAction {};
  rlimit m_previousLimit{};
  bool m_active = false;
};

}  // namespace tovmar
