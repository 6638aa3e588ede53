#include "cli/BatchOutputs.h"

#include <algorithm>
#include <exception>
#include <filesystem>
#include <map>
#include <system_error>

#include "base/FileBytes.h"
#include "cli/BatchProgress.h"
#include "cli/CliError.h"
#include "cli/ReplaceFile.h"
#include "cli/StandardInput.h"
#include "cli/TerminalText.h"

namespace tovmar::cli {

std::vector<BatchJob> PlanBatch(std::string_view command, const std::vector<std::string>& inputs,
                                const std::string& output, std::string_view extension) {
  // A batch names each output after its input, and standard input has no name.
  if (std::find(inputs.begin(), inputs.end(), kStandardInput) != inputs.end()) {
    std::error_code ec;
    if (inputs.size() > 1) {
      throw CliError(std::string(command) +
                     ": standard input ('-') can be the only mesh file, not one of several");
    }
    if (std::filesystem::is_directory(PathFromUtf8(output), ec)) {
      throw CliError(std::string(command) +
                     ": with the mesh from standard input, -o must name the output file or '-'");
    }
  }
  if (output == kStandardOutput) {
    if (inputs.size() > 1) {
      throw CliError(std::string(command) +
                     ": -o - writes one file to standard output; with several mesh files, -o "
                     "must name an existing folder");
    }
    return {{inputs[0], output}};
  }
  std::error_code ec;
  const std::filesystem::path folder = PathFromUtf8(output);
  if (!std::filesystem::is_directory(folder, ec)) {
    if (inputs.size() > 1) {
      throw CliError(std::string(command) +
                     ": with several mesh files, -o must name an existing folder");
    }
    return {{inputs[0], output}};
  }
  std::vector<BatchJob> jobs;
  std::map<std::string, std::string> writers;  // output name -> the input that writes it
  for (const std::string& input : inputs) {
    const std::string name = PathToUtf8(PathFromUtf8(input).stem()) + "." + std::string(extension);
    const auto [it, added] = writers.emplace(name, input);
    if (!added) {
      throw CliError(std::string(command) + ": '" + it->second + "' and '" + input +
                     "' would both write " + name);
    }
    jobs.push_back({input, PathToUtf8(folder / PathFromUtf8(name))});
  }
  return jobs;
}

int RunBatch(std::string_view command, const std::vector<BatchJob>& jobs, bool quiet,
             const std::function<void(const BatchJob&)>& run) {
  if (jobs.size() == 1) {
    run(jobs[0]);
    return kExitSuccess;
  }
  BatchProgress progress(command, jobs.size(), quiet);
  int failures = 0;
  for (const BatchJob& job : jobs) {
    bool failed = false;
    try {
      run(job);
    } catch (const std::exception& e) {
      progress.Clear();
      PrintErrorLine(std::string(command) + ": " + job.input + ": " + e.what());
      failed = true;
      ++failures;
    }
    progress.Done(job.input, failed);
  }
  progress.Finish();
  return failures == 0 ? kExitSuccess : kExitFailure;
}

}  // namespace tovmar::cli
