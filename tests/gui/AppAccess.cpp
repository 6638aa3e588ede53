#include "tests/gui/AppAccess.h"

#include <cmath>
#include <numbers>

#include "base/FileBytes.h"
#include "tools/LlmWriter.h"

namespace tovmar {

wxString WriteBallMesh(const TestFolder& folder, const std::string& name, float radius,
                       float stretchZ) {
  constexpr int kRings = 16;
  constexpr int kSegments = 24;
  LlmMesh mesh;
  for (int r = 0; r <= kRings; ++r) {
    const double theta = std::numbers::pi * r / kRings;
    for (int s = 0; s <= kSegments; ++s) {
      const double phi = 2.0 * std::numbers::pi * s / kSegments;
      const Vec3 n{static_cast<float>(std::sin(theta) * std::cos(phi)),
                   static_cast<float>(std::sin(theta) * std::sin(phi)),
                   static_cast<float>(std::cos(theta))};
      mesh.coords.push_back(Vec3{n.x * radius, n.y * radius, n.z * radius * stretchZ});
      mesh.normals.push_back(n);
      mesh.binormals.push_back(Vec3{});
      mesh.texCoords.push_back(
          Vec2{static_cast<float>(s) / kSegments, 1.0f - static_cast<float>(r) / kRings});
    }
  }
  for (int r = 0; r < kRings; ++r) {
    for (int s = 0; s < kSegments; ++s) {
      const auto a = static_cast<std::uint16_t>(r * (kSegments + 1) + s);
      const auto b = static_cast<std::uint16_t>(a + kSegments + 1);
      mesh.faces.insert(mesh.faces.end(), {a, b, static_cast<std::uint16_t>(a + 1)});
      mesh.faces.insert(mesh.faces.end(),
                        {static_cast<std::uint16_t>(a + 1), b, static_cast<std::uint16_t>(b + 1)});
    }
  }
  mesh.numVertices = static_cast<std::uint16_t>(mesh.coords.size());
  mesh.numFaces = static_cast<std::uint16_t>(mesh.faces.size() / 3);
  MorphRecords belly;
  for (std::size_t i = 0; i < mesh.coords.size(); ++i) {
    if (mesh.normals[i].x > 0.3f) {
      MorphVertex v;
      v.vertexIndex = static_cast<std::int32_t>(i);
      v.coordDelta = Vec3{radius * 0.5f, 0.0f, 0.0f};
      belly.push_back(v);
    }
  }
  mesh.morphTargets.push_back(MakeMorphTarget("Big_Belly", std::move(belly)));
  const wxString path = folder.File(name);
  WriteFileBytes(path.utf8_string(), WriteLlm(mesh));
  return path;
}

wxString WriteTargetsMesh(const TestFolder& folder, const std::string& file,
                          const std::vector<std::string>& names) {
  LlmMesh mesh;
  mesh.coords = {{0.0f, 0.0f, 0.0f}, {0.0f, 0.1f, 0.0f}, {0.0f, 0.0f, 0.1f}};
  mesh.normals.assign(3, Vec3{1.0f, 0.0f, 0.0f});
  mesh.binormals.assign(3, Vec3{});
  mesh.texCoords.assign(3, Vec2{});
  mesh.faces = {0, 1, 2};
  mesh.numVertices = 3;
  mesh.numFaces = 1;
  for (const std::string& name : names) {
    MorphVertex record;
    record.coordDelta = Vec3{0.01f, 0.0f, 0.0f};
    mesh.morphTargets.push_back(MakeMorphTarget(name, {record}));
  }
  const wxString path = folder.File(file);
  WriteFileBytes(path.utf8_string(), WriteLlm(mesh));
  return path;
}

}  // namespace tovmar
