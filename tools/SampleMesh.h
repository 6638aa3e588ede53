// The sample ".llm" mesh: a human-like body with normals, binormals, a cylindrical texture
// unwrap, skin weights, joint names, morph targets and a remap table.
#pragma once

#include "mesh/LlmMesh.h"

namespace tovmar::sample {

// The same record, bit for bit, on every call.
LlmMesh MakeSampleMesh();

}  // namespace tovmar::sample
