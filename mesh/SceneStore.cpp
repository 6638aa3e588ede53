#include "mesh/SceneStore.h"

#include <algorithm>

namespace tovmar {

namespace {

SceneStore* g_pInstance = nullptr;

// Context ids are 1, 2, 3, ... for the life of the process.
std::int32_t g_nextContextId = 1;

// The store of the program, constructed before the application starts.
SceneStore g_programStore;

}  // namespace

SceneStore& SceneStore::Instance() {
  return *g_pInstance;
}

SceneStore::SceneStore() : m_previousInstance(g_pInstance) {
  g_pInstance = this;
}

SceneStore::~SceneStore() {
  // Contexts first, then mesh objects, then texture objects.
  ReleaseContexts();
  meshes.clear();
  textures.clear();
  if (g_pInstance == this) g_pInstance = m_previousInstance;
}

std::int32_t SceneStore::CreateMesh() {
  meshes.push_back(std::make_unique<MeshObject>());
  return meshes.back()->header.id;
}

MeshObject* SceneStore::FindMesh(std::int32_t id) {
  for (const auto& m : meshes) {
    if (m->header.id == id) return m.get();
  }
  return nullptr;
}

MeshObject* SceneStore::GetMesh(std::size_t index) {
  return index < meshes.size() ? meshes[index].get() : nullptr;
}

std::int32_t SceneStore::RemoveMesh(std::int32_t id) {
  const auto it = std::find_if(meshes.begin(), meshes.end(),
                               [id](const auto& m) { return m->header.id == id; });
  if (it == meshes.end()) return -1;
  const std::int32_t textureId = (*it)->textureId;
  const std::int32_t extraTextureId = (*it)->extraTextureId;
  meshes.erase(it);
  // Their textures go with them unless another mesh object still uses them.
  if (textureId != -1) RemoveTexture(textureId);
  if (extraTextureId != -1) RemoveTexture(extraTextureId);
  return static_cast<std::int32_t>(meshes.size());
}

std::int32_t SceneStore::CreateTexture() {
  textures.push_back(std::make_unique<TextureObject>());
  return textures.back()->header.id;
}

TextureObject* SceneStore::FindTexture(std::int32_t id) {
  for (const auto& t : textures) {
    if (t->header.id == id) return t.get();
  }
  return nullptr;
}

std::int32_t SceneStore::RemoveTexture(std::int32_t id) {
  if (id < 0) return -1;
  const bool inUse =
      std::any_of(meshes.begin(), meshes.end(), [id](const auto& m) { return m->textureId == id; });
  if (inUse) return -1;
  const auto it = std::find_if(textures.begin(), textures.end(),
                               [id](const auto& t) { return t->header.id == id; });
  if (it == textures.end()) return -1;
  textures.erase(it);
  return static_cast<std::int32_t>(textures.size());
}

std::int32_t SceneStore::MakeContextCurrent(std::int32_t contextId, std::int32_t width,
                                            std::int32_t height, RenderSurface surface) {
  for (const GLContextEntry& row : contexts) {
    if (row.id == contextId && row.width == width && row.height == height) {
      if (m_binding != nullptr) {
        m_binding->MakeCurrent(row.context, surface);
        m_currentTextures = row.textures.get();
      }
      return contextId;
    }
  }
  if (m_binding == nullptr) return contextId;
  return RegisterContext(contextId, width, height, m_binding->CreateContext(surface, pixelFormat));
}

std::int32_t SceneStore::RegisterContext(std::int32_t contextId, std::int32_t width,
                                         std::int32_t height, RenderContext newContext) {
  for (GLContextEntry& row : contexts) {
    if (row.id != contextId) continue;
    // A new size replaces the context under the same id.
    row.width = width;
    row.height = height;
    if (m_binding != nullptr) {
      m_binding->MakeNoneCurrent();
      m_binding->DeleteContext(row.context);
      m_currentTextures = nullptr;
    }
    if (m_currentTextures == row.textures.get()) m_currentTextures = nullptr;
    row.context = newContext;
    row.textures = std::make_shared<ContextTextures>();
    return contextId;
  }
  contexts.push_back(GLContextEntry{g_nextContextId++, newContext, width, height,
                                    std::make_shared<ContextTextures>()});
  return contexts.back().id;
}

void SceneStore::ReleaseContexts() {
  m_currentTextures = nullptr;
  if (m_binding != nullptr) {
    m_binding->MakeNoneCurrent();
    for (const GLContextEntry& row : contexts) m_binding->DeleteContext(row.context);
  }
  contexts.clear();
}

}  // namespace tovmar
