// How the writers of the exchange formats fail: they throw ExchangeError with a message for the
// user, which the command line prints as it prints its own failures.
#pragma once

#include <stdexcept>

namespace tovmar {

class ExchangeError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace tovmar
