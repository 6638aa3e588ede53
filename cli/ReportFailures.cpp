#include "cli/ReportFailures.h"

#include <cstdio>
#include <exception>
#include <string>

#include "cli/CliError.h"
#include "cli/TerminalText.h"

namespace tovmar::cli {

namespace {

// One line on standard error, whatever the message holds.
int Fail(const std::string& message) {
  PrintErrorLine(message);
  return kExitFailure;
}

}  // namespace

int RunReportingFailures(const std::function<int()>& run) {
  int status = kExitFailure;
  try {
    status = run();
  } catch (const CliError& e) {
    return Fail(e.what());
  } catch (const std::exception& e) {
    return Fail(e.what());
  }
  if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
    return Fail("cannot write to standard output");
  }
  return status;
}

}  // namespace tovmar::cli
