// Refusing an output that would overwrite one of the command's own input files.
#pragma once

#include <string>

#include "cli/Options.h"

namespace tovmar::cli {

// Throws CliError when `output` is the same file as one of the command's inputs: its mesh files
// (the positionals), the files that --appearance, --texture, --add, --add-texture and
// --part-texture name, and the skeleton and part files of the --avatar folder. Files
// are compared by device and inode, so another spelling of the path, a symbolic link and a hard
// link are caught too; for "-", the file standard output was opened on, and an input named "-".
// Names of files that do not exist and addresses are passed over.
void RefuseInputAsOutput(const std::string& output, const ParsedArgs& args);

}  // namespace tovmar::cli
