#include "cli/Command.h"

namespace tovmar::cli {

std::span<const Command> AllCommands() {
  static const Command kCommands[] = {InfoCommand(),       ParamsCommand(), ExportObjCommand(),
                                      ExportGltfCommand(), RenderCommand(), UvCommand()};
  return kCommands;
}

const Command* FindCommand(std::string_view name) {
  for (const Command& command : AllCommands()) {
    if (command.name == name) return &command;
  }
  return nullptr;
}

}  // namespace tovmar::cli
