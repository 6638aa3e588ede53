// tovmar-cli info: what a mesh file holds (MeshInfo.cpp) or, with --avatar, what a character
// folder holds (AvatarInfo.cpp).
#include "cli/AvatarCommands.h"
#include "cli/Command.h"
#include "cli/MeshInfo.h"

namespace tovmar::cli {

namespace {

int RunInfo(const ParsedArgs& args) {
  return args.Has("--avatar") ? RunAvatarInfo(args) : RunMeshInfo(args);
}

}  // namespace

const Command& InfoCommand() {
  static const Command kCommand{
      "info",
      "FILE.llm [--json]",
      "Show a mesh file's header, flags, counts and morph targets with their record counts, and "
      "what the file lacks; with --avatar, the parts found with their vertices and targets, and "
      "the skeleton's bones.",
      kInfoOptions,
      RunInfo,
      "--avatar DIR [--with-skirt] [--json]"};
  return kCommand;
}

}  // namespace tovmar::cli
