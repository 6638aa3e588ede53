#include "avatar/AvatarScene.h"

#include <algorithm>
#include <cmath>

#include "mesh/ApplyMorphs.h"
#include "mesh/MeshLoad.h"
#include "mesh/SceneStore.h"

namespace tovmar {

namespace {

// The factor by which building a mesh object scales positions, as the window draws them.
constexpr float kPositionScale = 5.0f;

}  // namespace

std::vector<std::int32_t> AddAvatarPart(const AvatarPart& part, const std::string& name,
                                        SceneStore& store) {
  // The part is built and deformed in a store of its own, where it is mesh objects 0 and 1 as
  // the deformation expects, placed at the origin so that its positions stay the file's.
  SceneStore own;
  BuildMeshObjects(part.mesh, own, name);
  for (std::size_t k = 0; k < 2; ++k) {
    MeshObject& object = *own.GetMesh(k);
    const std::size_t count = std::min(object.positions.size(), part.mesh.coords.size());
    for (std::size_t i = 0; i < count; ++i) {
      Vec3 p = part.mesh.coords[i];
      p *= kPositionScale;
      object.positions[i] = p;
    }
  }
  ApplyMorphs(part.mesh, own, false);
  const MeshObject& source = *own.GetMesh(0);
  std::vector<std::int32_t> ids;
  for (const AvatarPlacement& placement : part.placements) {
    const std::int32_t id = store.CreateMesh();
    MeshObject& placed = *store.FindMesh(id);
    placed.header.name = source.header.name;
    placed.drawStyle = source.drawStyle;
    placed.texCoords = source.texCoords;
    placed.indices = source.indices;
    placed.flags = source.flags;
    for (const Vec3& q : source.positions) {
      placed.positions.push_back(placement.transform.TransformPoint(
          {q.x / kPositionScale, q.y / kPositionScale, q.z / kPositionScale}));
    }
    for (const Vec3& n : source.normals) {
      Vec3 turned = placement.transform.TransformDirection(n);
      const float length =
          std::sqrt(turned.x * turned.x + turned.y * turned.y + turned.z * turned.z);
      if (length > 0.0f && std::isfinite(length)) turned *= 1.0f / length;
      placed.normals.push_back(turned);
    }
    ids.push_back(id);
  }
  return ids;
}

void CentreAvatarFigure(SceneStore& store) {
  Vec3 low{INFINITY, INFINITY, INFINITY}, high{-INFINITY, -INFINITY, -INFINITY};
  for (std::size_t m = 0; m < store.MeshCount(); ++m) {
    for (const Vec3& p : store.GetMesh(m)->positions) {
      if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) continue;
      low = {std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z)};
      high = {std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z)};
    }
  }
  if (!(low.x <= high.x)) return;
  const Vec3 centre{(low.x + high.x) / 2, (low.y + high.y) / 2, (low.z + high.z) / 2};
  for (std::size_t m = 0; m < store.MeshCount(); ++m) {
    MeshObject& object = *store.GetMesh(m);
    for (Vec3& p : object.positions) {
      p -= centre;
      p *= kPositionScale;
    }
    object.center = centre;
  }
}

AvatarPartMeshes PlaceAvatar(const Avatar& avatar, SceneStore& store) {
  while (store.MeshCount() > 0) store.RemoveMesh(store.GetMesh(0)->header.id);
  AvatarPartMeshes meshes;
  for (const AvatarPart& part : avatar.parts) {
    const std::size_t first = store.MeshCount();
    const std::vector<std::int32_t> ids = AddAvatarPart(part, AvatarPartFileName(part.kind), store);
    std::vector<std::size_t>& indices = meshes.emplace_back();
    for (std::size_t i = 0; i < ids.size(); ++i) indices.push_back(first + i);
  }
  CentreAvatarFigure(store);
  return meshes;
}

void ReshapeAvatar(const Avatar& avatar, const AvatarPartMeshes& meshes, SceneStore& store) {
  SceneStore shaped;
  const AvatarPartMeshes fresh = PlaceAvatar(avatar, shaped);
  for (std::size_t p = 0; p < std::min(fresh.size(), meshes.size()); ++p) {
    for (std::size_t k = 0; k < std::min(fresh[p].size(), meshes[p].size()); ++k) {
      const MeshObject& from = *shaped.GetMesh(fresh[p][k]);
      MeshObject* to = store.GetMesh(meshes[p][k]);
      if (to == nullptr || to->positions.size() != from.positions.size() ||
          to->normals.size() != from.normals.size()) {
        continue;
      }
      to->positions = from.positions;
      to->normals = from.normals;
      to->center = from.center;
    }
  }
}

}  // namespace tovmar
