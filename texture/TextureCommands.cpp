#include "texture/TextureCommands.h"

namespace tovmar {

TextureObject* LoadMeshTexture(SceneStore& store, const std::string& path) {
  MeshObject* mesh = store.GetMesh(0);
  if (mesh == nullptr) return nullptr;

  const std::int32_t id = store.CreateTexture();
  TextureObject* texture = store.FindTexture(id);
  if (texture == nullptr || !texture->Load(path)) {
    store.RemoveTexture(id);
    return nullptr;
  }
  const std::int32_t previous = mesh->SetTextureId(id);
  store.RemoveTexture(previous);
  return texture;
}

TextureObject* RefreshMeshTexture(SceneStore& store) {
  MeshObject* mesh = store.GetMesh(0);
  if (mesh == nullptr) return nullptr;
  TextureObject* texture = store.FindTexture(mesh->GetTextureId());
  if (texture == nullptr || texture->sourcePath.empty()) return nullptr;

  // Load empties the source path first, so it gets its own copy.
  const std::string path = texture->sourcePath;
  texture->Load(path);
  return texture;
}

TextureObject* ReloadMeshTextureKeepingPicture(SceneStore& store, const std::string& path) {
  MeshObject* mesh = store.GetMesh(0);
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
