// Platforms without EGL or an X display: no picture can be drawn without a window, and
// tovmar-cli render says so.
#include "render/OffscreenContext.h"

#include <utility>

namespace tovmar {

struct OffscreenContext::State {};

OffscreenContext::OffscreenContext(std::unique_ptr<State> state,
                                   std::shared_ptr<ContextTextures> textures)
    : m_state(std::move(state)), m_textures(std::move(textures)) {}

OffscreenContext::~OffscreenContext() = default;

std::unique_ptr<OffscreenContext> OffscreenContext::Create(std::string& error) {
  error = "drawing without a display is not built on this platform";
  return nullptr;
}

std::unique_ptr<OffscreenContext> OffscreenContext::CreateSharing(OffscreenContext&,
                                                                  std::string& error) {
  error = "drawing without a display is not built on this platform";
  return nullptr;
}

bool OffscreenContext::Render(int, int, const std::function<void()>&,
                              std::vector<std::uint8_t>& rgb, std::string& error) {
  rgb.clear();
  error = "drawing without a display is not built on this platform";
  return false;
}

}  // namespace tovmar
