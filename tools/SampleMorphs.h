// The morph targets of the sample body, each given as its change at weight 1, so that weight 2,
// the end of the slider range, is a strong change.
#pragma once

#include <vector>

#include "mesh/LlmMesh.h"
#include "tools/SampleBody.h"

namespace tovmar::sample {

// One target per reshaping, in a fixed order; a target holds records only for the vertices it
// actually moves.
std::vector<MorphTarget> MakeSampleMorphs(const SampleBody& body);

}  // namespace tovmar::sample
