// A small skeleton document in the form of the world's skeleton file, for tests and fuzz seeds.
#pragma once

#include <string>

namespace tovmar {

// A linden_skeleton of 12 bones (pelvis, both legs down to the knee, torso, chest, neck, head,
// both eyes, one collar) and three collision volumes. The eyes sit at (0.1, +-0.04, 1.8) in
// avatar space; the chest is turned 90 degrees about Z and the neck scaled by 2, so that placing
// the eyes needs every part of a bone's transform.
std::string SampleSkeletonXml();

}  // namespace tovmar
