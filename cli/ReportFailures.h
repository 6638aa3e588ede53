// How a run of tovmar-cli ends, the same in the full program and in the launcher: a failure is
// one line on standard error and the exit status kExitFailure.
#pragma once

#include <functional>

namespace tovmar::cli {

// Runs `run` and returns its exit status. A CliError or any other exception it throws is printed
// as "tovmar-cli: <message>" on standard error and gives kExitFailure; so does standard output
// that cannot be written when `run` has returned.
int RunReportingFailures(const std::function<int()>& run);

}  // namespace tovmar::cli
