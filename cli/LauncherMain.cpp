// tovmar-cli, the launcher of the command-line tool. Linked against nothing but the C++ runtime,
// the ground and the mesh reader, it starts about as fast as `cat`: that matters for info of a
// mesh file, which scripts run file after file, and which it runs itself. Every other run (the
// other commands, info --avatar, help, the version, options info refuses, no command) goes to the
// full program, tovmar-cli-full (main.cpp), with the same arguments, so it says what it always
// said.
#include <exception>
#include <string>
#include <string_view>
#include <vector>

#include "cli/FullProgram.h"
#include "cli/MeshInfo.h"
#include "cli/Options.h"
#include "cli/ReportFailures.h"

namespace {

using namespace tovmar::cli;

// True when `argv` asks for info of a mesh file and no help: `args` then holds its options, read
// as the full program reads them. An option info refuses is left to the full program to report.
bool IsMeshInfo(int argc, char** argv, ParsedArgs& args) {
  if (argc < 2 || std::string_view(argv[1]) != "info") return false;
  try {
    args = ParseArgs(std::vector<std::string>(argv + 2, argv + argc), kInfoOptions);
  } catch (const std::exception&) {
    return false;
  }
  return !args.help && !args.Has("--avatar");
}

}  // namespace

int main(int argc, char** argv) {
  ParsedArgs args;
  if (IsMeshInfo(argc, argv, args)) {
    return RunReportingFailures([&] { return RunMeshInfo(args); });
  }
  return RunFullProgram(argv);
}
