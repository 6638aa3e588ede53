#include "render/RenderImage.h"

#include "mesh/SceneStore.h"
#include "render/DrawScene.h"
#include "render/OffscreenContext.h"

namespace tovmar {

namespace {

// Lets drawing in `store` keep its textures in the context's record while it lives.
class TexturesKeptIn {
 public:
  TexturesKeptIn(SceneStore& store, ContextTextures& textures)
      : m_store(store), m_previous(store.CurrentContextTextures()) {
    store.UseContextTextures(&textures);
  }
  ~TexturesKeptIn() { m_store.UseContextTextures(m_previous); }
  TexturesKeptIn(const TexturesKeptIn&) = delete;
  TexturesKeptIn& operator=(const TexturesKeptIn&) = delete;

 private:
  SceneStore& m_store;
  ContextTextures* m_previous;
};

}  // namespace

std::vector<std::uint8_t> RenderSceneToRgb(OffscreenContext& context, const ViewCamera& camera,
                                           int width, int height, SceneStore& store,
                                           std::string& error) {
  std::vector<std::uint8_t> rgb;
  RenderSceneInto(context, camera, width, height, store, rgb, error);
  return rgb;
}

bool RenderSceneInto(OffscreenContext& context, const ViewCamera& camera, int width, int height,
                     SceneStore& store, std::vector<std::uint8_t>& rgb, std::string& error) {
  return context.Render(
      width, height,
      [&] {
        const TexturesKeptIn kept(store, context.Textures());
        DrawScene(camera, width, height, store);
      },
      rgb, error);
}

}  // namespace tovmar
