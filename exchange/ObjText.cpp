#include "exchange/ObjText.h"

#include <charconv>
#include <cmath>
#include <initializer_list>
#include <string>
#include <vector>

#include "exchange/GltfMesh.h"
#include "mesh/LlmMesh.h"
#include "mesh/MeshObject.h"

namespace tovmar {

namespace {

// Nine significant digits: every float reads back as itself.
void AppendNumber(std::string& out, float value) {
  char buffer[32];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 9);
  out.append(buffer, result.ptr);
}

void AppendLine(std::string& out, const char* keyword, std::initializer_list<float> values) {
  out += keyword;
  for (const float v : values) {
    out += ' ';
    AppendNumber(out, v);
  }
  out += '\n';
}

// The file's positions, each moved by the weighted coordinate deltas of its records: with no
// weights, exactly the file's own values. Records that name no vertex of the mesh are left out, as
// the deformation leaves them out.
std::vector<Vec3> FilePositions(const LlmMesh& mesh) {
  std::vector<Vec3> positions(mesh.coords.begin(), mesh.coords.end());
  for (const MorphTarget& target : mesh.morphTargets) {
    const float w = target.weight;
    if (w == 0.0f) continue;
    for (const MorphVertex& r : target.vertices) {
      if (r.vertexIndex < 0 || static_cast<std::size_t>(r.vertexIndex) >= positions.size())
        continue;
      Vec3& p = positions[static_cast<std::size_t>(r.vertexIndex)];
      p.x += w * r.coordDelta.x;
      p.y += w * r.coordDelta.y;
      p.z += w * r.coordDelta.z;
    }
  }
  return positions;
}

// `v` scaled to unit length; a vector without length, or one too long to measure, as it is.
Vec3 Unit(const Vec3& v) {
  const double length = std::sqrt(double{v.x} * v.x + double{v.y} * v.y + double{v.z} * v.z);
  if (!(length > 0.0) || !std::isfinite(length)) return v;
  return {static_cast<float>(v.x / length), static_cast<float>(v.y / length),
          static_cast<float>(v.z / length)};
}

}  // namespace

std::string ObjText(const LlmMesh& mesh, const MeshObject& object, const ObjOptions& options) {
  const std::vector<Vec3> positions = FilePositions(mesh);
  const std::int32_t n = object.PositionCount();
  // An object built from another mesh than this one gives no text rather than a read past its end.
  if (positions.size() < object.positions.size() || object.NormalCount() < n) return {};
  const bool hasTexCoords = object.TexCoordCount() >= n;
  const auto axes = [&](const Vec3& v) { return options.yUp ? ToGltfAxes(v) : v; };
  std::string out = "# tovmar-cli export-obj\n";
  out += "# " + std::to_string(n) + " vertices, " + std::to_string(object.IndexCount() / 3) +
         " triangles\n";
  if (!options.materialLibrary.empty()) out += "mtllib " + options.materialLibrary + "\n";
  for (std::int32_t i = 0; i < n; ++i) {
    const Vec3 p = axes(positions[static_cast<std::size_t>(i)]);
    AppendLine(out, "v", {p.x, p.y, p.z});
  }
  if (hasTexCoords) {
    for (std::int32_t i = 0; i < n; ++i) {
      AppendLine(out, "vt", {object.texCoords[i].u, object.texCoords[i].v});
    }
  }
  for (std::int32_t i = 0; i < n; ++i) {
    const Vec3 normal = axes(Unit(object.normals[i]));
    AppendLine(out, "vn", {normal.x, normal.y, normal.z});
  }
  if (!options.material.empty()) out += "usemtl " + options.material + "\n";
  for (std::int32_t t = 0; t + 2 < object.IndexCount(); t += 3) {
    out += 'f';
    for (std::int32_t k = 0; k < 3; ++k) {
      const std::string index = std::to_string(object.indices[t + k] + 1);
      out += ' ' + index + (hasTexCoords ? "/" + index + "/" : "//") + index;
    }
    out += '\n';
  }
  return out;
}

}  // namespace tovmar
