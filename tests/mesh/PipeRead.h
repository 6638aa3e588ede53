// Reading from a pipe that has no writer, which must neither wait for one nor hang the test.
#pragma once

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <future>
#include <string>

namespace tovmar {

// Runs `read` of the pipe at `pipePath` on a thread of its own and returns whether it finished
// within ten seconds. A read still waiting for a writer is then released by connecting and
// leaving as one, so the test ends either way.
inline bool FinishesWithoutAWriter(const std::string& pipePath, const std::function<void()>& read) {
  auto reading = std::async(std::launch::async, read);
  const bool finished = reading.wait_for(std::chrono::seconds(10)) == std::future_status::ready;
  if (!finished) {
    const int writer = open(pipePath.c_str(), O_WRONLY | O_NONBLOCK);
    if (writer >= 0) close(writer);
  }
  reading.wait();
  return finished;
}

}  // namespace tovmar
#endif
