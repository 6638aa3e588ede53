#include "exchange/GltfMesh.h"

#include <algorithm>
#include <cmath>

#include "exchange/ExchangeError.h"

namespace tovmar {

namespace {

// What the description of one morph target (two accessors, its name and its weight) takes in
// memory while the file is written, with room to spare.
constexpr std::uint64_t kTargetTextBytes = 8192;

std::size_t VertexCount(const LlmMesh& mesh) {
  return std::min({std::size_t{mesh.numVertices}, mesh.coords.size(), mesh.normals.size()});
}

bool IsFinite(const Vec3& v) {
  return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

[[noreturn]] void ThrowNotFinite(const std::string& path, const std::string& what) {
  throw ExchangeError("'" + path + "': " + what +
                      " is not a finite number, which glTF cannot hold");
}

Vec3 Cross(const Vec3& a, const Vec3& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

// `v` scaled to unit length; false when it has no length or is not finite.
bool Normalize(Vec3& v) {
  const double length = std::sqrt(double{v.x} * v.x + double{v.y} * v.y + double{v.z} * v.z);
  if (!std::isfinite(length) || length < 1e-12) return false;
  v.x = static_cast<float>(v.x / length);
  v.y = static_cast<float>(v.y / length);
  v.z = static_cast<float>(v.z / length);
  return true;
}

// Unit normals; those that cannot be made unit take the area-weighted mean of the normals of the
// triangles around their vertex, or straight up.
void MakeUnitNormals(GltfMesh& out) {
  std::vector<std::size_t> repair;
  for (std::size_t i = 0; i < out.normals.size(); ++i) {
    if (!Normalize(out.normals[i])) repair.push_back(i);
  }
  if (repair.empty()) return;
  std::vector<Vec3> sums(out.normals.size());
  for (std::size_t t = 0; t + 2 < out.indices.size(); t += 3) {
    const Vec3& a = out.positions[out.indices[t]];
    Vec3 ab = out.positions[out.indices[t + 1]], ac = out.positions[out.indices[t + 2]];
    ab -= a;
    ac -= a;
    const Vec3 face = Cross(ab, ac);
    for (std::size_t k = 0; k < 3; ++k) sums[out.indices[t + k]] += face;
  }
  for (const std::size_t i : repair) {
    out.normals[i] = sums[i];
    if (!Normalize(out.normals[i])) out.normals[i] = {0.0f, 1.0f, 0.0f};
  }
}

}  // namespace

std::uint64_t GltfBytesNeeded(const LlmMesh& mesh) {
  const std::uint64_t vertices = VertexCount(mesh);
  const std::uint64_t indices = std::min(std::size_t{mesh.numFaces} * 3, mesh.faces.size());
  return vertices * (12 + 12 + 8) + indices * 4 +
         mesh.morphTargets.size() * (vertices * 24 + kTargetTextBytes);
}

void RefuseGltfPastBudget(std::string_view what, std::uint64_t bytes) {
  if (bytes <= kMaxGlbBytes) return;
  constexpr std::uint64_t kMegabyte = std::uint64_t{1} << 20;
  throw ExchangeError("export-gltf: " + std::string(what) +
                      " are too large for a glTF file: about " +
                      std::to_string((bytes + kMegabyte - 1) / kMegabyte) + " MB, more than the " +
                      std::to_string(kMaxGlbBytes / kMegabyte) + " MB export-gltf makes");
}

GltfMesh MakeGltfMesh(const LlmMesh& mesh, const std::string& name, const std::string& path) {
  GltfMesh out;
  out.name = name;
  const std::size_t count = VertexCount(mesh);

  // Whole triangles only.
  const std::size_t indexCount = std::min(std::size_t{mesh.numFaces} * 3, mesh.faces.size());
  for (std::size_t t = 0; t + 2 < indexCount; t += 3) {
    const std::uint32_t a = mesh.faces[t], b = mesh.faces[t + 1], c = mesh.faces[t + 2];
    if (a >= count || b >= count || c >= count) continue;
    out.indices.insert(out.indices.end(), {a, b, c});
  }
  if (out.indices.empty()) throw ExchangeError("'" + path + "' has no triangles to export");

  // Vertex data in glTF's axes; texture coordinates measured from the picture's top, as glTF
  // measures them, where the window's texture has v = 0 at the picture's bottom row.
  for (std::size_t i = 0; i < count; ++i) {
    if (!IsFinite(mesh.coords[i]))
      ThrowNotFinite(path, "the position of vertex " + std::to_string(i));
    out.positions.push_back(ToGltfAxes(mesh.coords[i]));
    out.normals.push_back(ToGltfAxes(mesh.normals[i]));
  }
  if (mesh.texCoords.size() >= count) {
    for (std::size_t i = 0; i < count; ++i) {
      const Vec2& t = mesh.texCoords[i];
      if (!std::isfinite(t.u) || !std::isfinite(t.v)) {
        ThrowNotFinite(path, "the texture coordinate of vertex " + std::to_string(i));
      }
      out.texCoords.push_back({t.u, 1.0f - t.v});
    }
  }
  MakeUnitNormals(out);

  // Each target's records summed per vertex.
  for (const MorphTarget& target : mesh.morphTargets) {
    GltfMorphTarget& morph = out.targets.emplace_back();
    morph.name = target.DisplayName();
    morph.weight = target.weight;
    if (!std::isfinite(morph.weight)) {
      ThrowNotFinite(path, "the weight of morph target '" + morph.name + "'");
    }
    morph.positionOffsets.assign(count, Vec3{});
    morph.normalOffsets.assign(count, Vec3{});
    for (const MorphVertex& record : target.vertices) {
      if (record.vertexIndex < 0 || static_cast<std::size_t>(record.vertexIndex) >= count) {
        ++out.droppedRecords;
        continue;
      }
      const auto k = static_cast<std::size_t>(record.vertexIndex);
      morph.positionOffsets[k] += ToGltfAxes(record.coordDelta);
      morph.normalOffsets[k] += ToGltfAxes(record.normalDelta);
    }
    for (std::size_t k = 0; k < count; ++k) {
      if (!IsFinite(morph.positionOffsets[k]) || !IsFinite(morph.normalOffsets[k])) {
        ThrowNotFinite(path, "the offset of vertex " + std::to_string(k) + " in morph target '" +
                                 morph.name + "'");
      }
    }
  }
  return out;
}

void BakeMorphs(GltfMesh& mesh) {
  for (GltfMorphTarget& target : mesh.targets) {
    const float w = target.weight;
    if (w != 0.0f) {
      for (std::size_t i = 0; i < mesh.positions.size(); ++i) {
        Vec3 moved = target.positionOffsets[i];
        moved *= w;
        mesh.positions[i] += moved;
        Vec3 turned = target.normalOffsets[i];
        turned *= w;
        mesh.normals[i] += turned;
      }
    }
    target.weight = 0.0f;
  }
  MakeUnitNormals(mesh);
}

}  // namespace tovmar
