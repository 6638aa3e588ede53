#include "texture/TextureCommands.h"

namespace tovmar {

TextureObject* LoadMeshTexture(SceneStore& store, const std::string& path) {
  const std::size_t first = 0;
  return LoadMeshTexture(store, path, std::span(&first, 1));
}

TextureObject* LoadMeshTexture(SceneStore& store, const std::string& path,
                               std::span<const std::size_t> meshes) {
  if (meshes.empty()) return nullptr;
  for (const std::size_t index : meshes) {
    if (store.GetMesh(index) == nullptr) return nullptr;
  }

  const std::int32_t id = store.CreateTexture();
  TextureObject* texture = store.FindTexture(id);
  if (texture == nullptr || !texture->Load(path)) {
    store.RemoveTexture(id);
    return nullptr;
  }
  // Each previous texture leaves once no object wears it any more.
  for (const std::size_t index : meshes)
    store.RemoveTexture(store.GetMesh(index)->SetTextureId(id));
  return texture;
}

TextureObject* RefreshMeshTexture(SceneStore& store, std::size_t index) {
  MeshObject* mesh = store.GetMesh(index);
  if (mesh == nullptr) return nullptr;
  TextureObject* texture = store.FindTexture(mesh->GetTextureId());
  if (texture == nullptr || texture->sourcePath.empty()) return nullptr;

  // Load empties the source path first, so it gets its own copy.
  const std::string path = texture->sourcePath;
  texture->Load(path);
  return texture;
}

TextureObject* ReloadMeshTextureKeepingPicture(SceneStore& store, const std::string& path,
                                               std::size_t index) {
  MeshObject* mesh = store.GetMesh(index);
  if (mesh == nullptr) return nullptr;
  TextureObject* texture = store.FindTexture(mesh->GetTextureId());
  if (texture == nullptr) return nullptr;

  TextureObject fresh;
  if (!fresh.Load(path)) return nullptr;
  texture->TakePicture(fresh);
  texture->sourcePath = path;
  return texture;
}

}  // namespace tovmar
