// The sample body cut into the parts that avatars are made of: the head, the upper body (torso
// and arms) and the lower body (legs and feet), each a mesh of its own in the body's
// coordinates, so that drawn together they make the whole body again.
#pragma once

#include <string>
#include <vector>

#include "mesh/LlmMesh.h"

namespace tovmar::sample {

constexpr const char* kSampleHeadFile = "sample-head.llm";
constexpr const char* kSampleUpperFile = "sample-upper.llm";
constexpr const char* kSampleLowerFile = "sample-lower.llm";

struct SamplePart {
  std::string file;
  LlmMesh mesh;
};

// The three parts, the same bytes on every call. Each keeps the sample's header, joints and
// texture layout, its own vertices and triangles, and the records of the morph targets that move
// them (a target that moves none of them is left out).
std::vector<SamplePart> MakeSampleParts();

}  // namespace tovmar::sample
