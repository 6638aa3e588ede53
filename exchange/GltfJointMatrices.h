// The inverse bind matrices of a skeleton written to glTF.
#pragma once

#include <array>
#include <vector>

#include "exchange/GltfScene.h"

namespace tovmar {

// For each joint, the inverse of its global transform (its parents' placements composed with its
// own), as glTF's column-major 4x4 matrix with the bottom row exactly 0, 0, 0, 1. Throws
// ExchangeError, naming the joint, when a transform cannot be inverted (a zero or non-finite scale)
// or a joint comes before its parent.
std::vector<std::array<float, 16>> InverseBindMatrices(const std::vector<GltfJoint>& joints);

}  // namespace tovmar
