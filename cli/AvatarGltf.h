// An avatar as a glTF scene: its skeleton as joints, its parts as meshes with their textures,
// its skinned parts bound to the skeleton and its placed parts hung under their joints.
#pragma once

#include <functional>
#include <string>

#include "avatar/Avatar.h"
#include "avatar/Transform.h"
#include "cli/PngOptions.h"
#include "exchange/GltfScene.h"

namespace tovmar::cli {

// `transform`, from one frame to another in the file's axes, as a glTF placement between the
// same frames turned to glTF's axes: a translation, a rotation and a scale along the axes.
GltfPlacement GltfPlacementOf(const Mat4& transform);

// The scene of `avatar`. Each part's mesh is named after the part, with its current weights and
// its texture (read, when it has one, as PNG of `compression`, with its alpha when `keepAlpha`). A
// part whose mesh has a skin over the skeleton is bound to it; a part without weights is shown once
// per placement, under the joint of the placement's bone or at the root. `partPath` gives a part's
// file for messages. Prints a warning for a part whose weights do not make a skin, which is then
// shown unbound. Throws CliError as MakeGltfMesh and TexturePng do.
GltfScene MakeAvatarGltfScene(const Avatar& avatar, PngCompression compression, bool keepAlpha,
                              const std::function<std::string(const AvatarPart&)>& partPath);

}  // namespace tovmar::cli
