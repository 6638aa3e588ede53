// A picture of the scene drawn without a window, exactly as the 3D view draws it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "render/Camera.h"

namespace tovmar {

class OffscreenContext;
class SceneStore;

// Draws every mesh object of `store` with `camera` into a width x height picture of `context`,
// through the same DrawScene as the 3D view's paint, and returns it as R, G, B bytes, top row
// first. Empty, with `error` set, when the picture cannot be drawn (see OffscreenContext::Render).
std::vector<std::uint8_t> RenderSceneToRgb(OffscreenContext& context, const ViewCamera& camera,
                                           int width, int height, SceneStore& store,
                                           std::string& error);

// The same into `rgb`, whose storage serves the next picture too; false with `error` set, and
// `rgb` empty, when the picture cannot be drawn.
bool RenderSceneInto(OffscreenContext& context, const ViewCamera& camera, int width, int height,
                     SceneStore& store, std::vector<std::uint8_t>& rgb, std::string& error);

}  // namespace tovmar
