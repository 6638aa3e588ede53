// The help texts of tovmar-cli, made from the command table so that every subcommand is
// described the same way.
#pragma once

#include <string>

#include "cli/Command.h"

namespace tovmar::cli {

// The overview: usage, every subcommand with its usage line and summary, the global options.
std::string GeneralHelp();

// One subcommand: its usage line, its summary and its options.
std::string CommandHelp(const Command& command);

}  // namespace tovmar::cli
