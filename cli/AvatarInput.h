// The avatar that render and export-gltf read with --avatar: a character folder's parts,
// shaped by --appearance and --weight and dressed by --part-texture.
#pragma once

#include <string>
#include <string_view>

#include "avatar/Avatar.h"
#include "cli/AvatarOptions.h"
#include "cli/Options.h"

namespace tovmar::cli {

// The avatar of --avatar in `args` for `command`: its folder read (the skirt only with
// --with-skirt), the appearance's and every --weight's weights set on every part that has a
// target of that name, each --part-texture's image path set on its part. The loader's notes on
// files left out are printed as warnings. Throws CliError when mesh files are given too, the
// folder or its skeleton cannot be read, a --part-texture names an unknown part or one the avatar
// lacks, or a --weight names a target of no part.
Avatar ReadAvatarOption(std::string_view command, const ParsedArgs& args);

// The path of a part's mesh file in the folder of --avatar, for messages.
std::string AvatarPartPath(const ParsedArgs& args, const AvatarPart& part);

}  // namespace tovmar::cli
