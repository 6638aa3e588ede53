// An OpenGL context that draws without a window or a display: the pictures go into a framebuffer
// of its own and are read back as pixels.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "mesh/ContextTextures.h"

namespace tovmar {

class OffscreenContext {
 public:
  // The largest picture side drawn, whatever the OpenGL implementation would allow: a picture of
  // 8192 x 8192 pixels takes 256 MiB of colour, 256 MiB of depth and 192 MiB read back.
  static constexpr int kMaxSide = 8192;

  // A compatibility-profile context, so that fixed-function drawing runs unchanged. Tries Mesa's
  // surfaceless platform, then every EGL device, then EGL's default display, then a hidden window
  // on the X display. Returns nullptr with `error` saying what each of them answered when none
  // gives a context.
  static std::unique_ptr<OffscreenContext> Create(std::string& error);

  // A context that shares the textures of `group` and its record of them, so that contexts
  // drawing the same pictures on several threads put each picture in once. Returns nullptr with
  // `error` set when the implementation refuses one.
  static std::unique_ptr<OffscreenContext> CreateSharing(OffscreenContext& group,
                                                         std::string& error);

  ~OffscreenContext();
  OffscreenContext(const OffscreenContext&) = delete;
  OffscreenContext& operator=(const OffscreenContext&) = delete;

  // Runs `draw` with this context current and a framebuffer of width x height pixels bound
  // (8 bits per colour channel and alpha, 24 depth bits), then puts the picture into `rgb` as
  // R, G, B bytes, top row first. All of it happens on a thread of its own, so a context that
  // the calling thread holds (a window's) neither stands in the way nor changes. Returns false
  // with `error` set, and `rgb` empty, when the size is outside 1..kMaxSide or beyond what the
  // OpenGL implementation draws, or the framebuffer cannot be made. Calls must not overlap.
  bool Render(int width, int height, const std::function<void()>& draw,
              std::vector<std::uint8_t>& rgb, std::string& error);

  // The textures this context holds, for drawing inside Render; shared with the contexts made
  // to share them.
  ContextTextures& Textures() { return *m_textures; }

 private:
  struct State;

  OffscreenContext(std::unique_ptr<State> state, std::shared_ptr<ContextTextures> textures);
  bool RenderOnThisThread(int width, int height, const std::function<void()>& draw,
                          std::vector<std::uint8_t>& rgb, std::string& error);

  std::unique_ptr<State> m_state;
  std::shared_ptr<ContextTextures> m_textures;
};

}  // namespace tovmar
