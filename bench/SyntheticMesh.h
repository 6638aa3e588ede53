// The large mesh that the mesh benchmarks share: as many vertices and faces as the file format
// allows and a heavy morph section, so that reading and deforming costs are far above noise.
#pragma once

#include <string>

#include "mesh/LlmMesh.h"

namespace tovmar::bench {

inline constexpr int kSyntheticVertices = 65535;
inline constexpr int kSyntheticFaces = 65535;
inline constexpr int kSyntheticTargets = 200;
inline constexpr int kSyntheticRecordsPerTarget = 2000;

// The mesh with every array filled, weights present, every morph weight 0.
LlmMesh MakeSyntheticMesh();

// The same mesh laid out as a closed body would be: its vertices, in pairs, run round a standing
// cylinder band after band, so that the faces over neighbouring vertices tile its surface with
// small triangles (two layers deep, front and back, as a body is) and its texture coordinates
// cover the whole texture once. Faces, weights and targets are those of MakeSyntheticMesh.
LlmMesh MakeSyntheticSurfaceMesh();

// The real lower-body mesh when the shared real data are present, else an empty string.
std::string RealLowerBodyPath();

}  // namespace tovmar::bench
