// The options that say how export-gltf writes its file, for loose meshes and the avatar alike:
// the form (from the output's name and --separate), the texture's alpha and the baked shape.
#pragma once

#include <string>

#include "cli/Options.h"
#include "exchange/GltfFile.h"

namespace tovmar::cli {

inline constexpr OptionInfo kSeparateOption{
    "--separate", "", "",
    "With OUT.gltf: write the buffer as OUT.bin and each texture as OUT_N.png beside it instead of "
    "embedding them.",
    false};
inline constexpr OptionInfo kAlphaOption{
    "--alpha", "", "blend|mask",
    "Keep the textures' alpha: blended, or as a mask cut at one half (default: opaque, as the "
    "window draws them).",
    false};
inline constexpr OptionInfo kBakeOption{
    "--bake", "", "",
    "Write the shaped positions and normals as the base mesh; the morph targets stay, with weight "
    "0.",
    false};

// The form and alpha of the file `output` names: JSON glTF for a name ending in ".gltf" (any
// case), embedded or with --separate its files beside; binary GLB otherwise, standard output
// included. Throws CliError for --separate without a ".gltf" file or a malformed --alpha.
GltfFileOptions ReadGltfFileOptions(const ParsedArgs& args, const std::string& output);

// Writes the file at `output` and the files beside it into its folder, each whole or not at all,
// refusing any that is an input of `args`.
void WriteGltfFiles(const std::string& output, const GltfFiles& files, const ParsedArgs& args);

}  // namespace tovmar::cli
