// tovmar-cli-full, the whole of the headless command-line tool, which the launcher tovmar-cli
// (LauncherMain.cpp) runs for everything but info of a mesh file. Dispatches to one subcommand per
// first word.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/CliError.h"
#include "cli/Command.h"
#include "cli/HelpText.h"
#include "cli/Options.h"
#include "cli/ReportFailures.h"

namespace {

using namespace tovmar::cli;

void PrintOut(const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), stdout);
}

int Run(const std::vector<std::string>& args) {
  if (args.empty()) throw CliError("missing command; see 'tovmar-cli --help'");
  const std::string& first = args[0];
  if (first == "-h" || first == "--help" || first == "help") {
    PrintOut(GeneralHelp());
    return kExitSuccess;
  }
  if (first == "--version") {
    PrintOut("tovmar-cli " TOVMAR_VERSION "\n");
    return kExitSuccess;
  }
  const Command* command = FindCommand(first);
  if (command == nullptr) {
    throw CliError("unknown command '" + first + "'; see 'tovmar-cli --help'");
  }
  const ParsedArgs parsed =
      ParseArgs(std::vector<std::string>(args.begin() + 1, args.end()), command->options);
  if (parsed.help) {
    PrintOut(CommandHelp(*command));
    return kExitSuccess;
  }
  return command->run(parsed);
}

}  // namespace

int main(int argc, char** argv) {
  return RunReportingFailures([&] { return Run(std::vector<std::string>(argv + 1, argv + argc)); });
}
