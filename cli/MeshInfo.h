// tovmar-cli info of a mesh file, the form without --avatar: the file's header, flags, counts and
// morph targets and what it lacks, as text or as one JSON object. The full program's info command
// runs it, and so does the launcher (LauncherMain.cpp) without the avatar code.
#pragma once

#include "cli/AvatarOptions.h"
#include "cli/Options.h"

namespace tovmar::cli {

// The options info accepts, both forms; info's help lists them.
inline constexpr OptionInfo kInfoOptions[] = {
    {"--json", "", "", "Print one JSON object instead of text.", false},
    kAvatarOption,
    kWithSkirtOption,
};

// Prints what the one mesh file of `args` holds (standard input for "-"); --json for JSON.
// Throws CliError for an avatar option without --avatar, no file or more than one, or a file that
// cannot be read.
int RunMeshInfo(const ParsedArgs& args);

}  // namespace tovmar::cli
