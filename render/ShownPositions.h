// What the 3D view shows, as points: the positions of every visible mesh object, turned as the
// view's orientation turns them.
#pragma once

#include <vector>

#include "mesh/Vec.h"
#include "render/Camera.h"

namespace tovmar {

class SceneStore;

// The positions of the visible mesh objects of `store`, turned by `orientation`, in the view's
// axes (x towards the eye, y to the screen's right, z up). Positions that are not finite stay so.
std::vector<Vec3> ShownPositions(SceneStore& store, const Quaternion& orientation);

}  // namespace tovmar
