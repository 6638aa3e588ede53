// The one owner of everything the 3D view draws: mesh objects, texture objects and the
// rendering contexts, one per (context id, width, height).
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "mesh/ContextTextures.h"
#include "mesh/MeshObject.h"
#include "mesh/RenderBinding.h"
#include "mesh/TextureObject.h"

namespace tovmar {

struct GLContextEntry {
  std::int32_t id = -1;
  RenderContext context = nullptr;
  std::int32_t width = 0;
  std::int32_t height = 0;
  // The textures the context holds; a context made in its place starts with none.
  std::shared_ptr<ContextTextures> textures = std::make_shared<ContextTextures>();
};

class SceneStore {
 public:
  // The process-wide store, which exists before the application starts.
  static SceneStore& Instance();

  // A store publishes itself as the instance while it lives (tests make their own).
  SceneStore();
  virtual ~SceneStore();
  SceneStore(const SceneStore&) = delete;
  SceneStore& operator=(const SceneStore&) = delete;

  std::int32_t CreateMesh();
  MeshObject* FindMesh(std::int32_t id);
  MeshObject* GetMesh(std::size_t index);
  std::size_t MeshCount() const { return meshes.size(); }
  // Remaining number of mesh objects, or -1 for an unknown id.
  std::int32_t RemoveMesh(std::int32_t id);

  std::int32_t CreateTexture();
  TextureObject* FindTexture(std::int32_t id);
  std::size_t TextureCount() const { return textures.size(); }
  const TextureObject* GetTexture(std::size_t index) const {
    return index < textures.size() ? textures[index].get() : nullptr;
  }
  // Remaining number of texture objects, or -1 for a negative, unknown or still used id.
  std::int32_t RemoveTexture(std::int32_t id);

  // The binding through which contexts are made; without one no context is ever created.
  void SetRenderBinding(RenderBinding* binding) { m_binding = binding; }

  // Makes the context for (contextId, width, height) current and returns the id to keep. A new
  // size or an unknown id creates a context without making it current: that paint draws nothing.
  std::int32_t MakeContextCurrent(std::int32_t contextId, std::int32_t width, std::int32_t height,
                                  RenderSurface surface);
  std::int32_t RegisterContext(std::int32_t contextId, std::int32_t width, std::int32_t height,
                               RenderContext newContext);
  // Makes no context current and deletes every context, as the store's teardown does first.
  void ReleaseContexts();
  const std::vector<GLContextEntry>& Contexts() const { return contexts; }

  // The textures of the context the store made current last, where drawing keeps each picture
  // for the next draws; null while none of its contexts is known to be current.
  ContextTextures* CurrentContextTextures() const { return m_currentTextures; }
  // For drawing in a context the store does not own (a picture drawn off screen): its record,
  // or null to put textures in for each draw only.
  void UseContextTextures(ContextTextures* record) { m_currentTextures = record; }

 private:
  PixelFormat pixelFormat;
  std::vector<GLContextEntry> contexts;
  std::vector<std::unique_ptr<TextureObject>> textures;
  std::vector<std::unique_ptr<MeshObject>> meshes;
  RenderBinding* m_binding = nullptr;
  ContextTextures* m_currentTextures = nullptr;
  SceneStore* m_previousInstance;
};

}  // namespace tovmar
