// A subcommand of tovmar-cli: its name, its help and the function that runs it.
#pragma once

#include <span>
#include <string_view>

#include "cli/Options.h"

namespace tovmar::cli {

struct Command {
  std::string_view name;
  // What follows the name in the usage line, e.g. "FILE.llm [--json]".
  std::string_view arguments;
  // One sentence for the help texts.
  std::string_view summary;
  std::span<const OptionInfo> options;
  // Runs the command and returns the exit status; failures throw CliError.
  int (*run)(const ParsedArgs& args);
  // A second form of the arguments, shown as a usage line of its own; empty for none.
  std::string_view otherArguments = {};
};

// The subcommands, one file each.
const Command& InfoCommand();
const Command& ParamsCommand();
const Command& ExportObjCommand();
const Command& ExportGltfCommand();
const Command& RenderCommand();
const Command& UvCommand();

// Every subcommand, in the order the help lists them.
std::span<const Command> AllCommands();

// The subcommand called `name`, or nullptr.
const Command* FindCommand(std::string_view name);

}  // namespace tovmar::cli
