// One frame of the scene: background, camera, light and every mesh object of the store.
#pragma once

#include <cstdint>

#include "render/Camera.h"

namespace tovmar {

class SceneStore;

// Draws into the current OpenGL context for a client area of width x height pixels. Every
// piece of state the frame relies on is set again here. A zero-height area draws nothing.
void DrawScene(const ViewCamera& camera, int width, int height, SceneStore& store);

// The OpenGL primitive mode written into every drawn mesh object.
constexpr std::uint16_t kViewPrimitiveMode = 4;  // GL_TRIANGLES

}  // namespace tovmar
