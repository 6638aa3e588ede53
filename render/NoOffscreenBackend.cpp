// Platforms without EGL or X: no picture can be drawn without a window, and tovmar-cli says so.
#include "render/OffscreenBackend.h"

namespace tovmar {

std::unique_ptr<OffscreenBackend> CreateEglBackend(std::string& why) {
  why = "not built on this platform";
  return nullptr;
}

std::unique_ptr<OffscreenBackend> CreateHiddenWindowBackend(std::string& why) {
  why = "not built on this platform";
  return nullptr;
}

}  // namespace tovmar
