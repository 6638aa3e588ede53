// How the command-line tool fails: a command throws CliError, and main prints
// "tovmar-cli: <message>" as one line on standard error and exits with kExitFailure.
#pragma once

#include <stdexcept>

namespace tovmar::cli {

constexpr int kExitSuccess = 0;
constexpr int kExitFailure = 2;

class CliError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace tovmar::cli
