// Commands that turn each of several input files into an output file of its own: where the
// outputs go, and how the failure of one file is reported without stopping the others.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tovmar::cli {

struct BatchJob {
  std::string input;
  std::string output;
};

// `output` itself for one input that is not a folder, and for "-" (standard output), which takes
// only one input; with several inputs `output` must name an existing folder, which receives
// NAME.EXTENSION for each input (NAME: the input's file name without its extension). Throws
// CliError, naming `command`, when -o is "-" or no folder for several inputs, when two inputs
// would write the same file, or when standard input ("-") is one of several inputs or goes to a
// folder.
std::vector<BatchJob> PlanBatch(std::string_view command, const std::vector<std::string>& inputs,
                                const std::string& output, std::string_view extension);

// Runs `run` for every job. A single job fails as any command fails (its CliError goes on); of
// several, each failure is printed as "COMMAND: INPUT: reason" on standard error and the others
// still run, with a progress line and a summary unless `quiet` (BatchProgress). Returns the exit
// status: failure when any job failed.
int RunBatch(std::string_view command, const std::vector<BatchJob>& jobs, bool quiet,
             const std::function<void(const BatchJob&)>& run);

}  // namespace tovmar::cli
