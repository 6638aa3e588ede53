// Putting a whole avatar into a scene store as drawn mesh objects: each placement of each part,
// deformed by the part's morph weights, and the whole figure centred and scaled as one.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "avatar/Avatar.h"

namespace tovmar {

class SceneStore;

// Adds a drawn mesh object for every placement of `part` to `store`, named `name`, deformed by
// the part's weights, with positions in avatar space and not yet centred or scaled. Returns the
// ids of the objects added, in the order of the part's placements; the caller gives them their
// texture.
std::vector<std::int32_t> AddAvatarPart(const AvatarPart& part, const std::string& name,
                                        SceneStore& store);

// Centres every mesh object of `store` on the middle of the bounds of all of them and scales it
// as a single mesh is scaled when it is built, so that the parts keep their places relative to
// one another. Positions that are not finite are left out of the bounds.
void CentreAvatarFigure(SceneStore& store);

// The store indices of each part's mesh objects, in the order of the avatar's parts.
using AvatarPartMeshes = std::vector<std::vector<std::size_t>>;

// Removes every mesh object from `store` (releasing their textures) and adds every placement of
// every part of `avatar`, centred as one figure. The objects are named by their part's file.
AvatarPartMeshes PlaceAvatar(const Avatar& avatar, SceneStore& store);

// Deforms an avatar placed by PlaceAvatar again from its parts' current weights: the objects at
// `meshes` take the new positions, normals and centre and keep their textures. Objects that are
// gone or whose vertex count changed are left alone.
void ReshapeAvatar(const Avatar& avatar, const AvatarPartMeshes& meshes, SceneStore& store);

}  // namespace tovmar
