#include "render/RenderImage.h"

#include "render/DrawScene.h"
#include "render/OffscreenContext.h"

namespace tovmar {

std::vector<std::uint8_t> RenderSceneToRgb(OffscreenContext& context, const ViewCamera& camera,
                                           int width, int height, SceneStore& store,
                                           std::string& error) {
  std::vector<std::uint8_t> rgb;
  context.Render(
      width, height, [&] { DrawScene(camera, width, height, store); }, rgb, error);
  return rgb;
}

}  // namespace tovmar
