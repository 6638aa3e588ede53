// Drawing without a display into a framebuffer object, on a context from EGL or, failing that,
// from a hidden window.
//
// libglvnd lets a thread hold a context of only one window-system API at a time: while a GLX
// context is current, eglMakeCurrent fails. Each picture is therefore drawn on a short-lived
// thread of its own, which also leaves the caller's current context untouched.
#include "render/OffscreenContext.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <new>
#include <system_error>
#include <thread>

#include "render/ExtensionList.h"
#include "render/GL.h"
#include "render/OffscreenBackend.h"

// The framebuffer object names and entry point types, which OpenGL 1.1 lacks.
#include <GL/glext.h>

namespace tovmar {

namespace {

// The framebuffer object entry points: OpenGL 3.0's, or those of GL_EXT_framebuffer_object
// under their EXT names (same arguments, same enumerants).
struct FramebufferFunctions {
  PFNGLGENFRAMEBUFFERSPROC genFramebuffers = nullptr;
  PFNGLBINDFRAMEBUFFERPROC bindFramebuffer = nullptr;
  PFNGLGENRENDERBUFFERSPROC genRenderbuffers = nullptr;
  PFNGLBINDRENDERBUFFERPROC bindRenderbuffer = nullptr;
  PFNGLRENDERBUFFERSTORAGEPROC renderbufferStorage = nullptr;
  PFNGLFRAMEBUFFERRENDERBUFFERPROC framebufferRenderbuffer = nullptr;
  PFNGLCHECKFRAMEBUFFERSTATUSPROC checkFramebufferStatus = nullptr;
};

template <typename Function>
bool LoadFunction(OffscreenBackend& backend, Function& function, const std::string& name) {
  function = reinterpret_cast<Function>(backend.ProcAddress(name.c_str()));
  return function != nullptr;
}

// Finds the entry points in the current context; false with `error` set when it has none.
bool LoadFramebufferFunctions(OffscreenBackend& backend, FramebufferFunctions& f,
                              std::string& error) {
  const auto* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
  const auto* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
  const long major = version != nullptr ? std::strtol(version, nullptr, 10) : 0;
  std::string suffix;
  if (major < 3 && !HasExtension(extensions, "GL_ARB_framebuffer_object")) {
    if (!HasExtension(extensions, "GL_EXT_framebuffer_object")) {
      error = std::string("OpenGL ") + (version != nullptr ? version : "?") +
              " has no framebuffer objects";
      return false;
    }
    suffix = "EXT";
  }
  if (LoadFunction(backend, f.genFramebuffers, "glGenFramebuffers" + suffix) &&
      LoadFunction(backend, f.bindFramebuffer, "glBindFramebuffer" + suffix) &&
      LoadFunction(backend, f.genRenderbuffers, "glGenRenderbuffers" + suffix) &&
      LoadFunction(backend, f.bindRenderbuffer, "glBindRenderbuffer" + suffix) &&
      LoadFunction(backend, f.renderbufferStorage, "glRenderbufferStorage" + suffix) &&
      LoadFunction(backend, f.framebufferRenderbuffer, "glFramebufferRenderbuffer" + suffix) &&
      LoadFunction(backend, f.checkFramebufferStatus, "glCheckFramebufferStatus" + suffix)) {
    return true;
  }
  error = "the framebuffer object functions are missing";
  return false;
}

// Clears OpenGL's error flags, of which an implementation may hold several.
void ClearGlErrors() {
  int flags = 0;
  while (glGetError() != GL_NO_ERROR && ++flags < 16) continue;
}

// Puts `rgba`, width x height pixels whose rows run bottom-up, into `rgb` as R, G, B bytes whose
// rows run top-down.
void ToTopDownRgb(const std::vector<std::uint8_t>& rgba, int width, int height,
                  std::vector<std::uint8_t>& rgb) {
  const auto pixels = static_cast<std::size_t>(width);
  for (std::size_t y = 0; y < static_cast<std::size_t>(height); ++y) {
    const std::uint8_t* from =
        rgba.data() + (static_cast<std::size_t>(height) - 1 - y) * pixels * 4;
    std::uint8_t* to = rgb.data() + y * pixels * 3;
    for (std::size_t x = 0; x < pixels; ++x, from += 4, to += 3) {
      to[0] = from[0];
      to[1] = from[1];
      to[2] = from[2];
    }
  }
}

}  // namespace

struct OffscreenContext::State {
  std::unique_ptr<OffscreenBackend> backend;
  // Filled by the first picture, when the context is current for the first time.
  bool functionsLoaded = false;
  FramebufferFunctions gl;
  GLuint framebuffer = 0;
  GLuint color = 0;
  GLuint depth = 0;
  // The size the renderbuffers hold storage for; 0 x 0 before the first picture and after a
  // failed one.
  int width = 0;
  int height = 0;
  // The picture as read back, kept for the next one: reading four bytes a pixel is the
  // implementations' fast path, and the R, G, B bytes are taken from it.
  std::vector<std::uint8_t> rgba;

  // Binds the framebuffer, with storage for width x height made when the size changed.
  bool BindFramebuffer(int newWidth, int newHeight, std::string& error);
};

bool OffscreenContext::State::BindFramebuffer(int newWidth, int newHeight, std::string& error) {
  GLint maxRenderbuffer = 0;
  GLint maxViewport[2] = {0, 0};
  glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &maxRenderbuffer);
  glGetIntegerv(GL_MAX_VIEWPORT_DIMS, maxViewport);
  const int limit = std::min({maxRenderbuffer, maxViewport[0], maxViewport[1]});
  if (newWidth > limit || newHeight > limit) {
    error = "this OpenGL draws pictures of at most " + std::to_string(limit) + " pixels a side";
    return false;
  }

  if (framebuffer == 0) {
    gl.genFramebuffers(1, &framebuffer);
    gl.genRenderbuffers(1, &color);
    gl.genRenderbuffers(1, &depth);
  }
  gl.bindFramebuffer(GL_FRAMEBUFFER, framebuffer);
  if (newWidth == width && newHeight == height) return true;

  // New storage for the new size, attached again, then checked.
  width = 0;
  height = 0;
  ClearGlErrors();
  gl.bindRenderbuffer(GL_RENDERBUFFER, color);
  gl.renderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, newWidth, newHeight);
  gl.bindRenderbuffer(GL_RENDERBUFFER, depth);
  gl.renderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, newWidth, newHeight);
  gl.bindRenderbuffer(GL_RENDERBUFFER, 0);
  gl.framebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, color);
  gl.framebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depth);
  const GLenum failure = glGetError();
  const GLenum status = gl.checkFramebufferStatus(GL_FRAMEBUFFER);
  if (failure != GL_NO_ERROR || status != GL_FRAMEBUFFER_COMPLETE) {
    char text[96];
    std::snprintf(text, sizeof text, "cannot make a %dx%d framebuffer (OpenGL error 0x%04X)",
                  newWidth, newHeight, failure != GL_NO_ERROR ? failure : status);
    error = text;
    return false;
  }
  width = newWidth;
  height = newHeight;
  return true;
}

OffscreenContext::OffscreenContext(std::unique_ptr<State> state,
                                   std::shared_ptr<ContextTextures> textures)
    : m_state(std::move(state)), m_textures(std::move(textures)) {}

// The backend goes with the state: destroying its context frees the framebuffer too.
OffscreenContext::~OffscreenContext() = default;

std::unique_ptr<OffscreenContext> OffscreenContext::Create(std::string& error) {
  std::string eglWhy;
  std::string windowWhy;
  std::unique_ptr<OffscreenBackend> backend = CreateEglBackend(eglWhy);
  if (backend == nullptr) backend = CreateHiddenWindowBackend(windowWhy);
  if (backend == nullptr) {
    error = "no OpenGL without a display (" + eglWhy + "; hidden window: " + windowWhy + ")";
    return nullptr;
  }
  auto state = std::make_unique<State>();
  state->backend = std::move(backend);
  return std::unique_ptr<OffscreenContext>(
      new OffscreenContext(std::move(state), std::make_shared<ContextTextures>()));
}

std::unique_ptr<OffscreenContext> OffscreenContext::CreateSharing(OffscreenContext& group,
                                                                  std::string& error) {
  std::string why;
  std::unique_ptr<OffscreenBackend> backend = group.m_state->backend->CreateSharing(why);
  if (backend == nullptr) {
    error = "no second OpenGL context sharing the first one's textures (" + why + ")";
    return nullptr;
  }
  auto state = std::make_unique<State>();
  state->backend = std::move(backend);
  return std::unique_ptr<OffscreenContext>(
      new OffscreenContext(std::move(state), group.m_textures));
}

bool OffscreenContext::Render(int width, int height, const std::function<void()>& draw,
                              std::vector<std::uint8_t>& rgb, std::string& error) {
  rgb.clear();
  if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide) {
    error = "a picture is 1 to " + std::to_string(kMaxSide) + " pixels a side, not " +
            std::to_string(width) + "x" + std::to_string(height);
    return false;
  }
  bool drawn = false;
  try {
    std::thread worker([&] {
      drawn = RenderOnThisThread(width, height, draw, rgb, error);
      m_state->backend->EndThread();
    });
    worker.join();
  } catch (const std::system_error& e) {
    error = std::string("cannot start the drawing thread: ") + e.what();
    return false;
  }
  if (!drawn) rgb.clear();
  return drawn;
}

bool OffscreenContext::RenderOnThisThread(int width, int height, const std::function<void()>& draw,
                                          std::vector<std::uint8_t>& rgb, std::string& error) {
  State& s = *m_state;
  if (!s.backend->MakeCurrent(error)) return false;

  bool drawn = false;
  if (!s.functionsLoaded) s.functionsLoaded = LoadFramebufferFunctions(*s.backend, s.gl, error);
  if (s.functionsLoaded && s.BindFramebuffer(width, height, error)) {
    try {
      // Room for the picture first, so that a size too large for memory draws nothing.
      const std::size_t pixels = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
      rgb.resize(pixels * 3);
      s.rgba.resize(pixels * 4);
      glDrawBuffer(GL_COLOR_ATTACHMENT0);
      glReadBuffer(GL_COLOR_ATTACHMENT0);
      draw();
      glPixelStorei(GL_PACK_ALIGNMENT, 4);
      glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, s.rgba.data());
      ToTopDownRgb(s.rgba, width, height, rgb);
      drawn = true;
    } catch (const std::bad_alloc&) {
      error = "not enough memory for a " + std::to_string(width) + "x" + std::to_string(height) +
              " picture";
    } catch (const std::exception& e) {
      // Nothing may leave the thread: it would end the process.
      error = e.what();
    }
    s.gl.bindFramebuffer(GL_FRAMEBUFFER, 0);
  }

  s.backend->Release();
  return drawn;
}

}  // namespace tovmar
