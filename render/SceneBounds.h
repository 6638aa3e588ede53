// The box around what the 3D view shows: the positions of every visible mesh object.
#pragma once

#include <optional>

#include "mesh/Vec.h"

namespace tovmar {

class SceneStore;

struct Box {
  Vec3 low;
  Vec3 high;
};

// The smallest box around the finite positions of the visible mesh objects of `store`, in model
// coordinates; none when no visible object has a finite position.
std::optional<Box> VisibleBounds(SceneStore& store);

}  // namespace tovmar
