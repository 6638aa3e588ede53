#include "mesh/MeshObject.h"

#include <algorithm>
#include <cassert>
#include <limits>
#include <string>

namespace tovmar {

namespace {

// The nearest float to `value`, the largest finite one in magnitude where `value` lies beyond.
float SaturatedFloat(double value) {
  constexpr double kMax = std::numeric_limits<float>::max();
  return static_cast<float>(std::clamp(value, -kMax, kMax));
}

// A file coordinate as the drawing holds it: its offset from the centre, times 5.
float ScaledFromCenter(float coordinate, float center) {
  return SaturatedFloat((static_cast<double>(coordinate) - center) * 5.0);
}

}  // namespace

MeshObject::MeshObject() {
  header.name = "Mesh " + std::to_string(header.id);
}

MeshObject::~MeshObject() {
  FreeArrays();
}

bool MeshObject::AllocateArrays(std::int32_t count, std::int32_t indexCount) {
  assert(count >= 0 && indexCount >= 0);
  FreeArrays();
  positions.resize(static_cast<std::size_t>(count));
  normals.resize(static_cast<std::size_t>(count));
  texCoords.resize(static_cast<std::size_t>(count));
  if (indexCount != 0) indices.resize(static_cast<std::size_t>(indexCount));
  return true;
}

void MeshObject::FreeArrays() {
  positions = {};
  normals = {};
  texCoords = {};
  indices = {};
}

std::int32_t MeshObject::Build(std::int32_t count, const Vec3* filePositions,
                               std::int32_t indexCount, const std::uint16_t* indices16,
                               const Vec3* fileNormals, const Vec2* fileTexCoords) {
  AllocateArrays(count, indexCount);

  // Vertex data as in the file.
  for (std::int32_t i = 0; i < count; ++i) {
    positions[i] = filePositions[i];
    normals[i] = fileNormals[i];
  }
  if (fileTexCoords != nullptr) {
    for (std::int32_t i = 0; i < count; ++i) texCoords[i] = fileTexCoords[i];
  } else {
    texCoords = {};
  }

  // Index list, widened; a triangle that names a vertex the mesh does not have is left out so
  // that it can never reach the drawing.
  std::int32_t kept = 0;
  for (std::int32_t t = 0; t + 2 < indexCount; t += 3) {
    const std::int32_t a = indices16[t], b = indices16[t + 1], c = indices16[t + 2];
    if (a >= count || b >= count || c >= count) continue;
    indices[kept++] = a;
    indices[kept++] = b;
    indices[kept++] = c;
  }
  indices.resize(static_cast<std::size_t>(kept));

  drawStyle = 1;

  // Centre the positions on their mean and scale them by 5; a mesh without vertices keeps the
  // origin as its centre. Worked in double precision, so that finite file coordinates, however
  // large, never become infinite or NaN on the way.
  center = Vec3{};
  ComputeCenter();
  for (Vec3& p : positions) {
    p.Set(ScaledFromCenter(p.x, center.x), ScaledFromCenter(p.y, center.y),
          ScaledFromCenter(p.z, center.z));
  }
  return header.id;
}

bool MeshObject::ComputeCenter() {
  if (positions.empty()) return false;
  // A float sum of many large coordinates can overflow where their mean does not.
  double x = 0.0, y = 0.0, z = 0.0;
  for (const Vec3& p : positions) {
    x += p.x;
    y += p.y;
    z += p.z;
  }
  const double n = static_cast<double>(positions.size());
  center.Set(SaturatedFloat(x / n), SaturatedFloat(y / n), SaturatedFloat(z / n));
  return true;
}

std::int32_t MeshObject::SetTextureId(std::int32_t textureIdToSet) {
  const std::int32_t previous = textureId;
  textureId = textureIdToSet;
  return previous;
}

void MeshObject::SetVisible(bool visible) {
  flags = visible ? (flags | kVisible) : (flags & ~kVisible);
}

}  // namespace tovmar
