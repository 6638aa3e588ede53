// The geometry of the sample body: torso, head, arms, legs and feet, about 1.8 m tall, standing
// on the floor (z 0) with +Z up and its front towards +X.
#pragma once

#include <vector>

#include "tools/BodyPart.h"

namespace tovmar::sample {

constexpr double kBodyHeight = 1.8;
constexpr DVec3 kHeadCentre{0.01, 0.0, 1.675};

enum class BodyRegion { kTorso, kHead, kArm, kLeg, kFoot };

struct SampleBody {
  BodyGeometry geometry;
  // Per vertex: the part it belongs to, and its side (+1 towards +Y, -1 towards -Y, 0 middle).
  std::vector<BodyRegion> regions;
  std::vector<int> sides;
};

SampleBody BuildSampleBody();

}  // namespace tovmar::sample
