// The options of the --avatar forms that render, export-gltf and info accept, and the check that
// the ones meant for an avatar come with --avatar. Apart from AvatarInput.h, which reads the
// avatar, so that info of a mesh file parses its options without the avatar code.
#pragma once

#include <string_view>

#include "cli/Options.h"

namespace tovmar::cli {

inline constexpr OptionInfo kAvatarOption{
    "--avatar", "", "DIR",
    "Use the character folder DIR (avatar_skeleton.xml and the avatar_PART.llm files) instead of "
    "mesh files: every part, the eyes at both eye joints.",
    false};
inline constexpr OptionInfo kPartTextureOption{
    "--part-texture", "", "PART=IMAGE",
    "With --avatar: dress the part PART (head, upper_body, lower_body, eyes, eyelashes, hair, "
    "skirt) with this image; repeatable.",
    true};
inline constexpr OptionInfo kWithSkirtOption{
    "--with-skirt", "", "", "With --avatar: include the skirt, which is left out otherwise.",
    false};

// Throws CliError when `args` holds --part-texture or --with-skirt without --avatar.
void RefuseAvatarOptionsAlone(std::string_view command, const ParsedArgs& args);

}  // namespace tovmar::cli
