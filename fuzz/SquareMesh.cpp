#include "fuzz/SquareMesh.h"

#include <string>

#include "tools/LlmWriter.h"

namespace tovmar::fuzz {

LlmMesh MakeSquareMesh(std::span<const std::string_view> targetNames) {
  LlmMesh mesh;
  mesh.numVertices = 4;
  mesh.coords = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
  mesh.normals.assign(4, Vec3{0, 0, 1});
  mesh.binormals.assign(4, Vec3{1, 0, 0});
  mesh.texCoords = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
  mesh.numFaces = 2;
  mesh.faces = {0, 1, 2, 0, 2, 3};
  std::int32_t corner = 0;
  for (const std::string_view name : targetNames) {
    MorphVertex record;
    record.vertexIndex = corner++ % 4;
    record.coordDelta = {0.1f, 0.2f, 0.3f};
    record.normalDelta = {0, 0.5f, 0};
    record.texCoordDelta = {0.25f, 0.25f};
    mesh.morphTargets.push_back(MakeMorphTarget(std::string(name), {record}));
  }
  return mesh;
}

}  // namespace tovmar::fuzz
