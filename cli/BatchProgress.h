// What a batch of several files shows on a terminal while it runs: a line "N/M NAME" on standard
// error, rewritten in place as each file is done, and at the end a line that sums the batch up.
// Off a terminal, and with --quiet, neither: a script that reads standard error gets the
// failures and messages alone, one line each.
#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>

#include "base/MessageSink.h"
#include "cli/Options.h"

namespace tovmar::cli {

inline constexpr OptionInfo kQuietOption{
    "-q", "--quiet", "",
    "With several files on a terminal, show neither the progress line nor the summary at the "
    "end; failures are still shown.",
    false};

// While it lives it is the message sink, so that a message shown during the batch first takes
// the progress line away and then goes where it would have gone.
class BatchProgress : public MessageSink {
 public:
  // Shows nothing for a batch of one file, with `quiet`, or when standard error is no terminal.
  BatchProgress(std::string_view command, std::size_t total, bool quiet);
  ~BatchProgress() override;
  BatchProgress(const BatchProgress&) = delete;
  BatchProgress& operator=(const BatchProgress&) = delete;

  void Show(const std::string& text) override;

  // Takes the progress line off the terminal, before a message or a failure line is printed.
  void Clear();
  // One more file is done, `input` the one named on the command line.
  void Done(const std::string& input, bool failed);
  // The summary: "COMMAND: N files written in S s", or with failures "COMMAND: N of M files
  // written, F failed in S s".
  void Finish();

 private:
  std::string m_command;
  std::size_t m_total;
  std::size_t m_done = 0;
  std::size_t m_failed = 0;
  bool m_shown;
  bool m_lineShown = false;
  MessageSink* m_previous;
  std::chrono::steady_clock::time_point m_start = std::chrono::steady_clock::now();
};

}  // namespace tovmar::cli
