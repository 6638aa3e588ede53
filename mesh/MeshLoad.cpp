#include "mesh/MeshLoad.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>

#include "mesh/LlmFile.h"
#include "mesh/LlmMesh.h"
#include "mesh/SceneStore.h"

namespace tovmar {

namespace {

// Builds one mesh object from the record's arrays and gives it its name and visibility.
void AddMeshObject(const LlmMesh& mesh, SceneStore& store, const std::string& name, bool visible) {
  // The record's counts normally equal its array sizes; a record filled by other means is
  // clamped to what its arrays hold.
  const std::size_t count =
      std::min({std::size_t{mesh.numVertices}, mesh.coords.size(), mesh.normals.size()});
  std::size_t indexCount = std::min(std::size_t{mesh.numFaces} * 3, mesh.faces.size());
  indexCount -= indexCount % 3;
  const Vec2* texCoords = mesh.texCoords.size() >= count ? mesh.texCoords.data() : nullptr;

  MeshObject* object = store.FindMesh(store.CreateMesh());
  object->Build(static_cast<std::int32_t>(count), mesh.coords.data(),
                static_cast<std::int32_t>(indexCount), mesh.faces.data(), mesh.normals.data(),
                texCoords);
  object->header.name = name;
  object->SetVisible(visible);
}

}  // namespace

bool ReadCompleteMeshFile(const std::string& path, LlmMesh& mesh, MeshReadRefusal* why) {
  LlmMesh read;
  LlmReadReport report;
  const LlmFileStatus status = ReadLlmFile(path, read, report);
  if (status != LlmFileStatus::kRead || !report.IsMesh()) {
    if (why != nullptr) *why = MeshReadRefusal{status, report};
    return false;
  }
  mesh = std::move(read);
  return true;
}

void BuildMeshObjects(const LlmMesh& mesh, SceneStore& store, const std::string& name) {
  // Count once, then always remove the first object: the list empties from the front.
  const std::size_t existing = store.MeshCount();
  for (std::size_t i = 0; i < existing; ++i) store.RemoveMesh(store.GetMesh(0)->header.id);

  AddMeshObject(mesh, store, name, true);
  AddMeshObject(mesh, store, name, false);
}

}  // namespace tovmar
