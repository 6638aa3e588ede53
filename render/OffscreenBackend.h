// Where an offscreen picture's OpenGL context comes from: EGL without any display, or, where EGL
// cannot give one, a window that is never shown on the X display. Either way the picture itself
// is drawn into a framebuffer object, so the two differ only in how the context is made current.
#pragma once

#include <memory>
#include <string>

namespace tovmar {

class OffscreenBackend {
 public:
  virtual ~OffscreenBackend() = default;

  // Makes the context current on the calling thread; false with `error` set when it cannot be.
  virtual bool MakeCurrent(std::string& error) = 0;
  // Makes no context current on the calling thread.
  virtual void Release() = 0;
  // Frees what the window-system library keeps for the calling thread, before it ends.
  virtual void EndThread() {}
  // The address of an OpenGL entry point by name, or null.
  virtual void* ProcAddress(const char* name) = 0;
  // Another context of the same kind that shares this one's textures, so that a texture put
  // into either is drawn from both; null with `why` set when it cannot be made.
  virtual std::unique_ptr<OffscreenBackend> CreateSharing(std::string& why) = 0;
};

// A compatibility-profile context without a surface: Mesa's surfaceless platform, then every EGL
// device, then EGL's default display. Null with `why` saying what each answered when none gives
// one.
std::unique_ptr<OffscreenBackend> CreateEglBackend(std::string& why);

// A context on a window that is never mapped, on the X display that DISPLAY names. Null with
// `why` set when there is no such display or it offers no OpenGL.
std::unique_ptr<OffscreenBackend> CreateHiddenWindowBackend(std::string& why);

}  // namespace tovmar
